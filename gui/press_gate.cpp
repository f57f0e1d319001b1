#include "gui/press_gate.h"

#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "platform/dialogs.h"
#include "platform/window.h"
#include "shell/base/variables.h"

bool PressActs(const PressContext& c) { return c.in_view && !c.menu && c.focused && !c.dialog; }

int ButtonGate::Filter(int state, const PressContext& context) {
  switch (state) {
    case 1:
      acts_ = PressActs(context);
      return acts_ ? 1 : 0;
    case 2:
      if (!acts_) return 0;
      if (context.dialog) {
        acts_ = false;
        return 3;
      }
      return 2;
    case 3:
      if (!acts_) return 0;
      acts_ = false;
      return 3;
    default:
      acts_ = false;
      return 0;
  }
}

bool MenuIsOpen() { return mui != nullptr && mui->m != nullptr && mui->m->clicked; }

ViewPresses::States ViewPresses::Filter(int left, int right, bool in_view) {
  PressContext context;
  context.in_view = in_view;
  const bool menu_now = MenuIsOpen();
  context.menu = menu_now || menu_before_;
  menu_before_ = menu_now;
  const unsigned long dialogs = PlatformDialogGeneration();
  context.dialog = dialogs_known_ && dialogs != dialogs_;
  dialogs_ = dialogs;
  dialogs_known_ = true;
  // Asking the display costs a round trip: only a press needs the answer.
  if (left == 1 || right == 1) context.focused = PlatformWindowHasFocus();
  States s;
  s.left = left_.Filter(left, context);
  s.right = right_.Filter(right, context);
  return s;
}
