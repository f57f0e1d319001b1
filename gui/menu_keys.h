#pragma once

#include "platform/allegro_include.h"

// The keys the menu bar answers in one logic update, each a press (a key held
// down counts once): Alt with a letter opens the menu whose title starts with
// it, F10 the first menu; the arrows move the highlight and between menus,
// Enter runs the highlighted entry. Escape is not among them: the frame pass
// closes an open menu with it before anything else sees the press.
struct MenuKeys {
  char alt_letter = 0;  // 'A'..'Z' pressed while Alt is held; 0 when none
  bool f10 = false;
  bool up = false, down = false, left = false, right = false;
  bool enter = false;

  // Whether any of the keys was pressed.
  bool Any() const { return alt_letter != 0 || f10 || up || down || left || right || enter; }
};

// Reads MenuKeys from Allegro's key array once per logic update, measuring
// presses against what it saw the update before. Keys already down when the
// reader is made count only once released and pressed again.
class MenuKeyReader {
 public:
  MenuKeyReader();
  // The presses since the last call.
  MenuKeys Take();

 private:
  bool down_[KEY_MAX] = {};
};
