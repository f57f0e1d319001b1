#pragma once

#include <functional>
#include <string>

#include "gui/press_gate.h"
#include "platform/allegro_include.h"

// What the resource modes share: the bars, key presses and the wheel, the
// status line. Their view area is ResourceViewFrame() (gui/view_frame.h), their
// picture of it a CachedView (modes/cached_view.h).

// Rebuilds the toolbar and then the menu bar from the current mode's descriptions.
void ReloadModeBars();

// Whether the mode may take keys and clicks now: a window exists and no menu is open.
bool ModeTakesInput();

// Whether the mode may act on input in this update: it may now, and it could
// in the update before. The click that chooses a menu entry closes the menu in
// the same update; the view under the menu must not take that click as well.
class InputGate {
 public:
  // Call once per logic update, after the GUI root's Proc.
  bool Open();

 private:
  bool last_ = true;
};

// The left button over the mode's view (ResourceViewFrame) as the view may take
// it: 1 only for a press aimed at the view, not the click that chose a menu entry
// or answered a dialog over it (gui/press_gate.h). Call once per logic update,
// before any early return, so it follows every edge.
class ViewClicks {
 public:
  int Left();

 private:
  ViewPresses presses_;
};

// True while either Ctrl key is held.
bool CtrlHeld();

// Presses of keys, one per press, polled once per logic update. `Repeat`
// also fires while the key stays down, after a short delay, as typing does.
class KeyPresses {
 public:
  // Keys already down when the object is made count as pressed before: they
  // fire only after a release.
  KeyPresses();
  // True in the update the key went down.
  bool Pressed(int scancode);
  // True when the key went down, and every few updates while it stays down.
  bool Repeat(int scancode);

 private:
  bool down_[KEY_MAX] = {};
  int held_[KEY_MAX] = {};
};

// Wheel steps since the last call (positive: away from the user); the first call gives 0.
class WheelSteps {
 public:
  int Take();

 private:
  bool started_ = false;
  int last_ = 0;
};

// The mode's status line: `text` in the light menu font where the level
// editor prints its level, in a window of height `h`.
void DrawModeStatus(BITMAP* dest, int h, const std::string& text);

// "0x" and at least `digits` upper-case hexadecimal digits of `value`.
std::string HexText(unsigned long long value, int digits);

// The frame passes of a resource mode until it ends: each logic update runs
// the Escape check, the GUI root and `proc`; each frame draws `draw` under the
// GUI and `status` over the status bar.
void RunModeLoop(const std::function<void()>& proc, const std::function<void(BITMAP*)>& draw,
                 const std::function<std::string()>& status);

// A resource mode's function: reloads the bars, builds `Mode` for level
// `level` and runs it until the mode ends.
template <typename Mode>
void RunResourceMode(int level) {
  ReloadModeBars();
  Mode mode(level);
  RunModeLoop([&mode] { mode.Proc(); }, [&mode](BITMAP* fb) { mode.Draw(fb); }, [&mode] { return mode.Status(); });
}
