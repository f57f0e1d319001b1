#include <gtest/gtest.h>

#include <vector>

#include "platform/window.h"

namespace {

// With a window scale the program's numbers are screen pixels divided by it:
// what it reads is divided (rounded toward minus infinity), what it sets multiplied.
class PlatformWindowScaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen.screen_w = 2561;
    screen.screen_h = 2048;
    screen.taskbar_h = 25;
    PlatformUseHeadlessWindow(screen);
  }
  void TearDown() override {
    PlatformSetWindowScale(1);
    PlatformUseX11Window();
  }
  HeadlessWindow screen;
};

TEST_F(PlatformWindowScaleTest, ReadsDivideAndWritesMultiply) {
  PlatformSetWindowScale(2);
  EXPECT_EQ(PlatformWindowScale(), 2);
  PlatformMoveWindow(10, 20, 100, 50);
  EXPECT_EQ(screen.x, 20);
  EXPECT_EQ(screen.y, 40);
  EXPECT_EQ(screen.w, 200);
  EXPECT_EQ(screen.h, 100);
  screen.x = 21;  // moved by someone else to an odd place
  screen.y = -3;
  int l = 0, t = 0, r = 0, b = 0;
  ASSERT_TRUE(PlatformGetWindowRect(l, t, r, b));
  EXPECT_EQ(l, 10);
  EXPECT_EQ(t, -2);
  EXPECT_EQ(r, 110);
  EXPECT_EQ(b, 48);
  struct Cursor {
    int sx, sy, x, y;
  };
  for (const Cursor c : {Cursor{41, 40, 20, 20}, Cursor{0, 1, 0, 0}, Cursor{-1, -2, -1, -1}, Cursor{2559, 2047, 1279, 1023}}) {
    screen.cursor_x = c.sx;
    screen.cursor_y = c.sy;
    int x = 0, y = 0;
    ASSERT_TRUE(PlatformGetCursorPos(x, y));
    EXPECT_EQ(x, c.x) << c.sx;
    EXPECT_EQ(y, c.y) << c.sy;
  }
  int w = 0, h = 0;
  PlatformScreenSize(w, h);
  EXPECT_EQ(w, 1280);
  EXPECT_EQ(h, 1024);
  // A panel strip of 25 screen rows covers 13 of the program's rows.
  EXPECT_EQ(PlatformTaskBarHeight(), 13);
  // The outline's cut corners are cut as 2 x 2 blocks.
  PlatformSetWindowShape(100, 50, {{0, 0, 4, 1}, {99, 49, 100, 50}});
  EXPECT_EQ(screen.shape_w, 200);
  EXPECT_EQ(screen.shape_h, 100);
  ASSERT_EQ(screen.shape_removed.size(), 2u);
  EXPECT_EQ(screen.shape_removed[0].right, 8);
  EXPECT_EQ(screen.shape_removed[0].bottom, 2);
  EXPECT_EQ(screen.shape_removed[1].left, 198);
  EXPECT_EQ(screen.shape_removed[1].top, 98);
}

TEST_F(PlatformWindowScaleTest, OnlyScalesOneToFour) {
  for (int bad : {0, 5, -1}) {
    PlatformSetWindowScale(3);
    PlatformSetWindowScale(bad);
    EXPECT_EQ(PlatformWindowScale(), 3) << bad;
  }
  PlatformSetWindowScale(1);
  PlatformMoveWindow(7, 8, 9, 10);
  EXPECT_EQ(screen.x, 7);
  EXPECT_EQ(screen.w, 9);
}

}  // namespace
