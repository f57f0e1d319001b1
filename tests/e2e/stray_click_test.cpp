#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "view_support.h"

namespace fs = std::filesystem;

// A click that chooses a menu entry over the view, and the dialog that entry
// opens, belong to the menu and the dialog: in every edit tool and resource
// mode the level and the image stay as they were, and nothing waits to be
// undone or saved.

namespace {

constexpr int kLevel = 0x16;  // the level the editor opens
constexpr int kBarY = 29;
constexpr int kViewX = 4, kViewY = 60;
// The tile picker: at the right of the view, cells of 36 x 46 pixels under a 48-pixel brush preview.
constexpr int kPickerX = 776 - 16 - (4 * 36 + 8);
// Menu titles and entries (window pixels); every entry's row lies over the view, which starts at y 60.
constexpr int kFileX = 10, kLevelX = 70;
constexpr int kModeTitleX = 722, kModeEntryX = 680, kModeFirstEntryY = 47, kModeEntryStep = 21;
constexpr int kPaletteEditorEntry = 3, kHexEditorEntry = 5;
// The hex editor's cursor shade on offset 0, where it stands on entry.
constexpr int kHexCursorX = 4 + 63, kHexCursorY = 60 + 3;
constexpr unsigned kHexCursorShade = 0x606060;

struct Case {
  const char* what;
  const char* tool_key;     // Ctrl+key choosing an edit tool, or nullptr
  int mode_entry;           // Mode menu entry of a resource mode, or -1
  int title_x;              // the menu opened by a click
  int entry_x, entry_y;     // the entry chosen by a click, over the view
  const char* dialog_kind;  // the dialog the entry opens
};

class StrayClickEndToEnd : public e2e::EndToEndTest, public ::testing::WithParamInterface<Case> {
 protected:
  // A click held long enough for a logic update of an idle program to see it.
  void ClickWindow(int x, int y) {
    e2e::MouseMove(wx + x, wy + y);
    e2e::Hold(150);
    e2e::MouseDown();
    e2e::Hold(120);
    e2e::MouseUp();
    e2e::Hold(150);
  }
  std::string Title() const {
    return e2e::RunCommand("xdotool getwindowname " + std::to_string(app->window()) + " 2>/dev/null");
  }
};

TEST_P(StrayClickEndToEnd, AMenuEntryAndItsDialogLeaveTheImageAlone) {
  const Case& c = GetParam();
  const fs::path rom = dir / "game.smc";
  const std::vector<unsigned char>& original = e2e::Demo().rom;
  {
    std::ofstream out(rom, std::ios::binary);
    out.write(reinterpret_cast<const char*>(original.data()), static_cast<std::streamsize>(original.size()));
  }
  e2e::LaunchOptions options;
  options.configuration_ini = e2e::ConfigurationWith({}, e2e::Demo().config);
  // The file, yes to the unknown image, the alpha notice, then the chosen entry's dialog is cancelled.
  options.dialog_answers = {rom.string(), "yes", "ok", "cancel"};
  LaunchEditor(options);
  if (HasFatalFailure()) return;
  if (c.tool_key != nullptr) e2e::Chord("ctrl", c.tool_key);
  if (c.tool_key != nullptr && std::string(c.tool_key) == "1") {
    // A brush that differs from the entry under the menu entry, so a stray press would change the map.
    const int col = (c.entry_x - kViewX) / 32, row = (c.entry_y - kViewY) / 32;
    const int tile = (e2e::Demo().Level(kLevel)->MapAt(col, row) & 0x3FFF) == 5 ? 6 : 5;
    e2e::Key("Tab");
    ClickWindow(kPickerX + 4 + (tile % 4) * 36 + 18, kViewY + 48 + (tile / 4) * 46 + 16);
    e2e::Key("Tab");
  }
  if (c.mode_entry >= 0) {
    ClickWindow(kModeTitleX, kBarY);
    ClickWindow(kModeEntryX, kModeFirstEntryY + kModeEntryStep * c.mode_entry);
    ASSERT_TRUE(app->WaitForMode(c.mode_entry == kHexEditorEntry ? 5 : 4)) << app->Stderr();
  }
  const std::size_t dialogs_before = app->DialogLog().size();
  ClickWindow(c.title_x, kBarY);
  ClickWindow(c.entry_x, c.entry_y);
  ASSERT_TRUE(app->WaitForDialog(c.dialog_kind)) << app->Stderr();
  const unsigned long long after = app->Passes();
  app->WaitForPasses(after, 6);

  // No step waits: the title has no unsaved-edits mark, and the close asks nothing.
  const std::string title = Title();
  EXPECT_EQ(title.find(" *"), std::string::npos) << title;
  if (c.mode_entry == kHexEditorEntry) {
    e2e::Screenshot shot;
    ASSERT_TRUE(e2e::TakeScreenshot(shot));
    EXPECT_EQ(shot.Pixel(wx + kHexCursorX, wy + kHexCursorY), kHexCursorShade) << "the cursor moved";
  }
  e2e::Key("Escape");
  EXPECT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
  const std::vector<e2e::DialogLogEntry> log = app->DialogLog();
  ASSERT_EQ(log.size(), dialogs_before + 1) << "only the entry's own dialog";
  EXPECT_EQ(log.back().kind, c.dialog_kind);
  EXPECT_TRUE(e2e::ReadBytes(rom) == original) << "the image file changed";
}

INSTANTIATE_TEST_SUITE_P(
    EveryToolAndMode, StrayClickEndToEnd,
    ::testing::Values(Case{"TileMap_SaveIps", "1", -1, kFileX, 30, 132, "save"},
                      Case{"TileMap_Settings", "1", -1, kLevelX, 80, 134, "form"},
                      Case{"Objects_SaveBps", "3", -1, kFileX, 30, 153, "save"},
                      Case{"BananaMap_Settings", "5", -1, kLevelX, 80, 134, "form"},
                      Case{"PaletteEditor_SaveIps", nullptr, kPaletteEditorEntry, kFileX, 60, 111, "save"},
                      Case{"HexEditor_SaveIps", nullptr, kHexEditorEntry, kFileX, 90, 111, "save"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.what); });

}  // namespace
