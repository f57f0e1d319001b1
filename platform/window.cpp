#include "shell/base/include.h"

#include <xalleg.h>
#include <X11/Xatom.h>
#include <X11/extensions/shape.h>

#include <atomic>

#include "platform/window.h"

namespace {

std::atomic<PlatformFakeWindow*> fake_window{nullptr};

// The window is shown (has a non-empty outline); the focus is taken on the change.
bool shown = false;

// Holds Allegro's X lock for one call; every Xlib call of the program goes through it,
// because Allegro's own background thread talks to the same connection.
// Allegro's macros step a volatile counter, which C++20 deprecates; the macros are
// used as they stand, so that warning is silenced for them alone.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-volatile"
#else
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wvolatile"
#endif
class XLock {
 public:
  XLock() { XLOCK(); }
  ~XLock() { XUNLOCK(); }
  XLock(const XLock&) = delete;
  XLock& operator=(const XLock&) = delete;
};
#if defined(__clang__)
#pragma clang diagnostic pop
#else
#pragma GCC diagnostic pop
#endif

// True when Allegro has a display and a top-level window; call under XLock.
bool HaveWindow() { return _xwin.display != nullptr && _xwin.wm_window != None; }

Window RootOf() { return RootWindow(_xwin.display, _xwin.screen); }

// A window manager that follows the desktop conventions announces itself on the root.
bool WindowManagerRunning() {
  Atom check = XInternAtom(_xwin.display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  bool found = XGetWindowProperty(_xwin.display, RootOf(), check, 0, 1, False, XA_WINDOW, &type, &format, &count,
                                  &after, &data) == Success &&
               data != nullptr && count == 1;
  if (data) XFree(data);
  return found;
}

}  // namespace


void PlatformUseFakeWindow(PlatformFakeWindow* fake) { fake_window = fake; }

void PlatformAdoptWindow() {
  if (fake_window) return;
  XLock lock;
  if (!HaveWindow()) return;
  // Motif hints: flags = decorations present, decorations = none.
  long motif[5] = {2, 0, 0, 0, 0};
  Atom motif_atom = XInternAtom(_xwin.display, "_MOTIF_WM_HINTS", False);
  XChangeProperty(_xwin.display, _xwin.wm_window, motif_atom, motif_atom, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(motif), 5);
  // Allegro pins minimum = maximum = mode size; the window is resized freely.
  XSizeHints* hints = XAllocSizeHints();
  if (hints) {
    hints->flags = PMinSize;
    hints->min_width = 1;
    hints->min_height = 1;
    XSetWMNormalHints(_xwin.display, _xwin.wm_window, hints);
    XFree(hints);
  }
  XFlush(_xwin.display);
}

static bool ScreenGetCursorPos(int& x, int& y) {
  if (PlatformFakeWindow* f = fake_window) {
    x = f->cursor_x;
    y = f->cursor_y;
    return true;
  }
  XLock lock;
  if (_xwin.display == nullptr) return false;
  Window root_return = None, child = None;
  int root_x = 0, root_y = 0, win_x = 0, win_y = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(_xwin.display, RootOf(), &root_return, &child, &root_x, &root_y, &win_x, &win_y, &mask))
    return false;
  x = root_x;
  y = root_y;
  return true;
}

static bool ScreenGetWindowRect(int& left, int& top, int& right, int& bottom) {
  if (PlatformFakeWindow* f = fake_window) {
    left = f->x;
    top = f->y;
    right = f->x + f->w;
    bottom = f->y + f->h;
    return true;
  }
  XLock lock;
  if (!HaveWindow()) return false;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(_xwin.display, _xwin.wm_window, &attributes)) return false;
  int x = 0, y = 0;
  Window child = None;
  if (!XTranslateCoordinates(_xwin.display, _xwin.wm_window, RootOf(), 0, 0, &x, &y, &child)) return false;
  left = x;
  top = y;
  right = x + attributes.width;
  bottom = y + attributes.height;
  return true;
}

static void ScreenMoveWindow(int x, int y, int w, int h) {
  if (PlatformFakeWindow* f = fake_window) {
    f->x = x;
    f->y = y;
    f->w = w;
    f->h = h;
    ++f->moves;
    return;
  }
  if (w < 1 || h < 1) return;
  XLock lock;
  if (!HaveWindow()) return;
  XMoveResizeWindow(_xwin.display, _xwin.wm_window, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
  XFlush(_xwin.display);
}

void PlatformRaiseWindow() {
  if (fake_window) return;
  XLock lock;
  if (!HaveWindow()) return;
  XRaiseWindow(_xwin.display, _xwin.wm_window);
  XFlush(_xwin.display);
}

void PlatformMinimiseWindow() {
  if (PlatformFakeWindow* f = fake_window) {
    f->minimised = true;
    return;
  }
  XLock lock;
  if (!HaveWindow()) return;
  XIconifyWindow(_xwin.display, _xwin.wm_window, _xwin.screen);
  // The iconify request is addressed to a window manager; without one, hiding the
  // window is what minimising amounts to.
  if (!WindowManagerRunning()) XUnmapWindow(_xwin.display, _xwin.wm_window);
  XFlush(_xwin.display);
}

static void ScreenSetWindowShape(int w, int h, const std::vector<PlatformRect>& removed) {
  if (PlatformFakeWindow* f = fake_window) {
    f->shape_w = w;
    f->shape_h = h;
    f->shape_removed = removed;
    return;
  }
  XLock lock;
  if (!HaveWindow()) return;
  if (w <= 0 || h <= 0) {
    XShapeCombineRectangles(_xwin.display, _xwin.wm_window, ShapeBounding, 0, 0, nullptr, 0, ShapeSet, Unsorted);
    shown = false;
    XFlush(_xwin.display);
    return;
  }
  Region outline = XCreateRegion();
  XRectangle full = {0, 0, static_cast<unsigned short>(w), static_cast<unsigned short>(h)};
  XUnionRectWithRegion(&full, outline, outline);
  for (const PlatformRect& r : removed) {
    if (r.right <= r.left || r.bottom <= r.top) continue;
    Region cut = XCreateRegion();
    XRectangle piece = {static_cast<short>(r.left), static_cast<short>(r.top),
                        static_cast<unsigned short>(r.right - r.left), static_cast<unsigned short>(r.bottom - r.top)};
    XUnionRectWithRegion(&piece, cut, cut);
    XSubtractRegion(outline, cut, outline);
    XDestroyRegion(cut);
  }
  XShapeCombineRegion(_xwin.display, _xwin.wm_window, ShapeBounding, 0, 0, outline, ShapeSet);
  XDestroyRegion(outline);
  if (!shown) {
    // Keys reach the window with or without a window manager only when it holds the focus.
    XWindowAttributes attributes;
    if (XGetWindowAttributes(_xwin.display, _xwin.wm_window, &attributes) && attributes.map_state == IsViewable)
      XSetInputFocus(_xwin.display, _xwin.wm_window, RevertToParent, CurrentTime);
    shown = true;
  }
  XFlush(_xwin.display);
}

static int ScreenTaskBarHeight() {
  if (PlatformFakeWindow* f = fake_window) return f->taskbar_h;
  XLock lock;
  if (_xwin.display == nullptr) return 0;
  Atom workarea = XInternAtom(_xwin.display, "_NET_WORKAREA", True);
  if (workarea == None) return 0;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  int height = 0;
  if (XGetWindowProperty(_xwin.display, RootOf(), workarea, 0, 4, False, XA_CARDINAL, &type, &format, &count, &after,
                         &data) == Success &&
      data != nullptr && format == 32 && count >= 4) {
    // Format-32 properties come back as longs; the fourth value is the usable height.
    const long* area = reinterpret_cast<const long*>(data);
    int reserved = DisplayHeight(_xwin.display, _xwin.screen) - static_cast<int>(area[3]);
    height = reserved > 0 ? reserved : 0;
  }
  if (data) XFree(data);
  return height;
}

static void ScreenSize(int& w, int& h) {
  if (PlatformFakeWindow* f = fake_window) {
    w = f->screen_w;
    h = f->screen_h;
    return;
  }
  XLock lock;
  if (_xwin.display == nullptr) {
    w = 0;
    h = 0;
    return;
  }
  w = DisplayWidth(_xwin.display, _xwin.screen);
  h = DisplayHeight(_xwin.display, _xwin.screen);
}

// The program's coordinates are screen pixels divided by the scale. Positions
// read from the screen round down, so a cursor anywhere on the 2 x 2 block of a
// pixel is on that pixel.
namespace {

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
  if (!ScreenGetCursorPos(x, y)) return false;
  x = Down(x);
  y = Down(y);
  return true;
}

bool PlatformGetWindowRect(int& left, int& top, int& right, int& bottom) {
  if (!ScreenGetWindowRect(left, top, right, bottom)) return false;
  left = Down(left);
  top = Down(top);
  right = Down(right);
  bottom = Down(bottom);
  return true;
}

void PlatformMoveWindow(int x, int y, int w, int h) {
  const int s = window_scale.load();
  ScreenMoveWindow(x * s, y * s, w * s, h * s);
}

void PlatformSetWindowShape(int w, int h, const std::vector<PlatformRect>& removed) {
  const int s = window_scale.load();
  if (s == 1) {
    ScreenSetWindowShape(w, h, removed);
    return;
  }
  std::vector<PlatformRect> scaled;
  scaled.reserve(removed.size());
  for (const PlatformRect& r : removed) scaled.push_back({r.left * s, r.top * s, r.right * s, r.bottom * s});
  ScreenSetWindowShape(w * s, h * s, scaled);
}

int PlatformTaskBarHeight() {
  // A reserved strip that covers part of a pixel covers the whole pixel.
  const int s = window_scale.load();
  return (ScreenTaskBarHeight() + s - 1) / s;
}

void PlatformScreenSize(int& w, int& h) {
  ScreenSize(w, h);
  w = Down(w);
  h = Down(h);
}
