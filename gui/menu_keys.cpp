#include "gui/menu_keys.h"

MenuKeyReader::MenuKeyReader() {
  for (int k = 0; k < KEY_MAX; ++k) down_[k] = key[k] != 0;
}

MenuKeys MenuKeyReader::Take() {
  bool pressed[KEY_MAX] = {};
  for (int k = 0; k < KEY_MAX; ++k) {
    const bool now = key[k] != 0;
    pressed[k] = now && !down_[k];
    down_[k] = now;
  }
  MenuKeys keys;
  // Alt Gr types characters on many layouts, so only the left Alt opens menus.
  if (key[KEY_ALT]) {
    for (int k = KEY_A; k <= KEY_Z; ++k) {
      if (pressed[k]) keys.alt_letter = static_cast<char>('A' + k - KEY_A);
    }
  }
  keys.f10 = pressed[KEY_F10];
  keys.up = pressed[KEY_UP];
  keys.down = pressed[KEY_DOWN];
  keys.left = pressed[KEY_LEFT];
  keys.right = pressed[KEY_RIGHT];
  keys.enter = pressed[KEY_ENTER] || pressed[KEY_ENTER_PAD];
  return keys;
}
