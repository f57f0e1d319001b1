#include <gtest/gtest.h>

#include <memory>

#include "e2e_support.h"
#include "tests/common/temp_folder.h"

namespace {

// Start-up window geometry (window pixels).
constexpr int kW = 520;
constexpr int kBarY = 29;
constexpr int kFileX = 10, kHelpX = kW - 20;
// The "File" menu: drop-down from (4, 36); "Open..." on rows 38-57, "Recover..." on 59-78, "Exit" on
// 80-99.
constexpr int kExitY = 89;

constexpr uint32_t kMenuFill = 0x303030;
constexpr uint32_t kHighlight = 0x484848;

class MenuEndToEnd : public e2e::EndToEndTest {
 protected:
  void SetUp() override {
    e2e::EndToEndTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    e2e::LaunchOptions options;
    options.dialog_answers = {"cancel", "ok"};
    Launch(options);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(app->WaitForDialogs(2)) << app->Stderr();
    ASSERT_TRUE(app->Geometry(x, y, ww, wh));
    ASSERT_EQ(ww, kW);
  }

  // The pixel at window point (wx, wy) once it is `want` (or, with `differ`, once it is not),
  // polled over a generous deadline since the program draws its next frames at its own pace;
  // the last pixel seen when the deadline passes.
  uint32_t PixelAt(int wx, int wy, uint32_t want, bool differ = false) {
    uint32_t seen = 0;
    WaitUntil([&] {
      e2e::Screenshot shot;
      if (!e2e::TakeScreenshot(shot)) return false;
      seen = shot.Pixel(x + wx, y + wy);
      return (seen == want) != differ;
    });
    return seen;
  }

  int x = 0, y = 0;
};

TEST_F(MenuEndToEnd, OpensHighlightsSwitchesAndChooses) {
  EXPECT_NE(PixelAt(90, 79, kMenuFill, true), kMenuFill);  // closed

  e2e::Click(x + kFileX, y + kBarY);
  EXPECT_EQ(PixelAt(90, 79, kMenuFill), kMenuFill);  // "File" is open

  e2e::MouseMove(x + 50, y + kExitY);
  EXPECT_EQ(PixelAt(90, kExitY, kHighlight), kHighlight);  // "Exit" highlighted
  EXPECT_EQ(PixelAt(90, 45, kMenuFill), kMenuFill);       // "Open..." not

  // Moving onto "Help" opens it and closes "File" without a click.
  e2e::MouseMove(x + kHelpX, y + kBarY);
  EXPECT_NE(PixelAt(90, 79, kMenuFill, true), kMenuFill);
  EXPECT_EQ(PixelAt(kW - 10, 79, kMenuFill), kMenuFill);

  // "About QBRRE..." is the first row of the menu.
  e2e::MouseMove(x + kW - 60, y + 45);
  e2e::Hold(150);
  e2e::Click(x + kW - 60, y + 45);
  ASSERT_TRUE(app->WaitForDialogs(3)) << app->Stderr();
  const auto log = app->DialogLog();
  EXPECT_EQ(log[2].kind, "about");
  EXPECT_EQ(log[2].title, "About QBRRE");
  EXPECT_EQ(log[2].text.rfind("QBR Resource Editor v0.0.6.0", 0), 0u);
  EXPECT_NE(PixelAt(kW - 10, 79, kMenuFill, true), kMenuFill);  // choosing closed the menu
  EXPECT_TRUE(app->Running());
}

TEST_F(MenuEndToEnd, ExitFromTheFileMenuClosesTheProgram) {
  e2e::Click(x + kFileX, y + kBarY);
  e2e::MouseMove(x + 50, y + kExitY);
  e2e::Hold(150);
  e2e::Click(x + 50, y + kExitY);
  EXPECT_EQ(app->WaitForExit(10.0), 0) << app->Stderr();
}

}  // namespace
