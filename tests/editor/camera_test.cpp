#include <gtest/gtest.h>

#include "editor/classes.h"
#include "editor/edit_tools.h"
#include "gui/HelioWin.h"
#include "gui/LE_ScrollBars.h"
#include "platform/config_lock.h"
#include "tests/common/input_state.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

// Without a GUI root the editor view is the 776 x 604 window of 24 x 16 tiles.
constexpr int kW = 776;
constexpr int kH = 604;

class CameraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAllegro();
    UseConfig("[LevelDisplay]\n16 = 01000020\n");
    UseImage(BlankImage(0x1000));
    clear_keybuf();
    mouse_q = 0;
  }
  void TearDown() override { mouse_q = 0; }
  // One update with `held` keys down.
  static void ProcWith(CCamera& camera, std::initializer_list<int> held) {
    InputSnapshot in;
    for (int k : held) in.Hold(k);
    camera.Proc(in);
  }
  static std::string Saved(int level) {
    ConfigGuard guard;
    return get_config_string("LevelDisplay", LevelDisplayKey(level).c_str(), "");
  }
  InputStateGuard input_;  // the drag and key tests move the mouse and hold keys
  Installed<EditToolBox> tools_;  // the view asks the tool box whether the wheel is the current tool's
};

TEST_F(CameraTest, RestoresAndSavesThePosition) {
  CCamera camera(0x16);
  EXPECT_EQ(cam, &camera);
  EXPECT_EQ(camera.x, 256);  // high 16 bits
  EXPECT_EQ(camera.y, 32);   // low 16 bits
  camera.lvl.tile_w = 100;
  camera.lvl.tile_h = 64;
  camera.Proc();
  EXPECT_EQ(camera.x, 256);
  EXPECT_EQ(camera.y, 32);
  EXPECT_EQ(Saved(0x16), "01000020");
  ProcWith(camera, {KEY_RIGHT, KEY_DOWN});
  EXPECT_EQ(Saved(0x16), "01200040");
}

TEST_F(CameraTest, KeysAndClamping) {
  struct Case {
    const char* name;
    int tile_w, tile_h, x, y;
    std::vector<int> keys;
    int want_x, want_y;
  };
  const Case cases[] = {
      {"right", 100, 64, 0, 0, {KEY_RIGHT}, 32, 0},
      {"left and right cancel", 100, 64, 64, 0, {KEY_RIGHT, KEY_LEFT}, 64, 0},
      {"down", 100, 64, 0, 0, {KEY_DOWN}, 0, 32},
      {"up stops at 0", 100, 64, 0, 0, {KEY_UP}, 0, 0},
      {"home", 100, 64, 640, 320, {KEY_HOME}, 0, 0},
      {"end goes to the far corner", 100, 64, 0, 0, {KEY_END}, 3200 - kW + 20, 2048 - kH + 92},
      {"right edge", 100, 64, 3200 - kW + 20, 0, {KEY_RIGHT}, 3200 - kW + 20, 0},
      {"narrower than the view stays at 0", 10, 64, 0, 0, {KEY_RIGHT, KEY_END}, 0, 2048 - kH + 92},
      {"sixteen tiles high cannot scroll down", 100, 16, 0, 0, {KEY_DOWN}, 0, 0},
  };
  for (const Case& c : cases) {
    CCamera camera(0x20);
    camera.lvl.tile_w = c.tile_w;
    camera.lvl.tile_h = c.tile_h;
    camera.x = c.x;
    camera.y = c.y;
    InputSnapshot in;
    for (int k : c.keys) in.Hold(k);
    camera.Proc(in);
    EXPECT_EQ(camera.x, c.want_x) << c.name;
    EXPECT_EQ(camera.y, c.want_y) << c.name;
  }
}

TEST_F(CameraTest, ThumbPlacement) {
  CCamera camera(0x20);
  leveldata& lvl = camera.lvl;
  CHG_HScrollBar& bar = *camera.hscroll;
  // Track T = w - 39, visible extent V = w - 20, origin 14.
  lvl.tile_w = 100;
  bar.Proc(32 * lvl.tile_w, 0);
  EXPECT_FLOAT_EQ(bar.draw_loc_w, 756.0f / 3200.0f * 737.0f);
  EXPECT_FLOAT_EQ(bar.draw_loc_x, 14.0f);
  bar.Proc(32 * lvl.tile_w, 1600);
  EXPECT_FLOAT_EQ(bar.draw_loc_x, 1600.0f / 3200.0f * 737.0f + 14.0f);
  lvl.tile_w = 10;  // narrower than the view: the thumb fills the track
  bar.Proc(32 * lvl.tile_w, 0);
  EXPECT_FLOAT_EQ(bar.draw_loc_w, 737.0f);
  lvl.tile_w = 0;  // no extent: a full thumb, no division by zero
  bar.Proc(32 * lvl.tile_w, 0);
  EXPECT_FLOAT_EQ(bar.draw_loc_w, 737.0f);
  EXPECT_FLOAT_EQ(bar.draw_loc_x, 14.0f);

  CHG_VScrollBar& vbar = *camera.vscroll;
  lvl.tile_h = 64;  // T = h - 111, V = h - 92, origin 70
  vbar.Proc(32 * lvl.tile_h, 512);
  EXPECT_FLOAT_EQ(vbar.draw_loc_h, 512.0f / 2048.0f * 493.0f);
  EXPECT_FLOAT_EQ(vbar.draw_loc_y, 512.0f / 2048.0f * 493.0f + 70.0f);
}

TEST_F(CameraTest, ThumbDragMovesTheView) {
  CCamera camera(0x20);
  camera.lvl.tile_w = 100;
  camera.lvl.tile_h = 16;
  camera.Proc();  // places the thumbs at x = 0
  // Press on the thumb, move 10 pixels right, hold.
  mouse_x = 20;
  mouse_y = kH - 30;
  mouse_q = 1;
  camera.Proc();
  EXPECT_TRUE(camera.hscroll->scr_z);
  mouse_x = 30;
  mouse_q = 2;
  camera.Proc();
  EXPECT_EQ(camera.x, static_cast<int>(10.0f * (3200.0f / 737.0f)));  // 10 x total / (w - 39), truncated
  // Released far outside the window: the drag ends and the view stays.
  mouse_x = 5000;
  mouse_y = 5000;
  mouse_q = 3;
  camera.Proc();
  EXPECT_FALSE(camera.hscroll->scr_z);
  mouse_q = 0;
  const int x = camera.x;
  camera.Proc();
  EXPECT_EQ(camera.x, x);
}

TEST_F(CameraTest, ArrowButtonsDoNothing) {
  CCamera camera(0x20);
  camera.lvl.tile_w = 100;
  camera.Proc();
  for (int q : {1, 2, 3}) {  // a click on the left arrow button
    mouse_x = 8;
    mouse_y = kH - 28;
    mouse_q = q;
    camera.Proc();
  }
  EXPECT_EQ(camera.x, 0);
  EXPECT_EQ(camera.hscroll->LB_State, 0);
  EXPECT_EQ(camera.hscroll->RB_State, 0);
}

}  // namespace
