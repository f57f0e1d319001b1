#pragma once

#include <bitset>

#include "editor/level_box.h"
#include "gui/view_frame.h"

// The user's input in one logic update of the level editor, read once from
// Allegro's globals so that every tool sees the same picture, and built by hand
// in tests.
struct InputSnapshot {
  static constexpr int kKeys = 128;  // Allegro's key codes lie below this

  int wx = 0, wy = 0;       // mouse, window pixels
  int lx = 0, ly = 0;       // the level point under the mouse
  bool in_view = false;     // the mouse is over the level view (no menu open)
  int left = 0;             // left button: 0 idle, 1 just pressed, 2 held, 3 just released
  int right = 0;              // right button: as `left`
  bool right_pressed = false;  // right == 1
  bool double_click = false;  // this press is the second of a double click
  int wheel = 0;              // notches turned since the last update (positive: away from the user)
  bool shift = false, ctrl = false, alt = false;
  std::bitset<kKeys> pressed;  // keys that went down in this update

  // Whether key `scancode` went down in this update; Plain: without Ctrl or Alt.
  bool Pressed(int scancode) const { return scancode >= 0 && scancode < kKeys && pressed[scancode]; }
  bool PlainPressed(int scancode) const { return Pressed(scancode) && !ctrl && !alt; }
  // Marks key `scancode` as gone down in this update (for snapshots built by hand).
  void Press(int scancode) {
    if (scancode >= 0 && scancode < kKeys) pressed.set(scancode);
  }
  // Whether the user acted in this update: a key or a mouse button went down.
  bool Acted() const { return pressed.any() || left == 1 || right_pressed; }
};

// Reads the snapshots of successive logic updates; keeps what the edges of
// keys, buttons and the wheel are measured against.
class InputReader {
 public:
  // The input of this update over the view `frame` (window to level through the
  // view transform).
  InputSnapshot Take(const ViewFrame& frame);

 private:
  std::bitset<InputSnapshot::kKeys> down_;
  bool right_down_ = false;
  int mouse_z_ = 0;
  bool wheel_known_ = false;
  long update_ = 0;  // logic updates counted
  long last_press_ = -1000;
  int press_x_ = 0, press_y_ = 0;
};
