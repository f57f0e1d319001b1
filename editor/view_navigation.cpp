#include "editor/view_navigation.h"

#include "editor/classes.h"
#include "editor/edit_tools.h"
#include "editor/view_transform.h"
#include "editor/input_snapshot.h"
#include "platform/allegro_include.h"

namespace {

constexpr int kPixelsPerNotch = 32;

// The window pixel a zoom keeps in place: the mouse over the view, else the view's centre.
void ZoomAnchor(const CCamera& camera, const InputSnapshot& in, int& wx, int& wy) {
  const ViewFrame& f = camera.frame;
  if (in.in_window && f.InArea(in.wx, in.wy)) {
    wx = in.wx;
    wy = in.wy;
    return;
  }
  wx = f.ox + f.AreaW() / 2;
  wy = f.oy + f.AreaH() / 2;
}

}  // namespace

void ZoomViewAround(CCamera& camera, int percent, int wx, int wy) {
  const int lx = camera.x + WindowToLevelSpan(wx - camera.frame.ox);
  const int ly = camera.y + WindowToLevelSpan(wy - camera.frame.oy);
  SetViewZoom(percent);
  camera.x = lx - WindowToLevelSpan(wx - camera.frame.ox);
  camera.y = ly - WindowToLevelSpan(wy - camera.frame.oy);
}

void ViewNavigationStep(CCamera& camera, const InputSnapshot& in) {
  int notches = in.wheel;
  int sideways = in.wheel_x;
  // An open menu owns the mouse; over the tile picker the wheel scrolls the picker.
  if (in.menu_open || EditToolOwnsWheelAt(in.wx, in.wy)) notches = sideways = 0;

  int zoom_steps = 0;
  bool reset = false;
  if (in.ctrl) {
    zoom_steps += notches;
    notches = 0;
  } else if (in.shift) {
    sideways += notches;
    notches = 0;
  }
  // Keys an open menu takes never count as pressed.
  if (in.ctrl && (in.Pressed(KEY_EQUALS) || in.Pressed(KEY_PLUS_PAD))) ++zoom_steps;
  if (in.ctrl && (in.Pressed(KEY_MINUS) || in.Pressed(KEY_MINUS_PAD))) --zoom_steps;
  if (in.ctrl && (in.Pressed(KEY_0) || in.Pressed(KEY_0_PAD))) reset = true;

  const int step = kPixelsPerNotch;
  // Wheel up (positive notches) shows what lies above, and left.
  camera.y -= notches * step;
  camera.x -= sideways * step;

  const int target = reset ? 100 : StepViewZoom(ViewZoom(), zoom_steps);
  if (target != ViewZoom()) {
    int wx = 0, wy = 0;
    ZoomAnchor(camera, in, wx, wy);
    ZoomViewAround(camera, target, wx, wy);
  }
}
