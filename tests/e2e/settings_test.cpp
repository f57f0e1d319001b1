#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "e2e_support.h"
#include "tests/common/temp_folder.h"
#include "view_support.h"

// Level > Settings... in the real program on the demo image: the form's answer
// reaches Configuration.INI and the window at once; a cancelled or refused form
// writes nothing.

namespace fs = std::filesystem;

namespace {

constexpr int kEditorW = 776, kEditorH = 604;
constexpr uint32_t kNewGrid = 0x12EF34;

// The grid shown, an emulator command set: keys the form's write must keep.
std::string StartConfiguration() {
  return e2e::ConfigurationWith({}, "\n[View]\nGrid = Yes\n\n[Emulator]\nCommand = emu --full %f\n");
}

// Opens Level > Settings... by keyboard: Alt+L highlights "Select Level...", and
// Down passes "Modify" and "Sounds/Music..." (the greyed "Start Points..." is
// skipped) to "Settings...".
void OpenSettings() {
  e2e::Chord("alt", "l");
  for (int i = 0; i < 3; ++i) e2e::Key("Down");
  e2e::Key("Return");
}

// How many pixels of the window at (x, y), w x h on the screen, have `colour`.
int CountColour(int x, int y, int w, int h, uint32_t colour) {
  e2e::Screenshot shot;
  if (!e2e::TakeScreenshot(shot)) return -1;
  int n = 0;
  for (int row = y; row < y + h; ++row)
    for (int col = x; col < x + w; ++col) n += shot.Pixel(col, row) == colour ? 1 : 0;
  return n;
}

std::string Text(const fs::path& path) {
  const e2e::Bytes bytes = e2e::ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// On a screen of 2560 x 2048, which holds the editor's window at scale 2 (the
// shared 1280 x 1024 one holds only 1).
class SettingsOnALargeScreen : public e2e::EndToEndTest {
 protected:
  void SetUp() override {
    e2e::EndToEndTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_FALSE(server_.display().empty()) << "Xvfb did not start";
    saved_display_ = std::getenv("DISPLAY");
    setenv("DISPLAY", server_.display().c_str(), 1);
  }
  void TearDown() override {
    e2e::EndToEndTest::TearDown();
    if (saved_display_) setenv("DISPLAY", saved_display_->c_str(), 1);
  }

  e2e::OwnXServer server_{2560, 2048};
  std::optional<std::string> saved_display_;
};

TEST_F(SettingsOnALargeScreen, ANewGridColourAndScaleAreWrittenAndShownAtOnce) {
  e2e::LaunchOptions options;
  options.args = {"--demo"};
  options.configuration_ini = StartConfiguration();
  // The notice after Open; the form: emulator and music folder kept, scale 2, the grid's colour.
  options.dialog_answers = {"ok", "|2||12ef34"};
  LaunchEditor(options);
  if (HasFatalFailure()) return;
  EXPECT_EQ(CountColour(wx, wy, ww, wh, kNewGrid), 0);

  OpenSettings();
  ASSERT_TRUE(app->WaitForDialog("form")) << app->Stderr();
  const auto log = app->DialogLog();
  EXPECT_EQ(log.back().title, "Settings");
  EXPECT_NE(log.back().text.find("Emulator command: emu --full %f\nWindow scale: 1\n"), std::string::npos)
      << log.back().text;
  EXPECT_NE(log.back().text.find("Grid colour (RRGGBB): 505868"), std::string::npos) << log.back().text;

  // The window is twice the size, and the grid's lines (more than five of them, two screen pixels
  // wide) have the new colour.
  ASSERT_TRUE(app->WaitForSize(2 * kEditorW, 2 * kEditorH, 15.0)) << app->Stderr();
  ASSERT_TRUE(app->Geometry(wx, wy, ww, wh));
  EXPECT_TRUE(WaitUntil([&] { return CountColour(wx, wy, ww, wh, kNewGrid) > 5 * 2 * 2 * 500; }))
      << CountColour(wx, wy, ww, wh, kNewGrid);

  // Written at once, the other keys kept.
  const fs::path ini = fs::path(app->workdir()) / "Configuration.INI";
  const std::string written = Text(ini);
  EXPECT_NE(written.find("[View]\nGrid = Yes\nGridColour = 12EF34\n"), std::string::npos) << written;
  EXPECT_NE(written.find("[Engine]\nScale = 2\n"), std::string::npos) << written;
  EXPECT_NE(written.find("[Emulator]\nCommand = emu --full %f\n"), std::string::npos) << written;
  EXPECT_NE(written.find("[LevelDisplay]\nEnable = Yes\n"), std::string::npos) << written;
  EXPECT_EQ(app->DialogLog().size(), log.size());  // no error

  // The program keeps them when it closes.
  e2e::Key("Escape");
  ASSERT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
  const std::string closed = Text(ini);
  EXPECT_NE(closed.find("GridColour = 12EF34\n"), std::string::npos) << closed;
  EXPECT_NE(closed.find("[Engine]\nScale = 2\n"), std::string::npos) << closed;
}

using SettingsEndToEnd = e2e::EndToEndTest;

TEST_F(SettingsEndToEnd, ACancelledOrRefusedFormWritesNothing) {
  e2e::LaunchOptions options;
  options.args = {"--demo"};
  options.configuration_ini = StartConfiguration();
  // The notice after Open; the form cancelled; the form with a colour of five digits, and its error.
  options.dialog_answers = {"ok", "cancel", "|||12EF3", "ok"};
  LaunchEditor(options);
  if (HasFatalFailure()) return;
  const fs::path ini = fs::path(app->workdir()) / "Configuration.INI";
  const e2e::Bytes before = e2e::ReadBytes(ini);
  const fs::file_time_type written = fs::last_write_time(ini);

  OpenSettings();
  ASSERT_TRUE(app->WaitForDialog("form")) << app->Stderr();
  OpenSettings();
  ASSERT_TRUE(app->WaitForDialog("error")) << app->Stderr();
  const auto log = app->DialogLog();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[1].kind, "form");
  EXPECT_EQ(log[1].answer, "cancel");
  EXPECT_EQ(log[2].kind, "form");
  EXPECT_EQ(log[3].title, "Settings");
  EXPECT_EQ(log[3].text, "Nothing was changed:\nGrid colour (RRGGBB): \"12EF3\" is not six hex digits RRGGBB.");
  // The program goes on, and has written nothing: not the file, not the window's size.
  app->WaitForPasses(app->Passes());
  EXPECT_EQ(e2e::ReadBytes(ini), before);
  EXPECT_EQ(fs::last_write_time(ini), written);
  int x = 0, y = 0, w = 0, h = 0;
  ASSERT_TRUE(app->Geometry(x, y, w, h));
  EXPECT_EQ(w, kEditorW);
  EXPECT_EQ(h, kEditorH);
  EXPECT_TRUE(app->Running());
}

}  // namespace
