#include "platform/allegro_include.h"

#include <xalleg.h>
#include <X11/Xatom.h>
#include <X11/extensions/shape.h>

#include "platform/window_backend.h"
#include "platform/x_lock.h"

namespace {

// The window is shown (has a non-empty outline); the focus is taken on the change.
bool shown = false;

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

void AdoptWindow() {
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

bool CursorPos(int& x, int& y) {
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

bool WindowRect(int& left, int& top, int& right, int& bottom) {
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

void MoveWindow(int x, int y, int w, int h) {
  if (w < 1 || h < 1) return;
  XLock lock;
  if (!HaveWindow()) return;
  XMoveResizeWindow(_xwin.display, _xwin.wm_window, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
  XFlush(_xwin.display);
}

void RaiseWindow() {
  XLock lock;
  if (!HaveWindow()) return;
  XRaiseWindow(_xwin.display, _xwin.wm_window);
  XFlush(_xwin.display);
}

void MinimiseWindow() {
  XLock lock;
  if (!HaveWindow()) return;
  XIconifyWindow(_xwin.display, _xwin.wm_window, _xwin.screen);
  // The iconify request is addressed to a window manager; without one, hiding the
  // window is what minimising amounts to.
  if (!WindowManagerRunning()) XUnmapWindow(_xwin.display, _xwin.wm_window);
  XFlush(_xwin.display);
}

void SetWindowShape(int w, int h, const std::vector<PlatformRect>& removed) {
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

int TaskBarHeight() {
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

void ScreenSize(int& w, int& h) {
  XLock lock;
  if (_xwin.display == nullptr) {
    w = 0;
    h = 0;
    return;
  }
  w = DisplayWidth(_xwin.display, _xwin.screen);
  h = DisplayHeight(_xwin.display, _xwin.screen);
}

// Without a window manager the focus falls back to the root (or follows the
// pointer) when a dialog closes; the keys then reach the window under the
// pointer, so those count as the window's too. Only another client's window
// holding the focus means the user is elsewhere.
bool HasFocus() {
  XLock lock;
  if (!HaveWindow()) return true;
  Window focus = None;
  int revert = 0;
  XGetInputFocus(_xwin.display, &focus, &revert);
  return focus == _xwin.wm_window || focus == _xwin.window || focus == PointerRoot || focus == RootOf();
}

constexpr WindowBackend kX11 = {AdoptWindow,    CursorPos,      WindowRect,    MoveWindow, RaiseWindow,
                                MinimiseWindow, SetWindowShape, TaskBarHeight, ScreenSize, HasFocus};

}  // namespace

const WindowBackend& X11WindowBackend() { return kX11; }
