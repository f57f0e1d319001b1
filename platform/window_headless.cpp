#include <atomic>

#include "platform/window_backend.h"

namespace {

std::atomic<HeadlessWindow*> state{nullptr};

HeadlessWindow& Window() { return *state.load(); }

void Adopt() {}

bool CursorPos(int& x, int& y) {
  x = Window().cursor_x;
  y = Window().cursor_y;
  return true;
}

bool WindowRect(int& left, int& top, int& right, int& bottom) {
  const HeadlessWindow& w = Window();
  left = w.x;
  top = w.y;
  right = w.x + w.w;
  bottom = w.y + w.h;
  return true;
}

void Move(int x, int y, int w, int h) {
  HeadlessWindow& window = Window();
  window.x = x;
  window.y = y;
  window.w = w;
  window.h = h;
  ++window.moves;
}

void Raise() {}

void Minimise() { Window().minimised = true; }

void SetShape(int w, int h, const std::vector<PlatformRect>& removed) {
  HeadlessWindow& window = Window();
  window.shape_w = w;
  window.shape_h = h;
  window.shape_removed = removed;
}

int TaskbarHeight() { return Window().taskbar_h; }

void ScreenSize(int& w, int& h) {
  w = Window().screen_w;
  h = Window().screen_h;
}

bool HasFocus() { return Window().focused; }

constexpr WindowBackend kHeadless = {Adopt,    CursorPos, WindowRect,    Move,      Raise,
                                     Minimise, SetShape,  TaskbarHeight, ScreenSize, HasFocus};

}  // namespace

const WindowBackend& HeadlessWindowBackend(HeadlessWindow& window) {
  state = &window;
  return kHeadless;
}
