#pragma once

#include "shell/base/include.h"

struct leveldata;

// The level view's horizontal scroll bar, on the row above the status bar.
// Dragging its thumb writes the view's x straight into the live camera.
class CHG_HScrollBar {
 public:
  int LB_State = 0;      // left arrow button state; nothing changes it from 0
  int RB_State = 0;      // right arrow button state; nothing changes it from 0
  float draw_loc_x = 0;  // the thumb's left edge (window x)
  float draw_loc_w = 0;  // the thumb's length
  bool scr_z = false;    // a thumb drag is in progress
  int scr_x = 0;         // cursor x when the drag began
  float bar_x = 0;       // draw_loc_x when the drag began
  float bar_w = 0;       // level pixels per track pixel during the drag

  // Thumb dragging; runs before the keys move the view.
  void PreProc(leveldata& lvl, int x, int y);
  // Places the thumb for the (clamped) view position.
  void Proc(leveldata& lvl, int x, int y);
  void Draw(BITMAP* bmp);
};

// The level view's vertical scroll bar, in the column at the window's right side.
class CHG_VScrollBar {
 public:
  int TB_State = 0;
  int BB_State = 0;
  float draw_loc_y = 0;
  float draw_loc_h = 0;
  bool scr_z = false;
  int scr_y = 0;
  float bar_y = 0;
  float bar_h = 0;

  void PreProc(leveldata& lvl, int x, int y);
  void Proc(leveldata& lvl, int x, int y);
  void Draw(BITMAP* bmp);
};
