#include "editor/view_navigation.h"

#include "editor/classes.h"
#include "editor/edit_tools.h"
#include "editor/view_transform.h"
#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

namespace {

constexpr int kPixelsPerNotch = 32;

// Zoom keys act once per press: the state of each in the previous update.
bool plus_was_down = false;
bool minus_was_down = false;
bool zero_was_down = false;

bool CtrlHeld() { return key[KEY_LCONTROL] || key[KEY_RCONTROL]; }
bool ShiftHeld() { return key[KEY_LSHIFT] || key[KEY_RSHIFT]; }

// True on the update a key goes down.
bool Pressed(bool down, bool& was_down) {
  const bool pressed = down && !was_down;
  was_down = down;
  return pressed;
}

// The window pixel a zoom keeps in place: the mouse over the view, else the view's centre.
void ZoomAnchor(const CCamera& camera, int& wx, int& wy) {
  const ViewFrame& f = camera.frame;
  const int mx = MouseX(), my = MouseY();
  if (MouseInWindow() && f.InArea(mx, my)) {
    wx = mx;
    wy = my;
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

void ViewNavigationStep(CCamera& camera) {
  const int z = mouse_z, w = mouse_w;
  int notches = z - camera.wheel_z;
  int sideways = w - camera.wheel_w;
  camera.wheel_z = z;
  camera.wheel_w = w;
  // An open menu owns the mouse.
  if (mui && mui->m && mui->m->clicked) notches = sideways = 0;
  // Over the tile picker the wheel scrolls the picker.
  if (EditToolOwnsWheelAt(MouseX(), MouseY())) notches = sideways = 0;

  const bool ctrl = CtrlHeld();
  const bool keys = !MenuBarTakesKeys();
  int zoom_steps = 0;
  bool reset = false;
  if (ctrl) {
    zoom_steps += notches;
    notches = 0;
  } else if (ShiftHeld()) {
    sideways += notches;
    notches = 0;
  }
  const bool plus = Pressed(keys && ctrl && (key[KEY_EQUALS] || key[KEY_PLUS_PAD]), plus_was_down);
  const bool minus = Pressed(keys && ctrl && (key[KEY_MINUS] || key[KEY_MINUS_PAD]), minus_was_down);
  const bool zero = Pressed(keys && ctrl && (key[KEY_0] || key[KEY_0_PAD]), zero_was_down);
  if (plus) ++zoom_steps;
  if (minus) --zoom_steps;
  if (zero) reset = true;

  const int step = kPixelsPerNotch;
  // Wheel up (positive notches) shows what lies above, and left.
  camera.y -= notches * step;
  camera.x -= sideways * step;

  const int target = reset ? 100 : StepViewZoom(ViewZoom(), zoom_steps);
  if (target != ViewZoom()) {
    int wx = 0, wy = 0;
    ZoomAnchor(camera, wx, wy);
    ZoomViewAround(camera, target, wx, wy);
  }
}
