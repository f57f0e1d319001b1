#include <gtest/gtest.h>

#include <vector>

#include "shell/base/functions.h"
#include "shell/base/variables.h"

namespace {

std::vector<int> shown;
void RecordShape(int index) { shown.push_back(index); }

class CursorShapesTest : public ::testing::Test {
 protected:
  void SetUp() override { shown.clear(); }
  void TearDown() override {
    RegisterCursorShapes(nullptr);
    MC_CURRENT = 0;
  }
};

// The widgets ask for a shape by number; the registered owner of the pictures
// shows it, and the number is recorded either way.
TEST_F(CursorShapesTest, RegisteredShapesShowEveryRequestUntilRemoved) {
  RegisterCursorShapes(RecordShape);
  SetMouseCursorBitmap(1);
  SetMouseCursorBitmap(4);
  EXPECT_EQ(shown, (std::vector<int>{1, 4}));
  EXPECT_EQ(MC_CURRENT, 4);
  RegisterCursorShapes(nullptr);
  SetMouseCursorBitmap(2);
  EXPECT_EQ(shown, (std::vector<int>{1, 4}));
  EXPECT_EQ(MC_CURRENT, 2);
}

}  // namespace
