#include "shell/runtime/frame_pacing.h"

#include <algorithm>

bool InputSnapshot::UserActive() const {
  return menu_open || mouse_b != 0 || std::any_of(keys.begin(), keys.end(), [](char k) { return k != 0; });
}

InputSnapshot TakeInputSnapshot(int w, int h, bool menu_open) {
  InputSnapshot s;
  s.mouse_x = mouse_x;
  s.mouse_y = mouse_y;
  s.mouse_z = mouse_z;
  s.mouse_b = mouse_b;
  s.key_shifts = key_shifts;
  std::copy(key, key + KEY_MAX, s.keys.begin());
  s.w = w;
  s.h = h;
  s.menu_open = menu_open;
  return s;
}

bool FramePacer::ShouldDraw(const InputSnapshot& now, int updates_run) {
  updates_since_frame_ += updates_run;
  acting_ = !drawn_ || !(now == last_) || now.UserActive();
  const bool draw = acting_ || updates_since_frame_ >= kIdleUpdatesPerFrame;
  last_ = now;
  if (draw) {
    drawn_ = true;
    updates_since_frame_ = 0;
  }
  return draw;
}

int FramePacer::UpdatesBeforeNextFrame() const {
  return acting_ ? 1 : std::max(1, kIdleUpdatesPerFrame - updates_since_frame_);
}
