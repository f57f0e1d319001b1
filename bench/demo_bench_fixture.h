#pragma once

// The setting of the benchmarks that compose the program's window off-screen:
// Allegro without a display, the demo image opened (channel 0x10, its game
// configuration, its edit history), a command table and an edit tool box of its
// own, the built-in skin and a GUI root of the editor's 776 x 604 window. A fake
// screen large enough for a window scaled 2x stands behind it: without one the
// window sizing would shrink the GUI root to nothing.

#include "bench/demo_setting.h"
#include "editor/edit_tools.h"
#include "gui/HelioWin.h"
#include "gui/commands.h"
#include "platform/window.h"
#include "resources/skin.h"
#include "shell/base/installed.h"
#include "shell/base/variables.h"

struct DemoBenchFixture {
  Installed<CommandTable> commands;
  Installed<EditToolBox> edit_tools;
  DemoImage demo = BuildDemoImage(1);
  HeadlessWindow screen;
  BITMAP* fb = nullptr;
  CHelioGUI* gui = nullptr;

  DemoBenchFixture() {
    screen.screen_w = 2560;
    screen.screen_h = 2048;
    PlatformUseHeadlessWindow(screen);
    StartBenchAllegro();
    OpenDemoImage(demo);
    LoadBuiltinResources();
    gui = new CHelioGUI();
    gui->w = 776;
    gui->h = 604;
    fb = create_bitmap_ex(32, 776, 604);
  }
};
