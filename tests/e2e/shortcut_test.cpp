#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "demo/demo_image.h"
#include "e2e_support.h"

namespace fs = std::filesystem;

// Keyboard shortcuts of the real program: Ctrl+L opens the level picker once per
// press however long it is held, and the picked level is shown.

namespace {

std::string Hex2(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", value);
  return text;
}

int CountKind(const std::vector<e2e::DialogLogEntry>& log, const std::string& kind) {
  int n = 0;
  for (const e2e::DialogLogEntry& entry : log) n += entry.kind == kind ? 1 : 0;
  return n;
}

// Waits (polling) until the log holds `count` boxes of `kind`.
bool WaitForKindCount(const e2e::App& app, const std::string& kind, int count, double timeout_s = 15.0) {
  for (double waited = 0; waited < timeout_s; waited += 0.05) {
    if (CountKind(app.DialogLog(), kind) >= count) return true;
    e2e::Hold(50);
  }
  return false;
}

// The status line "Level 0xNN - name" of the window as pixels.
std::vector<uint32_t> StatusLine(const e2e::App& app) {
  int x = 0, y = 0, w = 0, h = 0;
  e2e::Screenshot shot;
  std::vector<uint32_t> pixels;
  if (!app.Geometry(x, y, w, h) || !e2e::TakeScreenshot(shot)) return pixels;
  for (int row = h - 18; row < h - 6; ++row)
    for (int col = 8; col < 320; ++col) pixels.push_back(shot.Pixel(x + col, y + row));
  return pixels;
}

// Waits (polling) until the status line differs from `before`: the level switch has been drawn.
bool WaitForStatusChange(const e2e::App& app, const std::vector<uint32_t>& before, double timeout_s = 15.0) {
  for (double waited = 0; waited < timeout_s; waited += 0.1) {
    const std::vector<uint32_t> now = StatusLine(app);
    if (!now.empty() && now != before) return true;
    e2e::Hold(100);
  }
  return false;
}

using ShortcutEndToEnd = e2e::EndToEndTest;

TEST_F(ShortcutEndToEnd, CtrlLOpensThePickerOncePerPressAndShowsThePick) {
  const DemoImage demo = BuildDemoImage(1);
  int target = -1;
  for (const DemoLevel& level : demo.levels) {
    if (level.id != 0x16 && target < 0) target = level.id;
  }
  ASSERT_GE(target, 0);

  e2e::LaunchOptions options;
  options.args = {"--demo"};
  options.configuration_ini = "[LevelDisplay]\nEnable = Yes\n16 = 00000000\n";
  options.dialog_answers = {"ok", "0x" + Hex2(target), "cancel"};
  LaunchEditor(options);
  if (HasFatalFailure()) return;
  const e2e::App& shown = *app;

  const std::vector<uint32_t> status = StatusLine(shown);
  ASSERT_FALSE(status.empty());
  // Held for many logic updates (and the key's auto-repeat): one picker.
  e2e::KeyDown("ctrl+l");
  e2e::Hold(700);
  e2e::KeyUp("ctrl+l");
  ASSERT_TRUE(WaitForKindCount(shown, "list", 1)) << app->Stderr();
  // The picked level is shown; the editor runs on it before the next press.
  ASSERT_TRUE(WaitForStatusChange(shown, status)) << app->Stderr();
  // A second press opens it a second time, and only then.
  e2e::Key("ctrl+l", 300);
  ASSERT_TRUE(WaitForKindCount(shown, "list", 2)) << app->Stderr();
  const std::vector<e2e::DialogLogEntry> log = app->DialogLog();
  EXPECT_EQ(CountKind(log, "list"), 2);
  EXPECT_EQ(CountKind(log, "error"), 0);
  EXPECT_EQ(log.back().title, "Select Level");
  EXPECT_EQ(log.back().answer, "cancel");
  EXPECT_TRUE(app->Running());

  // The picked level was shown: its view position was stored when it came up.
  e2e::Key("Escape");
  ASSERT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
  std::ifstream in(fs::path(app->workdir()) / "Configuration.INI");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("\n" + Hex2(target) + " = "), std::string::npos) << text.substr(0, 600);
}

}  // namespace
