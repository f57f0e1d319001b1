#include <gtest/gtest.h>

#include "demo/demo_image.h"
#include "editor/classes.h"
#include "gui/HelioWin.h"
#include "platform/dialogs.h"
#include "platform/window.h"
#include "resources/skin.h"
#include "shell/base/variables.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

// A horizontal level sizes the window to 16 tiles of height (604 pixels with
// the frame) and keeps its width; a vertical level leaves the window alone.
TEST(WindowSizeTest, HorizontalLevelsAreSixteenTilesHigh) {
  InitAllegro();
  LoadBuiltinResources();
  const DemoImage demo = BuildDemoImage(1);
  UseConfig(demo.config);
  UseImage(demo.rom);
  PlatformFakeWindow window;
  window.w = 700;
  window.h = 500;
  PlatformUseFakeWindow(&window);
  SetDialogSeam([](const DialogRecord&) { return std::string("ok"); });
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
  SetDialogSeam({});
  PlatformUseFakeWindow(nullptr);
  DestroyBuiltinResources();
  mui = nullptr;
}

}  // namespace
