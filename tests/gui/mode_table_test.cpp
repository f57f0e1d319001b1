#include <gtest/gtest.h>

#include "gui/mode_table.h"

namespace {

// Identifiers no feature registers, so the test leaves the program's own modes alone.
constexpr Mode kFirst = static_cast<Mode>(0x7E), kSecond = static_cast<Mode>(0x7F);

void ModeA() {}
void ModeB() {}

class ModeTableTest : public ::testing::Test {
 protected:
  void TearDown() override {
    RegisterMode(kFirst, nullptr);
    RegisterMode(kSecond, nullptr);
  }
};

TEST_F(ModeTableTest, RegisteringReplacesAndNullRemoves) {
  EXPECT_EQ(FindModeFunction(kFirst), nullptr);
  RegisterMode(kFirst, ModeA);
  RegisterMode(kSecond, ModeB);
  EXPECT_EQ(FindModeFunction(kFirst), ModeA);
  EXPECT_EQ(FindModeFunction(kSecond), ModeB);
  RegisterMode(kFirst, ModeB);
  EXPECT_EQ(FindModeFunction(kFirst), ModeB);
  RegisterMode(kFirst, nullptr);
  EXPECT_EQ(FindModeFunction(kFirst), nullptr);
  EXPECT_EQ(FindModeFunction(kSecond), ModeB);
}

}  // namespace
