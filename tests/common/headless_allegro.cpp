#include "tests/common/headless_allegro.h"

#include <cerrno>
#include <cstdlib>

#include "platform/allegro_include.h"

bool StartHeadlessAllegro() {
  // Allegro's system driver stays set until allegro_exit, so this also tells whether Allegro is up.
  if (system_driver == nullptr && install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) return false;
  set_color_depth(32);
  return true;
}
