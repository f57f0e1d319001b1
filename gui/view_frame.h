#pragma once

#include <algorithm>

// A view in the window: the window's size w x h, which bounds the walks of the
// view's drawing, and the view area inside it, from the origin (ox, oy), the
// frame pixel where the view's first point appears (for the level view: level
// point (camera x, camera y)), to `right` pixels before the right edge and
// `bottom` pixels above the bottom edge, which the frame's pieces there cover
// (border, scroll bars, status bar).
// The level editor uses the GUI root's size with the view at (4, 60) below the
// caption, menu bar and toolbar, and its scroll bars at the right and bottom;
// the resource modes the same window without scroll bars; an off-screen export
// a picture the size of the level with the level at (0, 0) and no margins.
struct ViewFrame {
  int w = 0;
  int h = 0;
  int ox = 4;
  int oy = 60;
  int right = 16;   // right border and vertical scroll bar
  int bottom = 32;  // horizontal scroll bar, status bar and bottom border

  // Size of the view area (0 when the window leaves none).
  int AreaW() const { return std::max(0, w - right - ox); }
  int AreaH() const { return std::max(0, h - bottom - oy); }
  // Whether frame pixel (px, py) lies in the view area.
  bool InArea(int px, int py) const { return px >= ox && py >= oy && px < w - right && py < h - bottom; }
};

// The view frame of the editor window: the GUI root's size, or 776x604 before
// a GUI root exists.
ViewFrame EditorViewFrame();

// The view frame of a resource mode: the GUI root's window without scroll bars
// (the right border of 4 pixels, the status bar and bottom border of 20); no
// area before a GUI root exists.
ViewFrame ResourceViewFrame();
