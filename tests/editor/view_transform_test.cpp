#include <gtest/gtest.h>

#include "editor/classes.h"
#include "editor/view_status.h"
#include "editor/view_transform.h"
#include "gui/HelioWin.h"
#include "level/rom_access.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

class ViewTransformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAllegro();
    UseConfig("[LevelDisplay]\n16 = 01000020\n");
    UseImage(BlankImage(0x1000));
    mouse_x = 0;
    mouse_y = 0;
  }
  void TearDown() override {
    SetViewZoom(100);
    mouse_x = 0;
    mouse_y = 0;
  }
};

// The view's top-left pixel (4, 60) shows the camera position; each window
// pixel is 100 / zoom level pixels, rounded toward minus infinity.
TEST_F(ViewTransformTest, WindowAndLevelPointsAtEveryZoom) {
  CCamera camera(0x16);  // camera at (256, 32)
  struct Case {
    int zoom, wx, wy, lx, ly;
  };
  const Case cases[] = {
      {100, 4, 60, 256, 32},  {100, 5, 61, 257, 33},  {100, 3, 59, 255, 31},  {100, 104, 160, 356, 132},
      {50, 4, 60, 256, 32},   {50, 5, 61, 258, 34},   {50, 3, 59, 254, 30},   {50, 104, 160, 456, 232},
      {25, 4, 60, 256, 32},   {25, 5, 61, 260, 36},   {25, 3, 59, 252, 28},   {25, 104, 160, 656, 432},
      {200, 4, 60, 256, 32},  {200, 5, 61, 256, 32},  {200, 6, 62, 257, 33},  {200, 3, 59, 255, 31},
      {200, 2, 58, 255, 31},  {200, 1, 57, 254, 30},  {200, 104, 160, 306, 82},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("zoom " + std::to_string(c.zoom) + " window " + std::to_string(c.wx) + "," + std::to_string(c.wy));
    SetViewZoom(c.zoom);
    EXPECT_EQ(ViewZoom(), c.zoom);
    int lx = 0, ly = 0;
    WindowToLevel(c.wx, c.wy, lx, ly);
    EXPECT_EQ(lx, c.lx);
    EXPECT_EQ(ly, c.ly);
    // Back again: the window pixel that shows the level point's block.
    int wx = 0, wy = 0;
    LevelToWindow(c.lx, c.ly, wx, wy);
    int back_x = 0, back_y = 0;
    WindowToLevel(wx, wy, back_x, back_y);
    EXPECT_EQ(back_x, c.lx);
    EXPECT_EQ(back_y, c.ly);
    if (c.zoom <= 100) {
      EXPECT_EQ(wx, c.wx);
      EXPECT_EQ(wy, c.wy);
    }
  }
  // The transform follows the camera.
  SetViewZoom(50);
  camera.x = 0;
  int lx = 0, ly = 0;
  WindowToLevel(14, 60, lx, ly);
  EXPECT_EQ(lx, 20);
  EXPECT_EQ(ly, 32);
}

TEST_F(ViewTransformTest, ZoomStepsStopAtTheEnds) {
  struct Case {
    int from, steps, to;
  };
  const Case cases[] = {{100, 1, 200}, {200, 1, 200}, {100, -1, 50}, {50, -1, 25}, {25, -1, 25},
                        {25, 3, 200},  {200, -5, 25}, {100, 0, 100}, {33, 0, 100}};
  for (const Case& c : cases) EXPECT_EQ(StepViewZoom(c.from, c.steps), c.to) << c.from << " " << c.steps;
  SetViewZoom(50);
  SetViewZoom(75);  // not a zoom of the view: ignored
  EXPECT_EQ(ViewZoom(), 50);
}

// The status line names the level point under the mouse and the map entry
// there, only while the mouse is over the level inside the view.
TEST_F(ViewTransformTest, StatusNamesThePointAndTheMapEntry) {
  std::vector<unsigned char> image = BlankImage(0x1000);
  constexpr int kMap = 0x100;
  // Horizontal level: column 9, row 2 is entry 16 * 9 + 2.
  PutWord(image, kMap + 2 * (16 * 9 + 2), 0x4005);
  PutWord(image, kMap + 2 * (16 * 9 + 3), 0xC123);
  UseImage(image);
  CCamera camera(0x16);
  camera.lvl.tilemap = kMap;
  camera.lvl.sequencing = 0;
  camera.lvl.tile_w = 20;
  camera.lvl.tile_h = 16;
  // Level (300, 90): window (4 + 300 - 256, 60 + 90 - 32).
  mouse_x = 48;
  mouse_y = 118;
  EXPECT_EQ(ViewStatusText(), "X 0x012C  Y 0x005A  Tile 0x0005 H-");
  mouse_y = 118 + 32;
  EXPECT_EQ(ViewStatusText(), "X 0x012C  Y 0x007A  Tile 0x0123 HV");
  // At 50 % the same window pixel shows level (256 + 2 * 44, 32 + 2 * 58).
  SetViewZoom(50);
  mouse_y = 118;
  EXPECT_EQ(ViewStatusText(), "X 0x0158  Y 0x0094  Tile 0x0000 --");
  SetViewZoom(100);
  // Outside the view area (toolbar, scroll bar) or the level: nothing.
  struct Case {
    int mx, my;
  };
  const Case away[] = {{3, 100}, {48, 59}, {776 - 16, 100}, {48, 604 - 32}, {4 + 20 * 32 - 256, 100}};
  for (const Case& c : away) {
    mouse_x = c.mx;
    mouse_y = c.my;
    EXPECT_EQ(ViewStatusText(), "") << c.mx << "," << c.my;
  }
  // A vertical level stores its map by rows of 64.
  camera.lvl.sequencing = 1;
  PutWord(image, kMap + 2 * (64 * 2 + 9), 0x8007);
  UseImage(image);
  mouse_x = 48;
  mouse_y = 118;
  EXPECT_EQ(ViewStatusText(), "X 0x012C  Y 0x005A  Tile 0x0007 -V");
}

}  // namespace
