#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "e2e_support.h"
#include "view_support.h"

namespace fs = std::filesystem;

// The mouse wheel and the zoom of the level view, driven through the real
// pointer (buttons 4 and 5 are the wheel's notches) and keyboard, checked
// through the view positions the program saves and the picture it shows.

namespace {

using e2e::Hex;

constexpr int kLevel = 0x16;  // Grassy Knoll: 96 x 16 tiles
constexpr int kViewX = 4;
constexpr int kViewY = 60;
constexpr int kWheelUp = 4;
constexpr int kWheelDown = 5;

class ViewNavigationTest : public e2e::EndToEndTest {
 protected:
  void Launch(unsigned position) {
    e2e::LaunchOptions options;
    options.args = {"--demo"};
    options.configuration_ini = e2e::ConfigurationWith({{kLevel, position}});
    LaunchEditor(options);
  }

  // Turns the wheel `notches` notches (button 4 up, 5 down) with `modifier`
  // held ("" for none); each notch and the modifier are held for several updates.
  void Wheel(int button, int notches, const std::string& modifier = "") {
    if (!modifier.empty()) e2e::KeyDown(modifier);
    e2e::Hold(100);
    for (int i = 0; i < notches; ++i) {
      e2e::MouseDown(button);
      e2e::Hold(40);
      e2e::MouseUp(button);
      e2e::Hold(80);
    }
    e2e::Hold(100);
    if (!modifier.empty()) e2e::KeyUp(modifier);
    e2e::Hold(100);
  }

  std::string CloseAndReadPosition() {
    e2e::Key("Escape");
    EXPECT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
    const auto keys = e2e::LevelDisplayKeys(fs::path(app->workdir()) / "Configuration.INI");
    const auto it = keys.find(Hex(kLevel, 2));
    return it == keys.end() ? "" : it->second;
  }
};

// Shift+wheel moves 32 pixels a notch sideways; Ctrl+wheel zooms around the
// level point under the mouse; the wheel then moves 32 pixels a notch up or
// down, clamped at the level's bottom; Ctrl+Minus zooms back around the mouse.
TEST_F(ViewNavigationTest, WheelShiftWheelAndZoomStepsMoveTheView) {
  Launch(0x01000000);  // x 256, y 0
  if (HasFatalFailure()) return;
  // The mouse on window pixel (200, 200) of the view.
  e2e::MouseMove(wx + 200, wy + 200);
  Wheel(kWheelDown, 2, "Shift_L");  // x 256 + 64
  Wheel(kWheelUp, 1, "Shift_L");    // x 320 - 32
  // A 16-tile level fills the 100 % view's height: the wheel cannot move it.
  Wheel(kWheelDown, 3);
  // 200 %: level point (288 + 196, 0 + 140) stays at window (200, 200):
  // camera (484 - 98, 140 - 70).
  Wheel(kWheelUp, 1, "Control_L");
  Wheel(kWheelDown, 2);   // y 70 + 64
  Wheel(kWheelDown, 10);  // clamped: 512 - (604 - 92) / 2 = 256
  Wheel(kWheelUp, 1);     // y 224
  const std::string at_200 = CloseAndReadPosition();
  EXPECT_EQ(at_200, Hex(386u << 16 | 224u, 8));
}

// Ctrl+Minus and Ctrl+0 keep the view's centre when the mouse is off the view;
// at 50 % the view shows every second pixel of every second row of the
// exported level from the camera position (nearest-pixel reduction); back at
// 100 % the camera is where it started.
TEST_F(ViewNavigationTest, HalfZoomShowsTheExportScaledDownByTwo) {
  const DemoLevel* level = e2e::Demo().Level(kLevel);
  ASSERT_NE(level, nullptr);
  e2e::ExportFolder folder;
  e2e::Picture exported;
  std::string output;
  ASSERT_TRUE(folder.Export(kLevel, exported, &output)) << output;

  Launch(0x04000000);  // x 1024, y 0
  if (HasFatalFailure()) return;
  e2e::MouseMove(wx + ww + 40, wy + wh + 40);
  e2e::Hold(200);
  // Centre of the view: window (4 + 378, 60 + 256) shows level (1402, 256);
  // at 50 % the camera is (1402 - 756, 256 - 512), clamped to y 0.
  e2e::Key("ctrl+minus");
  e2e::Hold(300);
  const int camera_x = 646, camera_y = 0;
  const int view_w = ww - 20, view_h = wh - 92;
  const int shown_h = 32 * level->tile_h / 2;  // the level's 512 rows as 256
  const e2e::ViewMask mask = e2e::MaskFor(*level, camera_x, camera_y, view_w, view_h, 50);
  int mismatches = 0, below = 0, first_x = -1, first_y = -1;
  uint32_t shown = 0, expected = 0;
  const auto start = std::chrono::steady_clock::now();
  do {
    e2e::Screenshot shot;
    ASSERT_TRUE(e2e::TakeScreenshot(shot));
    mismatches = below = 0;
    for (int y = 0; y < view_h; ++y)
      for (int x = 0; x < view_w; ++x) {
        const uint32_t pixel = shot.Pixel(wx + kViewX + x, wy + kViewY + y);
        if (y >= shown_h) {
          // Below the level: the window's background.
          if (pixel != 0x0F3F7F) ++below;
          continue;
        }
        if (mask.Masked(x, y)) continue;
        const uint32_t want = exported.At(camera_x + 2 * x, camera_y + 2 * y);
        if (pixel == want) continue;
        if (mismatches++ == 0) {
          first_x = x;
          first_y = y;
          shown = pixel;
          expected = want;
        }
      }
    if (mismatches == 0 && below == 0) break;
    e2e::Hold(200);
  } while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < 10.0);
  EXPECT_EQ(mismatches, 0) << "first at view (" << first_x << ", " << first_y << "): shown " << std::hex << shown
                           << ", expected " << expected;
  EXPECT_EQ(below, 0);

  // Ctrl+0: 100 % around the same centre, level point 646 + 756 at window 382.
  e2e::Key("ctrl+0");
  e2e::Hold(300);
  EXPECT_EQ(CloseAndReadPosition(), "04000000");
}

}  // namespace
