#include <gtest/gtest.h>

#include <cstdint>

#include <filesystem>
#include <string>

#include "e2e_support.h"
#include "tests/common/temp_folder.h"
#include "view_support.h"

// The menus of the real program driven by keyboard alone: on the start-up
// screen (File: "Open...", "Recover...", "Exit"; Help: "About QBRRE..." and greyed entries)
// and in the level editor, whose arrow keys must not move the view meanwhile.

namespace {

constexpr int kW = 520, kH = 176;
// A pixel between two rows of an open "File" menu, and one between two rows of "Help".
constexpr int kFileGapX = 90, kHelpGapX = kW - 10, kGapY = 79;
// "Open...", the first row of "File" (rows 38-57); "Exit" is its last row, below the recent
// images when there are any.
constexpr int kOpenY = 48, kBelowOpenY = 59;

constexpr uint32_t kMenuFill = 0x303030;
constexpr uint32_t kHighlight = 0x484848;

class MenuKeysEndToEnd : public e2e::EndToEndTest {
 protected:
  void SetUp() override {
    e2e::EndToEndTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    e2e::LaunchOptions options;
    options.dialog_answers = {"cancel", "ok", "ok"};  // Open cancelled, its notice, then About
    Launch(options);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(app->WaitForDialogs(2)) << app->Stderr();
    // The window is made screen-sized and then given the start-up screen's size.
    ASSERT_TRUE(app->WaitForSize(kW, kH)) << app->Stderr();
    ASSERT_TRUE(app->Geometry(wx, wy, ww, wh));
  }

  // Whether the pixel at window point (x, y) becomes `want` (or, with `differ`,
  // anything else) within a generous deadline: the program draws at its own pace.
  bool PixelBecomes(int x, int y, uint32_t want, bool differ = false) {
    return WaitUntil([&] {
      e2e::Screenshot shot;
      return e2e::TakeScreenshot(shot) && (shot.Pixel(wx + x, wy + y) == want) != differ;
    });
  }
};

TEST_F(MenuKeysEndToEnd, AltAndALetterOpensAMenuAndEnterRunsItsEntry) {
  ASSERT_TRUE(PixelBecomes(kHelpGapX, kGapY, kMenuFill, true));  // closed
  e2e::Chord("alt", "h");
  EXPECT_TRUE(PixelBecomes(kHelpGapX, kGapY, kMenuFill)) << "Help did not open";
  // "About QBRRE..." is highlighted on opening; Down passes over the greyed entries back to it.
  e2e::Key("Down");
  e2e::Key("Return");
  ASSERT_TRUE(app->WaitForDialogs(3)) << app->Stderr();
  const auto log = app->DialogLog();
  EXPECT_EQ(log[2].kind, "about");
  EXPECT_EQ(log[2].title, "About QBRRE");
  EXPECT_TRUE(PixelBecomes(kHelpGapX, kGapY, kMenuFill, true)) << "choosing did not close the menu";
  EXPECT_TRUE(app->Running());
}

TEST_F(MenuKeysEndToEnd, EscapeClosesTheMenuWithoutRunningTheHighlightedEntry) {
  e2e::Key("F10");
  ASSERT_TRUE(PixelBecomes(kFileGapX, kGapY, kMenuFill)) << "F10 did not open File";
  e2e::Key("Up");  // from the first entry round to the last, "Exit"
  EXPECT_TRUE(WaitUntil([&] {
    e2e::Screenshot shot;
    if (!e2e::TakeScreenshot(shot) || shot.Pixel(wx + kFileGapX, wy + kOpenY) == kHighlight) return false;
    // The highlighted row is the last one: the menu's fill follows it no more.
    int last = -1;
    for (int y = kBelowOpenY; y < kH; ++y) {
      if (shot.Pixel(wx + kFileGapX, wy + y) == kHighlight) last = y;
    }
    return last > 0 && shot.Pixel(wx + kFileGapX, wy + last + 3) != kMenuFill &&
           shot.Pixel(wx + kFileGapX, wy + last + 3) != kHighlight;
  })) << "Exit is not highlighted";
  e2e::Key("Escape");
  EXPECT_TRUE(PixelBecomes(kFileGapX, kGapY, kMenuFill, true)) << "Escape did not close File";
  // Neither "Exit" nor the close that Escape asks for without a menu happened.
  e2e::Hold(300);
  EXPECT_TRUE(app->Running());
  EXPECT_EQ(app->DialogLog().size(), 2u);

  // The same keys with Enter run "Exit".
  e2e::Key("F10");
  ASSERT_TRUE(PixelBecomes(kFileGapX, kGapY, kMenuFill));
  e2e::Key("Up");
  e2e::Key("Return");
  EXPECT_EQ(app->WaitForExit(10.0), 0) << app->Stderr();
}

// Level 0x16 of the demo is 96 x 16 tiles: Right would scroll its view 32 pixels an update.
class MenuKeysInTheEditor : public e2e::EndToEndTest {};

TEST_F(MenuKeysInTheEditor, ArrowsMoveBetweenMenusAndNotTheView) {
  constexpr int kLevel = 0x16;
  constexpr unsigned kPosition = 0x01000000;  // x 256, y 0
  e2e::LaunchOptions options;
  options.args = {"--demo"};
  options.configuration_ini = e2e::ConfigurationWith({{kLevel, kPosition}});
  LaunchEditor(options);
  if (HasFatalFailure()) return;
  // A pixel between the second and third rows of an open "View" menu.
  constexpr int kViewMenuX = 180, kViewMenuY = 79;
  e2e::Chord("alt", "v");
  ASSERT_TRUE(WaitUntil([&] {
    e2e::Screenshot shot;
    return e2e::TakeScreenshot(shot) && shot.Pixel(wx + kViewMenuX, wy + kViewMenuY) == kMenuFill;
  })) << "View did not open";
  e2e::Key("Right");  // "Mode"
  e2e::Key("Right");  // "Help"
  e2e::Key("Down");
  e2e::Key("Escape");  // closes "Help"
  e2e::Key("Escape");  // closes the program, which keeps the view's position
  ASSERT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
  const auto keys = e2e::LevelDisplayKeys(std::filesystem::path(app->workdir()) / "Configuration.INI");
  const auto it = keys.find(e2e::Hex(kLevel, 2));
  ASSERT_NE(it, keys.end());
  EXPECT_EQ(it->second, e2e::Hex(kPosition, 8));
}

}  // namespace
