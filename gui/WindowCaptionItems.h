#pragma once

#include <cstdint>

#include "platform/allegro_include.h"

// The caption icon at the left of the caption bar.
class CHG_Icon {
 public:
  BITMAP* bmp = nullptr;  // the caption icon (not owned)
  uint16_t data = 0;

  CHG_Icon();
  // Draws the whole icon masked at (x, y); nothing without a bitmap.
  void Draw(BITMAP* dest, int x, int y);
};

// The five caption buttons. Bits 2i and 2i+1 of `data` hold the state of button i
// (0 disabled, 1 normal, 2 hover, 3 pressed), bit 10+i whether it is shown.
class CHG_WBtnArr {
 public:
  uint16_t data = 0xB441;  // close and minimise normal, maximise shown disabled, restore and help hidden
  uint16_t btdn = 0;       // 1 + index of the button the left button went down on, or 0

  // Tracks the mouse over the buttons laid out leftward from x_right; a button fires
  // (CaptionButtonFunction) when the left button goes down and comes up on it.
  // Returns true when no button is under the cursor or held.
  bool Proc(int x_right, int y);
  // Draws each shown button in its state.
  void Draw(BITMAP* dest, int x_right, int y);

  int State(int i) const { return (data >> (2 * i)) & 3; }
  bool Shown(int i) const { return (data >> (10 + i)) & 1; }
  void SetState(int i, int state) {
    data = static_cast<uint16_t>((data & ~(3u << (2 * i))) | (static_cast<unsigned>(state & 3) << (2 * i)));
  }
  // Left edge of shown button i: the first shown one at x_right - 20, each further one 21 to the left.
  static int ButtonLeft(const CHG_WBtnArr& arr, int i, int x_right);
};

// The caption bar: icon, buttons, and moving the window by dragging it.
class CHG_WCaption {
 public:
  CHG_Icon* ico = nullptr;
  CHG_WBtnArr* btn = nullptr;
  int move_x = 0, move_y = 0;  // cursor screen position when the drag began
  int orig_x = 0, orig_y = 0;  // window's screen position when the drag began
  bool move_z = false;         // a move is in progress

  CHG_WCaption();
  ~CHG_WCaption();
  CHG_WCaption(const CHG_WCaption&) = delete;
  CHG_WCaption& operator=(const CHG_WCaption&) = delete;

  // Buttons first; a press on the caption beside them starts a move that follows the
  // cursor (kept on the screen above the task bar) until the button is released.
  void Proc(int w, int h);
  // Draws the caption band of width w, the buttons and the icon.
  void Draw(BITMAP* dest, int w);
};
