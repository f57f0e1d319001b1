#include "shell/base/controller.h"

#include "platform/window.h"
#include "shell/base/functions.h"

namespace {

constexpr int kStartupW = 520;
constexpr int kStartupH = 176;

// Integer division rounding toward minus infinity.
int FloorDiv(int a, int b) { return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0); }

}  // namespace

int QuadStateSwitch(bool now, int previous) {
  switch (previous) {
    case 0:
    case 3: return now ? 1 : 0;
    case 1:
    case 2: return now ? 2 : 3;
    default: return previous;
  }
}

CController::CController() {
  static const unsigned char kDefaults[kButtons] = {0xD2, 0xD3, 0xD0, 0xD1, 0x82, 0x81,
                                                    0x83, 0x80, 0x84, 0x85, 0x89, 0x88};
  for (int i = 0; i < kButtons; ++i) {
    qbtn[i] = 0;
    btn[i] = false;
    btn_cfg_codes[i] = kDefaults[i];
  }

  PlatformRaiseWindow();
  if (install_keyboard() != 0) ErrorBox("Could not install keyboard!", "BEWARE:");
  install_joystick(JOY_TYPE_AUTODETECT);
  // Installing the mouse does not move the X pointer, so the position needs no
  // restoring afterwards.
  PlatformRaiseWindow();
  if (install_mouse() < 0) ErrorBox("Couldn't install mouse!", "Allegro Error");
  PlatformRaiseWindow();
  // Invisible until the GUI root gives the window its outline.
  PlatformSetWindowShape(0, 0, {});
  int screenW = 0;
  int screenH = 0;
  PlatformScreenSize(screenW, screenH);
  PlatformMoveWindow(FloorDiv(screenW - kStartupW, 2), (screenH - kStartupH) / 3, kStartupW, kStartupH);
}

void CController::Process() {
  if (num_joysticks > 0) poll_joystick();
  for (int i = 0; i < kButtons; ++i) {
    // One reading serves both values, so a change between two reads cannot
    // skip the "pressed" or "released" state.
    bool now = GetStatus(btn_cfg_codes[i]);
    qbtn[i] = QuadStateSwitch(now, btn[i] ? 1 : 0);
    btn[i] = now;
  }
}

bool CController::GetStatus(unsigned char code) const {
  if (code == kNoInput) return false;
  if (code < 0x80) return code < KEY_MAX && key[code] != 0;
  if (code >= 0xC0) {
    int stick = (code >> 3) & 7;
    int axis = (code >> 1) & 3;
    if (stick >= MAX_JOYSTICK_STICKS || axis >= MAX_JOYSTICK_AXIS) return false;
    const JOYSTICK_AXIS_INFO& info = joy[0].stick[stick].axis[axis];
    return (code & 1) != 0 ? info.d2 != 0 : info.d1 != 0;
  }
  if (code >= 0xA0) return (static_cast<unsigned>(mouse_b) >> (code & 0x1F) & 1u) != 0;
  return joy[0].button[code & 0x1F].b != 0;
}

unsigned char CController::GetCode() const {
  for (int k = 0; k < KEY_MAX; ++k) {
    if (key[k] != 0) return static_cast<unsigned char>(k);
  }
  if (num_joysticks > 0) {
    const JOYSTICK_INFO& pad = joy[0];
    for (int s = 0; s < pad.num_sticks && s < MAX_JOYSTICK_STICKS; ++s) {
      for (int a = 0; a < pad.stick[s].num_axis && a < MAX_JOYSTICK_AXIS; ++a) {
        int code = 0xC0 | ((s << 3) & 0x38) | ((a << 1) & 0x06);
        if (pad.stick[s].axis[a].d1 != 0) return static_cast<unsigned char>(code);
        if (pad.stick[s].axis[a].d2 != 0) return static_cast<unsigned char>(code | 0x01);
      }
    }
    for (int b = 0; b < pad.num_buttons && b < MAX_JOYSTICK_BUTTONS; ++b) {
      if (pad.button[b].b != 0) return static_cast<unsigned char>(0x80 | (b & 0x1F));
    }
  }
  if (mouse_b & 1) return 0xA0;
  if (mouse_b & 2) return 0xA1;
  if (mouse_b & 4) return 0xA2;
  return kNoInput;
}
