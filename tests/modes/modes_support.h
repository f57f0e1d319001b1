#pragma once

#include "demo/demo_image.h"

// Shared set-up of the resource mode tests: Allegro without a display and the
// demo image in channel 0x10 with its game configuration and a fresh edit history.
namespace modes_test {

// The demo image, built once per process.
const DemoImage& Demo();

// Starts Allegro without a display (once) and installs the demo image as
// opened: channel 0x10, configuration, edit history. Returns false on failure.
bool InstallDemo();

// Empties channel 0x10 and the edit history again.
void RemoveImage();

}  // namespace modes_test
