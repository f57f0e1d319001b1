#pragma once

#include <vector>

#include "platform/messages.h"

// Window services of the desktop: the program's one window (Allegro's X11 window)
// seen from outside. The calls are safe from any thread and do nothing (or report
// failure) when there is no window yet.
//
// Positions and sizes are screen pixels divided by the window scale: with a scale
// of 2 the program works on a screen of half the size and every one of its pixels
// is shown as 2 x 2 screen pixels, so its logic and layout never see the scale.

struct PlatformRect {
  int left, top, right, bottom;  // right and bottom exclusive
};

// Prepares the freshly created graphics window: no decorations, no size limits
// pinned by the window manager. Called once, right after the graphics mode is set.
void PlatformAdoptWindow();

// Current cursor position on the screen; false when it cannot be read.
bool PlatformGetCursorPos(int& x, int& y);

// The window's rectangle on the screen (right and bottom exclusive); false when unknown.
bool PlatformGetWindowRect(int& left, int& top, int& right, int& bottom);

// Moves and sizes the window; the graphics mode stays the size of the screen and its
// top-left part shows through the window.
void PlatformMoveWindow(int x, int y, int w, int h);

// Brings the window to the top of the stacking order.
void PlatformRaiseWindow();

// Minimises the window (without a window manager, which would keep an icon, it is unmapped).
void PlatformMinimiseWindow();

// Gives the window the outline of a w x h rectangle minus `removed`. A zero w or h
// makes the window invisible. When the window becomes visible it takes the input focus.
void PlatformSetWindowShape(int w, int h, const std::vector<PlatformRect>& removed);

// Whether the window holds the input focus (asks the display: call on a press, not every update).
bool PlatformWindowHasFocus();

// Height of the screen strip that a desktop panel reserves; 0 without one.
int PlatformTaskBarHeight();

// Size of the whole screen (the virtual desktop); 0 x 0 without a display.
void PlatformScreenSize(int& w, int& h);

// Sets the window scale (1-4; other values are ignored). Set at start-up, before
// the window is first placed, and when the settings change it (the caller then
// places the window again).
void PlatformSetWindowScale(int scale);

// The window scale: how many screen pixels show one pixel of the program, each way.
int PlatformWindowScale();

// Where the calls above go, chosen at start-up: the X11 window of Allegro's driver
// (the default), or a window without a display for runs that have none. The window
// scale applies to both.

// A window without a display: it keeps where it was put and how it was shaped, and
// reports the cursor, screen and panel strip it was given. Its numbers are screen
// pixels.
struct HeadlessWindow {
  int x = 0, y = 0, w = 0, h = 0;  // window rectangle
  int cursor_x = 0, cursor_y = 0;  // cursor position on the screen
  int screen_w = 1280, screen_h = 1024;
  int taskbar_h = 0;
  int moves = 0;  // number of PlatformMoveWindow calls
  bool minimised = false;
  bool focused = true;  // what PlatformWindowHasFocus answers
  int shape_w = -1, shape_h = -1;  // last outline; -1 before any
  std::vector<PlatformRect> shape_removed;
};

// Routes every call above to the X11 window.
void PlatformUseX11Window();

// Routes every call above to `window`, which must outlive its use.
void PlatformUseHeadlessWindow(HeadlessWindow& window);
