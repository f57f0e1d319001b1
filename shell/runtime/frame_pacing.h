#pragma once

#include <array>

#include "platform/allegro_include.h"

// What the user can change between two passes: the mouse, the keys, the
// window's size, and whether a menu is open.
struct InputSnapshot {
  int mouse_x = 0, mouse_y = 0, mouse_z = 0, mouse_b = 0;
  int key_shifts = 0;
  std::array<char, KEY_MAX> keys{};
  int w = 0, h = 0;
  bool menu_open = false;

  bool operator==(const InputSnapshot&) const = default;
  // True while a key or a mouse button is held (scrolling, dragging) or a menu
  // is open (its entries can be chosen only once drawn).
  bool UserActive() const;
};

// The input as Allegro sees it now, with the window size w x h.
InputSnapshot TakeInputSnapshot(int w, int h, bool menu_open);

// Decides which passes draw a frame. While the user acts (input changes, a
// key or button is held, a menu is open) every pass draws; while nothing happens a frame is
// drawn every fourth update, the pace of the level view's animations and of
// the toolbar's tooltip, so an idle editor composes and presents a quarter of
// the frames and the picture is never more than three updates old.
class FramePacer {
 public:
  static constexpr int kIdleUpdatesPerFrame = 4;

  // Called once per pass after its updates; true when the pass draws.
  bool ShouldDraw(const InputSnapshot& now, int updates_run);
  // How many updates the next frame waits for after the last pass: 1 while the
  // user acts, else the idle updates left before the next frame, which the
  // worker may sleep through unless input comes.
  int UpdatesBeforeNextFrame() const;

 private:
  InputSnapshot last_;
  bool drawn_ = false;
  bool acting_ = true;  // the last pass saw input change or held
  int updates_since_frame_ = 0;
};
