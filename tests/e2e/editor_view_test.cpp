#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "demo/demo_image.h"
#include "e2e_support.h"
#include "view_support.h"

namespace fs = std::filesystem;

// The level editor on the built-in demo image (`qbrre --demo`), driven with the
// real keyboard and mouse: what it shows, how it moves and what it remembers.

namespace {

constexpr int kLevel = 0x16;
constexpr int kNextLevel = 0x17;
// The view area inside the window: from (4, 60), window width - 20 by height - 92.
constexpr int kViewX = 4;
constexpr int kViewY = 60;

using e2e::ConfigurationWith;
using e2e::Demo;
using e2e::ExportFolder;
using e2e::Hex;
using e2e::LevelDisplayKeys;
using e2e::MaskFor;
using e2e::Picture;
using e2e::ViewMask;

// The running editor on the demo image, its window found and the level shown.
class EditorViewTest : public e2e::EndToEndTest {
 protected:
  // Starts `qbrre --demo` with the given view positions and waits for the
  // level editor: the alpha notice answered and the editor's window size.
  void Launch(const std::map<int, unsigned>& positions) {
    e2e::LaunchOptions options;
    options.args = {"--demo"};
    options.configuration_ini = ConfigurationWith(positions);
    LaunchEditor(options);
    if (HasFatalFailure()) return;
    // No question about the image: the program made it.
    for (const e2e::DialogLogEntry& entry : app->DialogLog()) {
      EXPECT_NE(entry.kind, "question") << entry.title;
      EXPECT_NE(entry.kind, "open") << entry.title;
    }
    ParkMouse();
  }

  // Keeps the cursor away from the window, so no tooltip or hover shows.
  void ParkMouse() { e2e::MouseMove(wx + ww + 40, wy + wh + 40); }

  // The status line "Level 0xNN - name" as pixels.
  std::vector<uint32_t> StatusLine(const e2e::Screenshot& shot) const {
    std::vector<uint32_t> pixels;
    for (int y = wh - 18; y < wh - 6; ++y)
      for (int x = 8; x < 320; ++x) pixels.push_back(shot.Pixel(wx + x, wy + y));
    return pixels;
  }

  // Waits until the status line differs from `before` (a level switch has been drawn).
  bool WaitForStatusChange(const std::vector<uint32_t>& before, double timeout_s = 15.0) const {
    const auto start = std::chrono::steady_clock::now();
    do {
      e2e::Screenshot shot;
      if (e2e::TakeScreenshot(shot) && StatusLine(shot) != before) return true;
      e2e::Hold(100);
    } while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < timeout_s);
    return false;
  }

  std::vector<uint32_t> CurrentStatusLine() const {
    e2e::Screenshot shot;
    EXPECT_TRUE(e2e::TakeScreenshot(shot));
    return StatusLine(shot);
  }

  // Closes with Escape and returns the saved view keys.
  std::map<std::string, std::string> CloseAndReadKeys() {
    e2e::Key("Escape");
    EXPECT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
    return LevelDisplayKeys(fs::path(app->workdir()) / "Configuration.INI");
  }
};

struct Mismatch {
  int count = 0;
  int first_x = -1, first_y = -1;
  uint32_t shown = 0, exported = 0;
};

Mismatch CompareView(const e2e::Screenshot& shot, int origin_x, int origin_y, const Picture& level, int camera_x,
                     int camera_y, const ViewMask& mask, int view_w, int view_h) {
  Mismatch m;
  for (int y = 0; y < view_h; ++y)
    for (int x = 0; x < view_w; ++x) {
      if (mask.Masked(x, y)) continue;
      const uint32_t shown = shot.Pixel(origin_x + x, origin_y + y);
      const uint32_t exported = level.pixels[static_cast<size_t>(camera_y + y) * level.w + camera_x + x];
      if (shown == exported) continue;
      if (m.count++ == 0) {
        m.first_x = x;
        m.first_y = y;
        m.shown = shown;
        m.exported = exported;
      }
    }
  return m;
}

// What the view shows of the level is the exported picture of the same level
// cropped at the camera position, at two positions (one with the guide in view).
TEST_F(EditorViewTest, ViewShowsTheExportCroppedAtTheCamera) {
  const DemoLevel* level = Demo().Level(kLevel);
  ASSERT_NE(level, nullptr);
  ExportFolder folder;
  Picture exported;
  std::string output;
  ASSERT_TRUE(folder.Export(kLevel, exported, &output)) << output;
  ASSERT_EQ(exported.w, 32 * level->tile_w);
  ASSERT_EQ(exported.h, 32 * level->tile_h);

  const int middle = 16 * level->tile_w;
  struct Case {
    int x, y;
  };
  for (const Case position : {Case{0x100, 0}, Case{middle - 300, 0}}) {
    SCOPED_TRACE("camera " + std::to_string(position.x) + ", " + std::to_string(position.y));
    Launch({{kLevel, static_cast<unsigned>(position.x << 16 | position.y)}});
    if (HasFatalFailure()) return;
    const int view_w = ww - 20, view_h = wh - 92;
    ASSERT_LE(position.x + view_w, exported.w);
    ASSERT_LE(position.y + view_h, exported.h);
    const ViewMask mask = MaskFor(*level, position.x, position.y, view_w, view_h);
    // The first frames may still be on their way to the screen: look again until they match.
    Mismatch m;
    const auto start = std::chrono::steady_clock::now();
    do {
      e2e::Screenshot shot;
      ASSERT_TRUE(e2e::TakeScreenshot(shot));
      m = CompareView(shot, wx + kViewX, wy + kViewY, exported, position.x, position.y, mask, view_w, view_h);
      if (m.count == 0) break;
      e2e::Hold(200);
    } while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < 10.0);
    EXPECT_EQ(m.count, 0) << "first at view (" << m.first_x << ", " << m.first_y << "): shown " << std::hex << m.shown
                          << ", exported " << m.exported;
    // Showing the level does not move it.
    const auto keys = CloseAndReadKeys();
    EXPECT_EQ(keys.at(Hex(kLevel, 2)), Hex(position.x << 16 | position.y, 8));
    app.reset();
  }
}

// Arrows, Home and End move the view; Page Up and Page Down switch the level
// once per press; every visited level keeps its last position in Configuration.INI.
TEST_F(EditorViewTest, KeysMoveAndSwitchAndPositionsAreRemembered) {
  const DemoLevel* next = Demo().Level(kNextLevel);
  ASSERT_NE(next, nullptr);
  // A start x that no number of 32-pixel steps from 0 reaches: Home must run first.
  Launch({{kLevel, 0x01050000}, {kNextLevel, 0x00000000}, {kNextLevel + 1, 0x00400000}});
  if (HasFatalFailure()) return;
  e2e::Key("Home");
  e2e::Key("Right");

  std::vector<uint32_t> status = CurrentStatusLine();
  e2e::KeyDown("Page_Up");
  e2e::Hold(400);  // held for many updates: still one switch
  e2e::KeyUp("Page_Up");
  ASSERT_TRUE(WaitForStatusChange(status)) << app->Stderr();
  int nw = 0, nh = 0;
  ASSERT_TRUE(app->Geometry(wx, wy, nw, nh));
  e2e::Key("End");

  status = CurrentStatusLine();
  e2e::KeyDown("Page_Down");
  e2e::Hold(400);
  e2e::KeyUp("Page_Down");
  ASSERT_TRUE(WaitForStatusChange(status)) << app->Stderr();
  const auto keys = CloseAndReadKeys();

  // Level 0x16: Home, then 32 pixels per update while Right was held; restored
  // when shown again after the switch back.
  const unsigned shown = std::stoul(keys.at(Hex(kLevel, 2)), nullptr, 16);
  const int x = static_cast<int>(shown >> 16), y = static_cast<int>(shown & 0xFFFF);
  EXPECT_EQ(y, 0);
  EXPECT_GE(x, 32);
  EXPECT_EQ(x % 32, 0) << x;
  // Level 0x17: End moves to the far corner the clamping allows.
  const int end_x = std::max(0, 32 * next->tile_w - nw + 20);
  const int end_y = std::max(0, 32 * next->tile_h - nh + 92);
  EXPECT_EQ(keys.at(Hex(kNextLevel, 2)), Hex(static_cast<unsigned>(end_x << 16 | end_y), 8));
  // Neither key switched twice: levels 0x18 and 0x15 were never shown.
  EXPECT_EQ(keys.at(Hex(kNextLevel + 1, 2)), "00400000");
  EXPECT_EQ(keys.count(Hex(kLevel - 1, 2)), 0u);
  // Only the program's own settings reach its file, none of the demo's game configuration.
  std::ifstream in(fs::path(app->workdir()) / "Configuration.INI");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text.find("[Global_Offsets]"), std::string::npos) << text.substr(0, 400);
}

// Dragging the horizontal bar's thumb 10 screen pixels right moves the view by
// 10 x total / (w - 39) level pixels, truncated.
TEST_F(EditorViewTest, ThumbDragMovesTheView) {
  const DemoLevel* level = Demo().Level(kLevel);
  ASSERT_NE(level, nullptr);
  Launch({{kLevel, 0}});
  if (HasFatalFailure()) return;
  // At x = 0 the thumb begins at window x 14; its band is rows h-32 to h-21.
  const int grab_x = wx + 40, grab_y = wy + wh - 26;
  // Each step is held for many updates, so the press is seen before the move.
  e2e::MouseMove(grab_x, grab_y);
  e2e::Hold(200);
  e2e::MouseDown();
  e2e::Hold(300);
  e2e::MouseMove(grab_x + 10, grab_y);
  e2e::Hold(300);
  e2e::MouseUp();
  e2e::Hold(200);
  ParkMouse();
  const auto keys = CloseAndReadKeys();
  const float per_pixel = static_cast<float>(32 * level->tile_w) / static_cast<float>(ww - 39);
  const int moved = static_cast<int>(10.0f * per_pixel);
  EXPECT_EQ(keys.at(Hex(kLevel, 2)), Hex(static_cast<unsigned>(moved) << 16, 8));
}

}  // namespace
