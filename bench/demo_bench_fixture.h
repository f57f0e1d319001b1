#pragma once

// The setting of the benchmarks that compose the program's window off-screen:
// Allegro without a display, the demo image in channel 0x10 with its game
// configuration, the built-in skin and a GUI root of the editor's 776 x 604
// window. A fake screen large enough for a window scaled 2x stands behind it:
// without one the window sizing would shrink the GUI root to nothing.

#include "platform/allegro_include.h"

#include <cerrno>
#include <cstdlib>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "gui/HelioWin.h"
#include "platform/config_lock.h"
#include "platform/window.h"
#include "resources/skin.h"
#include "rom/globaldata.h"
#include "shell/base/variables.h"

struct DemoBenchFixture {
  DemoImage demo = BuildDemoImage(1);
  HeadlessWindow screen;
  BITMAP* fb = nullptr;
  CHelioGUI* gui = nullptr;

  DemoBenchFixture() {
    screen.screen_w = 2560;
    screen.screen_h = 2048;
    PlatformUseHeadlessWindow(screen);
    install_allegro(SYSTEM_NONE, &errno, std::atexit);
    set_color_depth(32);
    {
      ConfigGuard guard;
      set_config_data(demo.config.data(), static_cast<int>(demo.config.size()));
      ReadGlobalOffsets(qbr1gbl);
    }
    QBR1.assign(demo.rom.begin(), demo.rom.end());
    LoadBuiltinResources();
    gui = new CHelioGUI();
    gui->w = 776;
    gui->h = 604;
    fb = create_bitmap_ex(32, 776, 604);
  }
};
