#pragma once

// Allegro's input globals (mouse position, wheels and buttons, the key array and the shift flags) are
// shared by every test of an executable. Tests that set them restore them, so that no test depends on
// the order the suite runs in (CTest shuffles it).

#include <array>

#include "platform/allegro_include.h"

// Saves the input globals when made and writes them back when destroyed, whatever way the test ends.
class InputStateGuard {
 public:
  InputStateGuard();
  ~InputStateGuard();
  InputStateGuard(const InputStateGuard&) = delete;
  InputStateGuard& operator=(const InputStateGuard&) = delete;

 private:
  int mouse_x_, mouse_y_, mouse_z_, mouse_w_, mouse_b_, key_shifts_;
  std::array<char, KEY_MAX> keys_;
};

// Describes how the input globals differ from the state no test has touched (mouse at 0,0, no button,
// no key); "" when they do not. Every test executable fails a test that leaves them changed.
std::string ChangedInputState();
