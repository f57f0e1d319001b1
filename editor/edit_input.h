#pragma once

// What the edit modes read of the user's input in one logic update of the
// level editor, taken once so each mode sees the same picture.

// A rectangle of pixels, [x0, x1) x [y0, y1).
struct LevelBox {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool Contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
  bool Meets(const LevelBox& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

struct EditInput {
  int wx = 0, wy = 0;       // mouse, window pixels
  int lx = 0, ly = 0;       // the level point under the mouse
  bool in_view = false;     // the mouse is over the level view (no menu open)
  int left = 0;             // left button: 0 idle, 1 just pressed, 2 held, 3 just released
  bool right_pressed = false;
  bool double_click = false;  // this press is the second of a double click
  int wheel = 0;              // notches turned since the last update (positive: away from the user)
  bool shift = false, ctrl = false;
  bool tab = false, h = false, v = false, enter = false;  // pressed in this update
};
