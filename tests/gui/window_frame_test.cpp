#include <gtest/gtest.h>

#include "gui/HelioWin.h"
#include "gui/StatusbarMain.h"
#include "gui/WindowCaptionItems.h"
#include "gui/WindowFrame.h"
#include "gui/commands.h"
#include "platform/config_lock.h"
#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "shell/runtime/frame.h"
#include "platform/allegro_include.h"
#include "shell/base/variables.h"
#include "tests/common/headless_allegro.h"
#include "tests/common/input_state.h"

namespace {

// A GUI root on a scripted window: the cursor is moved in screen pixels and the
// window-relative mouse position follows the (fake) window, as on the desktop.
class WindowFrameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(StartHeadlessAllegro()); }
  void SetUp() override {
    {
      ConfigGuard guard;
      set_config_data("", 0);
    }
    window = HeadlessWindow{};
    window.screen_w = 1280;
    window.screen_h = 1024;
    window.x = 380;
    window.y = 282;
    window.w = 520;
    window.h = 176;
    PlatformUseHeadlessWindow(window);
    PlatformUseScriptedDialogs([this](const DialogRecord& r) {
      boxes.push_back(r.title);
      return std::string("ok");
    });
    PlatformClearMessages();
    saved_h_resize_ = AllowHResize;
    saved_v_resize_ = AllowVResize;
    AllowHResize = false;
    AllowVResize = false;
    mouse_q = 0;
    gui = new CHelioGUI;
  }
  void TearDown() override {
    delete gui;
    mui = nullptr;
    PlatformUseX11Window();
    PlatformUseDesktopDialogs();
    PlatformClearMessages();
    AllowHResize = saved_h_resize_;
    AllowVResize = saved_v_resize_;
    mouse_q = 0;
  }

  InputStateGuard input_;  // Step moves the mouse and holds the button
  bool saved_h_resize_ = false, saved_v_resize_ = false;

  // Puts the cursor at screen (sx, sy) with the left button up or down and runs one update.
  void Step(int sx, int sy, bool down) {
    window.cursor_x = sx;
    window.cursor_y = sy;
    mouse_x = sx - window.x;
    mouse_y = sy - window.y;
    mouse_b = down ? 1 : 0;
    gui->Proc();
  }
  // Presses at window point (wx, wy), drags the cursor by (dx, dy), releases there.
  void Drag(int wx, int wy, int dx, int dy) {
    const int sx = window.x + wx, sy = window.y + wy;
    Step(sx, sy, false);
    Step(sx, sy, true);
    Step(sx + dx / 2, sy + dy / 2, true);
    Step(sx + dx, sy + dy, true);
    Step(sx + dx, sy + dy, false);
  }
  int Closes() {
    PlatformMessage m;
    int n = 0;
    while (PlatformPeekMessage(m)) n += m.message == PLATFORM_MSG_CLOSE;
    return n;
  }

  HeadlessWindow window;
  Installed<CommandTable> commands_;
  CHelioGUI* gui = nullptr;
  std::vector<std::string> boxes;
};

TEST_F(WindowFrameTest, ConstructionGivesTheStartUpOutlineWithoutMoving) {
  EXPECT_EQ(mui, gui);
  EXPECT_EQ(gui->w, 520);
  EXPECT_EQ(gui->h, 176);
  EXPECT_EQ(window.shape_w, 520);
  EXPECT_EQ(window.shape_h, 176);
  EXPECT_EQ(window.moves, 0);
  EXPECT_EQ(gui->c->btn->data, 0xB441);
}

TEST_F(WindowFrameTest, CaptionDragMovesAndClampsToTheScreen) {
  struct Case {
    const char* name;
    int win_w, taskbar, dx, dy, x, y;
  } cases[] = {
      {"small move", 520, 0, 10, 5, 390, 287},
      {"past the bottom-right", 520, 0, 5000, 5000, 1280 - 520, 1024 - 176},
      {"above the task bar", 520, 40, 5000, 5000, 1280 - 520, 1024 - 40 - 176},
      {"past the top-left", 520, 0, -5000, -5000, 0, 0},
      {"just inside the right edge", 520, 0, 1280 - 520 - 1 - 380, 0, 1280 - 520 - 1, 282},
      {"exactly at the right edge", 520, 0, 1280 - 520 - 380, 0, 1280 - 520, 282},
      {"wider than the screen: the left limit wins", 1400, 0, 10, 0, 0, 282},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window.x = 380;
    window.y = 282;
    window.w = gui->w = c.win_w;
    window.taskbar_h = c.taskbar;
    Drag(200, 10, c.dx, c.dy);
    EXPECT_EQ(window.x, c.x);
    EXPECT_EQ(window.y, c.y);
    EXPECT_FALSE(gui->c->move_z);
    EXPECT_EQ(MC_CURRENT, 0);
  }
  EXPECT_EQ(Closes(), 0);
}

TEST_F(WindowFrameTest, PressOnAButtonNeverStartsAMoveButAMoveCrossesTheButtons) {
  Drag(504, 10, 100, 100);  // on the close button
  EXPECT_EQ(window.x, 380);
  EXPECT_EQ(window.y, 282);
  EXPECT_EQ(Closes(), 0);  // released elsewhere: no close
  // Beside the buttons: the move follows the cursor over the buttons and releases there.
  Drag(300, 10, 204, 0);
  EXPECT_EQ(window.x, 584);
  EXPECT_EQ(Closes(), 0);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(WindowFrameTest, CaptionButtonsFireOnPressAndReleaseOverTheSameButton) {
  // Buttons from the right (x_right = 514): close 494, maximise 473, minimise 452.
  struct Case {
    const char* name;
    int press_x, release_x;
    int closes;
    bool minimised;
  } cases[] = {
      {"close", 500, 505, 1, false},
      {"close released over minimise", 500, 460, 0, false},
      {"minimise", 460, 462, 0, true},
      {"minimise released over close", 460, 500, 0, false},
      {"maximise is disabled", 480, 480, 0, false},
      {"pressed on the caption, released over close", 200, 500, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window.x = 380;
    window.y = 282;
    window.minimised = false;
    Step(window.x + c.press_x, 292, false);
    Step(window.x + c.press_x, 292, true);
    Step(window.x + c.release_x, 292, true);
    Step(window.x + c.release_x, 292, false);
    Step(window.x + c.release_x, 292, false);
    EXPECT_EQ(Closes(), c.closes);
    EXPECT_EQ(window.minimised, c.minimised);
    EXPECT_EQ(gui->c->btn->btdn, 0);
    EXPECT_EQ(gui->c->btn->State(2), 0);  // maximise stays disabled
  }
  EXPECT_TRUE(boxes.empty());
}

TEST_F(WindowFrameTest, ButtonStatesFollowTheMouse) {
  CHG_WBtnArr& b = *gui->c->btn;
  Step(window.x + 500, 292, false);
  EXPECT_EQ(b.State(0), 2);
  EXPECT_EQ(b.State(3), 1);
  Step(window.x + 500, 292, true);
  EXPECT_EQ(b.State(0), 3);
  EXPECT_EQ(b.btdn, 1);
  Step(window.x + 460, 292, true);  // held, now over minimise
  EXPECT_EQ(b.State(0), 1);
  EXPECT_EQ(b.State(3), 1);
  Step(window.x + 500, 292, true);  // back over close
  EXPECT_EQ(b.State(0), 3);
}

TEST_F(WindowFrameTest, ResizeClampsBetweenTheMinimumAndTheScreen) {
  AllowHResize = AllowVResize = true;
  struct Case {
    const char* name;
    int taskbar, dx, dy, w, h;
  } cases[] = {
      {"grow a little", 0, 30, 20, 630, 320},
      {"shrink a little", 0, -30, -20, 570, 280},
      {"beyond the screen", 0, 5000, 5000, 1280, 1024},
      {"beyond the screen above the task bar", 30, 5000, 5000, 1280, 994},
      {"below the minimum", 0, -5000, -5000, 512, 256},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gui->w = window.w = 600;
    gui->h = window.h = 300;
    window.taskbar_h = c.taskbar;
    Drag(598, 298, c.dx, c.dy);  // bottom-right corner
    EXPECT_EQ(gui->w, c.w);
    EXPECT_EQ(gui->h, c.h);
    EXPECT_EQ(window.w, c.w);
    EXPECT_EQ(window.h, c.h);
    EXPECT_EQ(window.x, 380);  // the top-left corner stays
    EXPECT_EQ(window.y, 282);
    EXPECT_EQ(window.shape_w, c.w);
    EXPECT_EQ(window.shape_h, c.h);
  }
}

TEST_F(WindowFrameTest, EachResizeWidgetNeedsItsPermission) {
  struct Case {
    const char* name;
    bool allow_h, allow_v;
    int wx, wy;  // press point in the 600x300 window
    int w, h;    // after dragging by (+40, +30)
  } cases[] = {
      {"right border, width allowed", true, false, 598, 150, 640, 300},
      {"right border, width not allowed", false, true, 598, 150, 600, 300},
      {"bottom border, height allowed", false, true, 300, 298, 600, 330},
      {"bottom border, height not allowed", true, false, 300, 298, 600, 300},
      {"corner needs both", true, false, 598, 298, 600, 300},
      {"corner with both", true, true, 598, 298, 640, 330},
      {"grip with width only", true, false, 590, 290, 640, 300},
      {"grip with height only", false, true, 590, 290, 600, 330},
      {"grip with neither", false, false, 590, 290, 600, 300},
      {"left border never resizes", true, true, 1, 150, 600, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AllowHResize = c.allow_h;
    AllowVResize = c.allow_v;
    window.x = 100;
    window.y = 100;
    gui->w = window.w = 600;
    gui->h = window.h = 300;
    Drag(c.wx, c.wy, 40, 30);
    EXPECT_EQ(gui->w, c.w);
    EXPECT_EQ(gui->h, c.h);
    Step(window.x + 300, window.y + 150, false);  // away from every zone
    EXPECT_EQ(MC_CURRENT, 0);
  }
}

TEST_F(WindowFrameTest, ResizeCursorStaysUntilTheCursorLeavesTheZone) {
  AllowHResize = true;
  const int sx = window.x + 518, sy = window.y + 100;
  Step(sx, sy, false);
  EXPECT_EQ(MC_CURRENT, 2);
  Step(sx, sy, true);
  Step(sx, sy, false);
  Step(sx, sy, false);
  EXPECT_EQ(MC_CURRENT, 2);
  Step(window.x + 200, sy, false);
  EXPECT_EQ(MC_CURRENT, 0);
}

TEST_F(WindowFrameTest, ResizeTilesExSizesAndCentresTheWindow) {
  struct Case {
    const char* name;
    const char* config;
    int tiles_w, tiles_h;
    int w, h;
  } cases[] = {
      {"editor size", "", 24, 16, 776, 604},
      {"width override", "[Window]\nw = 400\n", 24, 16, 0x400, 604},
      {"override beyond the screen is kept on it", "[Window]\nw = 9000\n", 24, 16, 1280, 604},
      {"width kept with 0 tiles", "", 0, 16, 520, 604},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      ConfigGuard guard;
      set_config_data(c.config, static_cast<int>(std::string(c.config).size()));
    }
    gui->w = 520;
    gui->h = 176;
    AllowVResize = true;
    gui->ResizeTilesEx(c.tiles_w, c.tiles_h, true, false, true, false);
    EXPECT_TRUE(AllowHResize);
    EXPECT_FALSE(AllowVResize);
    EXPECT_EQ(gui->w, c.w);
    EXPECT_EQ(gui->h, c.h);
    EXPECT_EQ(window.w, c.w);
    EXPECT_EQ(window.h, c.h);
    EXPECT_EQ(window.x, (1280 - c.w) >> 1);
    EXPECT_EQ(window.y, (1024 - c.h) / 3);
    EXPECT_EQ(window.shape_w, c.w);
    EXPECT_EQ(window.shape_h, c.h);
  }
}

}  // namespace

namespace {

// A frame touches only the window's area: of the screen-sized frame buffer it clears
// and copies w x h, leaving the rest of the buffer and of the page alone.
TEST_F(WindowFrameTest, FramePassComposesOnlyTheWindowArea) {
  FB = create_bitmap_ex(32, 1280, 1024);
  BITMAP* page = create_bitmap_ex(32, 1280, 1024);
  clear_to_color(FB, 0xABCDEF);
  clear_to_color(page, 0x123456);
  ModePass pass;
  pass.picture = [](BITMAP* fb) { putpixel(fb, 10, 100, 0x00FF00); };
  pass.overlay = [](BITMAP* fb) { putpixel(fb, 30, 165, 0xFF0000); };
  ComposeFrame(page, pass);
  EXPECT_EQ(getpixel(page, 10, 100), 0x00FF00);
  EXPECT_EQ(getpixel(page, 30, 165), 0xFF0000);
  EXPECT_EQ(getpixel(page, 200, 100), 0x0F3F7F);  // background inside the view
  EXPECT_EQ(getpixel(page, 519, 100), getpixel(FB, 519, 100));
  EXPECT_EQ(getpixel(page, 520, 100), 0x123456);
  EXPECT_EQ(getpixel(page, 100, 176), 0x123456);
  EXPECT_EQ(getpixel(FB, 520, 100), 0xABCDEF);
  EXPECT_EQ(getpixel(FB, 100, 176), 0xABCDEF);
  destroy_bitmap(page);
  destroy_bitmap(FB);
  FB = nullptr;
}

TEST_F(WindowFrameTest, UnknownModeIsReportedAndClosesTheProgram) {
  std::vector<DialogRecord> shown;
  PlatformUseScriptedDialogs([&shown](const DialogRecord& r) {
    shown.push_back(r);
    return std::string("ok");
  });
  ENGINE_STATE = 0x2A;
  GAMEOVER = false;
  gui->WindowRunFunction();
  ENGINE_STATE = 0;
  EXPECT_TRUE(GAMEOVER.load());
  EXPECT_TRUE(STATEOVER.load());
  GAMEOVER = false;
  STATEOVER = false;
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].kind, BoxKind::Error);
  EXPECT_EQ(shown[0].title, "Unknown Mode");
  EXPECT_EQ(shown[0].text,
            "Could not find a modefunction associated with idenifier 0x2A.\nThe program will now exit abruptly.");
  EXPECT_EQ(Closes(), 1);
}

}  // namespace
