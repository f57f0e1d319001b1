#include "editor/input_snapshot.h"

#include <cstdlib>

#include "editor/view_transform.h"
#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "platform/allegro_include.h"
#include "shell/base/controller.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

namespace {

// A second press within this many logic updates and pixels is a double click.
constexpr int kDoubleClickUpdates = 24;
constexpr int kDoubleClickSlack = 4;

}  // namespace

bool InputSnapshot::MirrorsObjects() const { return Held(KEY_F); }

void PlaceInLevel(InputSnapshot& in) { WindowToLevel(in.wx, in.wy, in.lx, in.ly); }

void InputReader::Restart() {
  right_ = (mouse_b & 2) != 0 ? 2 : 0;
  presses_ = ViewPresses();
  wheel_known_ = false;
  last_press_ = -1000;
}

InputSnapshot InputReader::Take(const ViewFrame& f) {
  InputSnapshot in;
  in.wx = MouseX();
  in.wy = MouseY();
  in.in_window = MouseInWindow();
  PlaceInLevel(in);
  in.menu_open = MenuIsOpen();
  const bool over_view = f.InArea(in.wx, in.wy);
  in.in_view = !in.menu_open && over_view;
  in.shift = key[KEY_LSHIFT] || key[KEY_RSHIFT];
  in.ctrl = key[KEY_LCONTROL] || key[KEY_RCONTROL];
  in.alt = key[KEY_ALT] != 0;
  // Keys an open menu took are not the view's (Enter that ran an entry, the arrows that moved in it).
  const bool menu_keys = MenuBarTakesKeys();
  for (int k = 0; k < InputSnapshot::kKeys && k < KEY_MAX; ++k) {
    const bool now = key[k] != 0;
    in.pressed[k] = now && !down_[k] && !menu_keys;
    in.held[k] = now && !menu_keys;
    down_[k] = now;
  }
  // The left button's edges are the GUI root's (mouse_q), the right one's our own; then
  // what the view may take of them.
  right_ = QuadStateSwitch((mouse_b & 2) != 0, right_);
  const ViewPresses::States view = presses_.Filter(mouse_q, right_, over_view);
  in.left = view.left;
  in.right = view.right;
  in.right_pressed = in.right == 1;
  if (wheel_known_) {
    in.wheel = mouse_z - mouse_z_;
    in.wheel_x = mouse_w - mouse_w_;
  }
  mouse_z_ = mouse_z;
  mouse_w_ = mouse_w;
  wheel_known_ = true;
  ++update_;
  if (in.left == 1) {
    in.double_click = update_ - last_press_ <= kDoubleClickUpdates && std::abs(in.wx - press_x_) <= kDoubleClickSlack &&
                      std::abs(in.wy - press_y_) <= kDoubleClickSlack;
    last_press_ = in.double_click ? -1000 : update_;
    press_x_ = in.wx;
    press_y_ = in.wy;
  }
  return in;
}
