#pragma once

// The start of the benchmarks: Allegro without a display, and the demo image
// opened as the program opens an image (channel 0x10, its game configuration,
// its edit history).

#include "platform/allegro_include.h"

#include <cerrno>
#include <cstdlib>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "platform/config_lock.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"

// Starts Allegro without a display at 32 bits per pixel.
inline void StartBenchAllegro() {
  install_allegro(SYSTEM_NONE, &errno, std::atexit);
  set_color_depth(32);
}

// Makes `demo`'s game configuration the one in force (table offsets read) and
// its image the one in channel 0x10, its edit history starting from it.
inline void OpenDemoImage(const DemoImage& demo) {
  {
    ConfigGuard guard;
    set_config_data(demo.config.data(), static_cast<int>(demo.config.size()));
    ReadGlobalOffsets(qbr1gbl);
  }
  BFA_Activate(0x10, 1);
  QBR1.assign(demo.rom.begin(), demo.rom.end());
  QBR1_ResetEdits(demo.rom, 0);
}
