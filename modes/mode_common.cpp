#include "modes/mode_common.h"

#include <cstdio>

#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "gui/ToolbarMain.h"
#include "gui/view_frame.h"
#include "shell/base/functions.h"
#include "resources/skin.h"
#include "shell/base/variables.h"
#include "shell/runtime/frame.h"

namespace {

// Updates a held key waits before it repeats, and between repeats.
constexpr int kRepeatDelay = 18;
constexpr int kRepeatEvery = 3;

}  // namespace

void ReloadModeBars() {
  if (mui == nullptr) return;
  // The toolbar first: menu entries link themselves to the new tool buttons.
  if (mui->t) mui->t->Reload();
  if (mui->m) mui->m->Reload();
}

bool ModeTakesInput() { return mui != nullptr && !(mui->m && mui->m->clicked); }

bool InputGate::Open() {
  const bool now = ModeTakesInput();
  const bool open = now && last_;
  last_ = now;
  return open;
}

int ViewClicks::Left() {
  const bool over_view = ResourceViewFrame().InArea(MouseX(), MouseY());
  return presses_.Filter(mouse_q, 0, over_view).left;
}

bool CtrlHeld() { return key[KEY_LCONTROL] || key[KEY_RCONTROL]; }

KeyPresses::KeyPresses() {
  for (int k = 0; k < KEY_MAX; ++k) down_[k] = key[k] != 0;
}

bool KeyPresses::Pressed(int scancode) {
  if (scancode <= 0 || scancode >= KEY_MAX) return false;
  const bool now = key[scancode] != 0;
  const bool was = down_[scancode];
  down_[scancode] = now;
  return now && !was;
}

bool KeyPresses::Repeat(int scancode) {
  if (scancode <= 0 || scancode >= KEY_MAX) return false;
  const bool now = key[scancode] != 0;
  const bool was = down_[scancode];
  down_[scancode] = now;
  if (!now) {
    held_[scancode] = 0;
    return false;
  }
  if (!was) return true;
  const int held = ++held_[scancode];
  return held >= kRepeatDelay && (held - kRepeatDelay) % kRepeatEvery == 0;
}

int WheelSteps::Take() {
  const int z = mouse_z;
  if (!started_) {
    started_ = true;
    last_ = z;
    return 0;
  }
  const int steps = z - last_;
  last_ = z;
  return steps;
}

void DrawModeStatus(BITMAP* dest, int h, const std::string& text) {
  if (dest == nullptr || NMenuFont[2] == nullptr) return;
  textout_ex(dest, NMenuFont[2], text.c_str(), 8, h - 18, -1, -1);
}

std::string HexText(unsigned long long value, int digits) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%0*llX", digits, value);
  return text;
}

void RunModeLoop(const std::function<void()>& proc, const std::function<void(BITMAP*)>& draw,
                 const std::function<std::string()>& status) {
  ModePass pass;
  pass.update = [&proc] {
    Apllication_Critical_Functions();
    mui->Proc();
    proc();
  };
  pass.picture = draw;
  pass.overlay = [&status](BITMAP* fb) { DrawModeStatus(fb, mui->h, status()); };
  RunModePasses(pass);
}
