#pragma once

#include <vector>

#include "platform/window.h"

// One window backend: the window services of window.h in screen pixels, before
// the window scale. window.cpp routes every call to the chosen one.
struct WindowBackend {
  void (*adopt)();
  bool (*cursor_pos)(int& x, int& y);
  bool (*window_rect)(int& left, int& top, int& right, int& bottom);
  void (*move)(int x, int y, int w, int h);
  void (*raise)();
  void (*minimise)();
  void (*set_shape)(int w, int h, const std::vector<PlatformRect>& removed);
  int (*taskbar_height)();
  void (*screen_size)(int& w, int& h);
  bool (*has_focus)();
};

// The window Allegro's X11 driver made.
const WindowBackend& X11WindowBackend();

// The headless window over `window`, which must outlive its use.
const WindowBackend& HeadlessWindowBackend(HeadlessWindow& window);
