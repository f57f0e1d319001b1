#include "editor/input_snapshot.h"

#include <cstdlib>

#include "editor/view_transform.h"
#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "shell/base/functions.h"
#include "platform/allegro_include.h"
#include "shell/base/variables.h"

namespace {

// A second press within this many logic updates and pixels is a double click.
constexpr int kDoubleClickUpdates = 24;
constexpr int kDoubleClickSlack = 4;

bool MenuOpen() { return mui != nullptr && mui->m != nullptr && mui->m->clicked; }

}  // namespace

InputSnapshot InputReader::Take(const ViewFrame& f) {
  InputSnapshot in;
  in.wx = MouseX();
  in.wy = MouseY();
  WindowToLevel(in.wx, in.wy, in.lx, in.ly);
  in.in_view = !MenuOpen() && f.InArea(in.wx, in.wy);
  in.left = mouse_q;
  in.shift = key[KEY_LSHIFT] || key[KEY_RSHIFT];
  in.ctrl = key[KEY_LCONTROL] || key[KEY_RCONTROL];
  in.alt = key[KEY_ALT] != 0;
  // Keys an open menu took are not the tools' (Enter that ran an entry, the arrows that moved in it).
  const bool menu_keys = MenuBarTakesKeys();
  for (int k = 0; k < InputSnapshot::kKeys && k < KEY_MAX; ++k) {
    const bool now = key[k] != 0;
    in.pressed[k] = now && !down_[k] && !menu_keys;
    down_[k] = now;
  }
  const bool right = (mouse_b & 2) != 0;
  in.right = right ? (right_down_ ? 2 : 1) : (right_down_ ? 3 : 0);
  in.right_pressed = in.right == 1;
  right_down_ = right;
  if (wheel_known_) in.wheel = mouse_z - mouse_z_;
  mouse_z_ = mouse_z;
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
