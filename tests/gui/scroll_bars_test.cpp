#include <gtest/gtest.h>

#include "gui/HelioWin.h"
#include "gui/LE_ScrollBars.h"
#include "gui/view_frame.h"
#include "shell/base/variables.h"
#include "tests/common/headless_allegro.h"

namespace {

// The bars on their own, as any view hands them a level extent and a position:
// without a GUI root the window is 776 x 604, so the horizontal track is
// 776 - 39 = 737 pixels from x = 14 on the row at y = 604 - 32, and the vertical
// one 604 - 111 = 493 pixels from y = 70 in the column at x = 776 - 16.
class ScrollBarsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(StartHeadlessAllegro()); }
  void SetUp() override {
    saved_mui = mui;
    mui = nullptr;
    saved_x = mouse_x;
    saved_y = mouse_y;
    mouse_q = 0;
  }
  void TearDown() override {
    mui = saved_mui;
    mouse_x = saved_x;
    mouse_y = saved_y;
    mouse_q = 0;
  }
  // One update of a view with the mouse at (x, y) in button state q.
  template <typename Bar>
  static void Step(Bar& bar, int extent, int& position, int x, int y, int q) {
    mouse_x = x;
    mouse_y = y;
    mouse_q = q;
    bar.PreProc(extent, position);
    bar.Proc(extent, position);
  }

  CHelioGUI* saved_mui = nullptr;
  int saved_x = 0, saved_y = 0;
};

TEST_F(ScrollBarsTest, ADragMovesThePositionTheViewHandsIn) {
  ASSERT_EQ(EditorViewFrame().w, 776);
  ASSERT_EQ(EditorViewFrame().h, 604);
  CHG_HScrollBar h;
  int x = 0;
  Step(h, 3200, x, 0, 0, 0);  // places the thumb at the track's start
  Step(h, 3200, x, 20, 575, 1);
  EXPECT_TRUE(h.scr_z);
  Step(h, 3200, x, 30, 575, 2);
  EXPECT_EQ(x, static_cast<int>(10.0f * (3200.0f / 737.0f)));
  Step(h, 3200, x, 5000, 5000, 3);  // released far away: the drag ends there
  EXPECT_FALSE(h.scr_z);
  const int kept = x;
  Step(h, 3200, x, 40, 575, 0);
  EXPECT_EQ(x, kept);

  CHG_VScrollBar v;
  int y = 0;
  Step(v, 2048, y, 0, 0, 0);
  Step(v, 2048, y, 765, 75, 1);
  EXPECT_TRUE(v.scr_z);
  Step(v, 2048, y, 765, 95, 2);
  EXPECT_EQ(y, static_cast<int>(20.0f * (2048.0f / 493.0f)));
}

TEST_F(ScrollBarsTest, APressBesideTheThumbLeavesThePosition) {
  CHG_HScrollBar h;
  int x = 0;
  Step(h, 3200, x, 0, 0, 0);
  Step(h, 3200, x, 400, 575, 1);  // on the track, right of the thumb
  Step(h, 3200, x, 420, 575, 2);
  EXPECT_FALSE(h.scr_z);
  EXPECT_EQ(x, 0);
}

}  // namespace
