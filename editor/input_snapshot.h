#pragma once

#include <bitset>

#include "editor/level_box.h"
#include "gui/press_gate.h"
#include "gui/view_frame.h"

// The user's input in one logic update of the level editor, read once from
// Allegro's globals so that the camera, the view's navigation, the layers and
// every tool see the same picture; tests build it by hand. Nothing else in the
// level editor reads the key array, the mouse buttons, the wheel or the mouse
// position.
struct InputSnapshot {
  static constexpr int kKeys = 128;  // Allegro's key codes lie below this

  int wx = 0, wy = 0;       // mouse, window pixels
  int lx = 0, ly = 0;       // the level point under the mouse
  bool in_window = false;   // the mouse is inside the window
  bool in_view = false;     // the mouse is over the level view (no menu open)
  bool menu_open = false;   // a menu of the window is open
  // The buttons as the view sees them (ViewPresses): 0 idle, 1 just pressed,
  // 2 held, 3 just released; a press not aimed at the view reads 0 throughout.
  int left = 0;
  int right = 0;
  bool right_pressed = false;  // right == 1
  bool double_click = false;  // this press is the second of a double click
  int wheel = 0;              // notches turned since the last update (positive: away from the user)
  int wheel_x = 0;            // sideways notches since the last update
  bool shift = false, ctrl = false, alt = false;
  std::bitset<kKeys> pressed;  // keys that went down in this update
  std::bitset<kKeys> held;     // keys down in this update (none while a menu takes the keys)

  // Whether key `scancode` went down in this update; Plain: without Ctrl or Alt.
  bool Pressed(int scancode) const { return scancode >= 0 && scancode < kKeys && pressed[scancode]; }
  bool PlainPressed(int scancode) const { return Pressed(scancode) && !ctrl && !alt; }
  // Whether key `scancode` is down in this update.
  bool Held(int scancode) const { return scancode >= 0 && scancode < kKeys && held[scancode]; }
  // Marks key `scancode` as gone down in this update (for snapshots built by hand).
  void Press(int scancode) {
    if (scancode >= 0 && scancode < kKeys) {
      pressed.set(scancode);
      held.set(scancode);
    }
  }
  // Marks key `scancode` as held down (for snapshots built by hand).
  void Hold(int scancode) {
    if (scancode >= 0 && scancode < kKeys) held.set(scancode);
  }
  // Whether the user acted in this update: a key or a mouse button went down.
  bool Acted() const { return pressed.any() || left == 1 || right_pressed; }
  // While F is held the view draws, and the tools hit, every object mirrored.
  bool MirrorsObjects() const;
};

// Reads the snapshots of successive logic updates; keeps what the edges of
// keys, buttons and the wheel are measured against, and where each press began.
class InputReader {
 public:
  // The input of this update over the view `frame` (window to level through the
  // view transform). Call once per logic update, after the GUI root's Proc.
  InputSnapshot Take(const ViewFrame& frame);
  // Starts afresh as the view is entered: what happened while another mode ran
  // (the wheel turned, a button pressed on a menu) is not replayed, and a
  // button held at entry is the view's only after it was released.
  void Restart();

 private:
  std::bitset<InputSnapshot::kKeys> down_;
  int right_ = 0;  // the right button's raw four states
  ViewPresses presses_;
  int mouse_z_ = 0, mouse_w_ = 0;
  bool wheel_known_ = false;
  long update_ = 0;  // logic updates counted
  long last_press_ = -1000;
  int press_x_ = 0, press_y_ = 0;
};

// Places the snapshot's mouse in the level again after the camera moved.
void PlaceInLevel(InputSnapshot& in);
