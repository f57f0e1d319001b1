#include "platform/window.h"

#include <atomic>

#include "platform/window_backend.h"

namespace {

// The chosen backend; nullptr until one is chosen, which means the X11 window.
std::atomic<const WindowBackend*> backend{nullptr};

const WindowBackend& Backend() {
  const WindowBackend* chosen = backend.load();
  return chosen != nullptr ? *chosen : X11WindowBackend();
}

// The program's coordinates are screen pixels divided by the scale. Positions
// read from the screen round down, so a cursor anywhere on the 2 x 2 block of a
// pixel is on that pixel.
std::atomic<int> window_scale{1};

int Down(int v) {
  const int s = window_scale.load();
  return v >= 0 ? v / s : -((-v + s - 1) / s);
}

}  // namespace

void PlatformSetWindowScale(int scale) {
  if (scale >= 1 && scale <= 4) window_scale = scale;
}

int PlatformWindowScale() { return window_scale.load(); }

bool PlatformGetCursorPos(int& x, int& y) {
  if (!Backend().cursor_pos(x, y)) return false;
  x = Down(x);
  y = Down(y);
  return true;
}

bool PlatformGetWindowRect(int& left, int& top, int& right, int& bottom) {
  if (!Backend().window_rect(left, top, right, bottom)) return false;
  left = Down(left);
  top = Down(top);
  right = Down(right);
  bottom = Down(bottom);
  return true;
}

void PlatformMoveWindow(int x, int y, int w, int h) {
  const int s = window_scale.load();
  Backend().move(x * s, y * s, w * s, h * s);
}

void PlatformSetWindowShape(int w, int h, const std::vector<PlatformRect>& removed) {
  const int s = window_scale.load();
  if (s == 1) {
    Backend().set_shape(w, h, removed);
    return;
  }
  std::vector<PlatformRect> scaled;
  scaled.reserve(removed.size());
  for (const PlatformRect& r : removed) scaled.push_back({r.left * s, r.top * s, r.right * s, r.bottom * s});
  Backend().set_shape(w * s, h * s, scaled);
}

int PlatformTaskBarHeight() {
  // A reserved strip that covers part of a pixel covers the whole pixel.
  const int s = window_scale.load();
  return (Backend().taskbar_height() + s - 1) / s;
}

void PlatformScreenSize(int& w, int& h) {
  Backend().screen_size(w, h);
  w = Down(w);
  h = Down(h);
}

bool PlatformWindowHasFocus() { return Backend().has_focus(); }

void PlatformUseX11Window() { backend = &X11WindowBackend(); }

void PlatformUseHeadlessWindow(HeadlessWindow& window) { backend = &HeadlessWindowBackend(window); }

void PlatformAdoptWindow() { Backend().adopt(); }

void PlatformRaiseWindow() { Backend().raise(); }

void PlatformMinimiseWindow() { Backend().minimise(); }
