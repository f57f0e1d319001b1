#include <gtest/gtest.h>

#include <algorithm>

#include "demo/demo_image.h"
#include "editor/classes.h"
#include "editor/edit_tools.h"
#include "editor/status_message.h"
#include "editor/view_status.h"
#include "editor/view_transform.h"
#include "gui/HelioWin.h"
#include "gui/LE_ScrollBars.h"
#include "level/rom_access.h"
#include "tests/common/input_state.h"
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
    reader_.Take(ViewFrame());  // the wheel's notches count from here
  }
  void TearDown() override {
    for (int k = 0; k < KEY_MAX; ++k) key[k] = 0;
    SetViewZoom(100);
    mouse_x = 0;
    mouse_y = 0;
  }
  // One camera update with the input Allegro's globals hold now, as the level editor runs it.
  void Update(CCamera& camera) { camera.Proc(reader_.Take(camera.frame)); }
  // One camera update after the wheel turned `notches` (positive: away from
  // the user, up) with the keys `held` down.
  void TurnWheel(CCamera& camera, int notches, std::initializer_list<int> held) {
    for (int k : held) key[k] = 1;
    mouse_z = mouse_z + notches;
    Update(camera);
    for (int k : held) key[k] = 0;
  }
  InputStateGuard input_;  // the wheel tests turn mouse_z and mouse_w
  Installed<EditToolBox> tools_;  // the view asks the tool box whether the wheel is the current tool's
  InputReader reader_;
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

// The wheel moves 32 level pixels a notch (Shift: sideways), clamped as the
// keys are; Ctrl+wheel zooms around the level point under the mouse; the
// clamp allows the share of the level a zoom shows.
TEST_F(ViewTransformTest, WheelScrollsAndZoomsAroundTheMouse) {
  CCamera camera(0x16);  // (256, 32)
  camera.lvl.tile_w = 100;
  camera.lvl.tile_h = 64;
  mouse_x = 204;  // view pixel (200, 100)
  mouse_y = 160;
  TurnWheel(camera, -3, {});
  EXPECT_EQ(camera.y, 32 + 96);
  TurnWheel(camera, 1, {KEY_LSHIFT});
  EXPECT_EQ(camera.x, 256 - 32);
  TurnWheel(camera, -2, {KEY_RSHIFT});
  EXPECT_EQ(camera.x, 256 + 32);
  TurnWheel(camera, 50, {});
  EXPECT_EQ(camera.y, 0);
  // Zoom in: level point (288 + 200, 0 + 100) stays under the mouse.
  TurnWheel(camera, 1, {KEY_LCONTROL});
  EXPECT_EQ(ViewZoom(), 200);
  EXPECT_EQ(camera.x, 488 - 100);
  EXPECT_EQ(camera.y, 100 - 50);
  // Two steps out at once, to 50 %: (488 - 400, 100 - 200), clamped to y 0.
  TurnWheel(camera, -2, {KEY_RCONTROL});
  EXPECT_EQ(ViewZoom(), 50);
  EXPECT_EQ(camera.x, 88);
  EXPECT_EQ(camera.y, 0);
  // End: the far corner a 50 % view of 756 x 512 window pixels allows.
  key[KEY_END] = 1;
  Update(camera);
  key[KEY_END] = 0;
  EXPECT_EQ(camera.x, 3200 - 1512);
  EXPECT_EQ(camera.y, 2048 - 1024);
  // At 25 % the view shows 3024 of the level's 3200 columns: the anchored
  // x (2088 - 800) is clamped to 176, and the 2048 rows fit from y 0.
  TurnWheel(camera, -1, {KEY_LCONTROL});
  EXPECT_EQ(ViewZoom(), 25);
  EXPECT_EQ(camera.x, 3200 - 3024);
  EXPECT_EQ(camera.y, 0);
  // A notch past the ends changes nothing.
  TurnWheel(camera, -1, {KEY_LCONTROL});
  EXPECT_EQ(ViewZoom(), 25);
}

// The thumbs show the share of the level the zoomed view shows and where.
TEST_F(ViewTransformTest, ScrollBarThumbsFollowTheZoom) {
  CCamera camera(0x16);
  camera.lvl.tile_w = 100;  // 3200 pixels
  camera.lvl.tile_h = 64;   // 2048 pixels
  struct Case {
    int zoom;
    float shown_w, shown_h;  // level pixels the view shows
  };
  for (const Case c : {Case{100, 756, 512}, Case{50, 1512, 1024}, Case{25, 3024, 2048}, Case{200, 378, 256}}) {
    SetViewZoom(c.zoom);
    camera.x = 160;
    camera.y = 0;
    camera.Proc();
    ASSERT_EQ(camera.x, 160) << c.zoom;
    // Track lengths w - 39 and h - 111; the vertical thumb never exceeds its track.
    EXPECT_FLOAT_EQ(camera.hscroll->draw_loc_w, c.shown_w / 3200.0f * 737.0f) << c.zoom;
    EXPECT_FLOAT_EQ(camera.hscroll->draw_loc_x, 160.0f / 3200.0f * 737.0f + 14.0f) << c.zoom;
    EXPECT_FLOAT_EQ(camera.vscroll->draw_loc_h, std::min(c.shown_h / 2048.0f, 1.0f) * 493.0f) << c.zoom;
  }
}

// Ctrl+Plus and Ctrl+Minus step once per press, Ctrl+0 returns to 100 %;
// without Ctrl the keys do nothing to the zoom.
TEST_F(ViewTransformTest, ZoomKeysStepOncePerPress) {
  CCamera camera(0x16);
  camera.lvl.tile_w = 100;
  camera.lvl.tile_h = 64;
  struct Step {
    std::initializer_list<int> held;
    int updates, zoom;
  };
  const Step steps[] = {
      {{KEY_LCONTROL, KEY_EQUALS}, 5, 200}, {{KEY_LCONTROL, KEY_MINUS}, 3, 100}, {{KEY_RCONTROL, KEY_MINUS_PAD}, 1, 50},
      {{KEY_MINUS}, 2, 50},                 {{KEY_LCONTROL, KEY_MINUS}, 1, 25},  {{KEY_LCONTROL, KEY_PLUS_PAD}, 1, 50},
      {{KEY_LCONTROL, KEY_0}, 4, 100},      {{KEY_EQUALS}, 1, 100},
  };
  for (const Step& step : steps) {
    for (int k : step.held) key[k] = 1;
    for (int i = 0; i < step.updates; ++i) Update(camera);
    for (int k : step.held) key[k] = 0;
    Update(camera);
    EXPECT_EQ(ViewZoom(), step.zoom);
  }
}

// A zoomed view shows the level picture of an export scaled by whole pixels
// from the camera position: window pixel (4 + i, 60 + j) shows level pixel
// (x + i * 100 / zoom, y + j * 100 / zoom), rounded down; nothing is drawn
// outside the view area or beyond the level.
TEST_F(ViewTransformTest, ZoomedViewShowsTheExportPictureScaled) {
  const DemoImage demo = BuildDemoImage(1);
  UseConfig(demo.config);
  UseImage(demo.rom);
  constexpr int kLevel = 0x17;  // 64 x 16 tiles
  BITMAP* level = create_bitmap_ex(32, 64 * 32, 16 * 32);
  {
    CCamera whole(kLevel, WholeLevelPicture{});
    whole.Proc();
    clear_to_color(level, 0);
    whole.DrawPicture(level);
  }
  constexpr int kUntouched = 0x123456;
  BITMAP* window = create_bitmap_ex(32, 776, 604);
  mouse_x = 5000;  // no hover
  mouse_y = 5000;
  struct Case {
    int zoom, x, y;
  };
  // The level (2048 x 512) ends inside the view at 25 %, and at 50 % from x 535.
  // Where the level left of the camera is not a whole number of zoomed pixels
  // (x 1 and 3 at 25 %, x 1537 at 50 %; y 1 to 3), it ends partway through the
  // last zoomed pixel, whose column and row still show the level's last pixels.
  const Case cases[] = {{25, 0, 0},    {25, 1, 1},      {25, 3, 2},        {50, 301, 0},
                        {50, 536, 0},  {50, 1537, 3},   {200, 1001, 77},   {200, 1670, 256}};
  for (const Case c : cases) {
    SCOPED_TRACE("zoom " + std::to_string(c.zoom) + " at " + std::to_string(c.x) + "," + std::to_string(c.y));
    SetViewZoom(c.zoom);
    CCamera camera(kLevel);
    camera.x = c.x;
    camera.y = c.y;
    clear_to_color(window, kUntouched);
    camera.DrawZoomed(window);
    int wrong = 0;
    for (int wy = 0; wy < 604; ++wy)
      for (int wx = 0; wx < 776; ++wx) {
        int want = kUntouched;
        if (wx >= 4 && wx < 776 - 16 && wy >= 60 && wy < 604 - 32) {
          const int lx = c.x + (wx - 4) * 100 / c.zoom, ly = c.y + (wy - 60) * 100 / c.zoom;
          if (lx < level->w && ly < level->h) want = getpixel(level, lx, ly);
        }
        if (getpixel(window, wx, wy) != want && wrong++ < 3) ADD_FAILURE() << "window " << wx << "," << wy;
      }
    EXPECT_EQ(wrong, 0);
  }
  destroy_bitmap(window);
  destroy_bitmap(level);
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
  camera.input = ReadEditInput(camera);  // an update takes the mouse
  EXPECT_EQ(ViewStatusText(), "X 0x012C  Y 0x005A  Tile 0x0005 H-");
  mouse_y = 118 + 32;
  camera.input = ReadEditInput(camera);  // an update takes the mouse
  EXPECT_EQ(ViewStatusText(), "X 0x012C  Y 0x007A  Tile 0x0123 HV");
  // At 50 % the same window pixel shows level (256 + 2 * 44, 32 + 2 * 58).
  SetViewZoom(50);
  mouse_y = 118;
  camera.input = ReadEditInput(camera);  // an update takes the mouse
  EXPECT_EQ(ViewStatusText(), "X 0x0158  Y 0x0094  Tile 0x0000 --");
  // The status line leads with the zoom away from 100 %, and only then.
  ClearStatusMessage();
  EXPECT_EQ(StatusLineMiddle().rfind("50 %    X 0x0158", 0), 0u) << StatusLineMiddle();
  SetViewZoom(200);
  EXPECT_EQ(StatusLineMiddle().rfind("200 %", 0), 0u) << StatusLineMiddle();
  SetViewZoom(100);
  EXPECT_EQ(StatusLineMiddle().rfind("X 0x012C", 0), 0u) << StatusLineMiddle();
  // Outside the view area (toolbar, scroll bar) or the level: nothing.
  struct Case {
    int mx, my;
  };
  const Case away[] = {{3, 100}, {48, 59}, {776 - 16, 100}, {48, 604 - 32}, {4 + 20 * 32 - 256, 100}};
  for (const Case& c : away) {
    mouse_x = c.mx;
    mouse_y = c.my;
    camera.input = ReadEditInput(camera);  // an update takes the mouse
    EXPECT_EQ(ViewStatusText(), "") << c.mx << "," << c.my;
  }
  // A vertical level stores its map by rows of 64.
  camera.lvl.sequencing = 1;
  PutWord(image, kMap + 2 * (64 * 2 + 9), 0x8007);
  UseImage(image);
  mouse_x = 48;
  mouse_y = 118;
  camera.input = ReadEditInput(camera);  // an update takes the mouse
  EXPECT_EQ(ViewStatusText(), "X 0x012C  Y 0x005A  Tile 0x0007 -V");
}

}  // namespace
