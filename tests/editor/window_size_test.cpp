#include <gtest/gtest.h>

#include <optional>

#include "demo/demo_image.h"
#include "editor/classes.h"
#include "gui/HelioWin.h"
#include "gui/commands.h"
#include "platform/dialogs.h"
#include "platform/window.h"
#include "shell/base/variables.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

// The headless window, an in-process dialog script and the built-in resources stand in for the desktop while a test
// runs; they are put back whatever way the test ends.
class WindowSizeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAllegro();
    resources_.emplace();
    window_.w = 700;
    window_.h = 500;
    PlatformUseHeadlessWindow(window_);
    PlatformUseScriptedDialogs([](const DialogRecord&) { return std::string("ok"); });
  }
  void TearDown() override {
    PlatformUseDesktopDialogs();
    PlatformUseX11Window();
    mui = nullptr;
    resources_.reset();
  }
  HeadlessWindow window_;
  std::optional<BuiltinResources> resources_;
  Installed<CommandTable> commands_;
};

// A horizontal level sizes the window to 16 tiles of height (604 pixels with
// the frame) and keeps its width; a vertical level leaves the window alone.
TEST_F(WindowSizeTest, HorizontalLevelsAreSixteenTilesHigh) {
  const DemoImage demo = BuildDemoImage(1);
  UseConfig(demo.config);
  UseImage(demo.rom);
  CHelioGUI gui;

  struct Case {
    int level;
    bool horizontal;
  };
  for (const Case& c : {Case{0x40, false}, Case{0x16, true}}) {
    ASSERT_EQ(demo.Level(c.level)->sequencing == 0, c.horizontal) << c.level;
    gui.w = 700;
    gui.h = 500;
    CCamera camera(c.level);
    EXPECT_EQ(gui.w, 700) << c.level;
    EXPECT_EQ(gui.h, c.horizontal ? 604 : 500) << c.level;
  }
}

}  // namespace
