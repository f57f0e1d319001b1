#pragma once

#include "platform/allegro_include.h"

// The level view's scroll bars. The view that owns them hands them, on every
// update, the level's extent in level pixels and its view position, which a
// thumb drag moves; the window's size comes from the GUI root (EditorViewFrame).

// The horizontal scroll bar, on the row above the status bar.
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

  // Thumb dragging over a level `level_w` pixels wide: a drag sets `view_x`.
  // Runs before the keys move the view.
  void PreProc(int level_w, int& view_x);
  // Places the thumb for the (clamped) view position `view_x`.
  void Proc(int level_w, int view_x);
  void Draw(BITMAP* bmp);
};

// The vertical scroll bar, in the column at the window's right side.
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

  // As the horizontal bar's, for a level `level_h` pixels high and `view_y`.
  void PreProc(int level_h, int& view_y);
  void Proc(int level_h, int view_y);
  void Draw(BITMAP* bmp);
};
