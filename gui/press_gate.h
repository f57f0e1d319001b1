#pragma once

// Which mouse presses a view may take as the user's gesture. A press belongs to
// the view only when it went down over the view, with no menu open, while the
// window held the focus, and not in the update in which a menu, a dialog or a
// box closed: the click that chose a menu entry, or the one that answered a
// dialog standing over the view, is not aimed at the level under it. A button
// still held when a dialog returns is ignored until it is released.

// What stood around a press in the update it went down.
struct PressContext {
  bool in_view = false;  // the mouse was over the view's area
  bool menu = false;     // a menu was open in this update or the one before
  bool focused = true;   // the window held the input focus
  bool dialog = false;   // a dialog or box opened or closed since the last update
};

// Whether a view acts on a press that went down in `context`.
bool PressActs(const PressContext& context);

// One mouse button's four states (0 idle, 1 just pressed, 2 held, 3 just
// released) as the view sees them: those of a press it does not act on read 0
// until the button is up again. A dialog that comes while a press it acts on
// is held ends that gesture: the view sees the release at once, then nothing.
class ButtonGate {
 public:
  int Filter(int state, const PressContext& context);

 private:
  bool acts_ = false;  // the press being followed is the view's
};

// Both buttons over one view, with the context read from the GUI root (menus),
// the dialog layer and the window; one per view, called once per logic update
// after the GUI root's Proc.
class ViewPresses {
 public:
  struct States {
    int left = 0, right = 0;
  };
  // The view's states of the buttons whose raw states are `left` and `right`,
  // the mouse being over the view's area or not.
  States Filter(int left, int right, bool in_view);

 private:
  ButtonGate left_, right_;
  bool menu_before_ = false;
  unsigned long dialogs_ = 0;
  bool dialogs_known_ = false;
};

// Whether a menu of the GUI root is open now.
bool MenuIsOpen();
