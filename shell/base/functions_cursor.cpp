// The cursor shapes live apart from the other utilities: they need the built-in
// art, and code that only converts numbers or shows boxes should not pull it in.
#include "resources/skin.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

void SetMouseCursorBitmap(int index) {
  struct Cursor {
    BITMAP* const* bitmap;
    int focusX, focusY;
  };
  static const Cursor kCursors[5] = {
      {&MouseCursor_N, 0, 0},  {&MouseCursor_M, 12, 12}, {&MouseCursor_H, 12, 4},
      {&MouseCursor_V, 4, 12}, {&MouseCursor_D, 8, 8},
  };
  if (index >= 0 && index < 5) {
    set_mouse_sprite(*kCursors[index].bitmap);
    set_mouse_sprite_focus(kCursors[index].focusX, kCursors[index].focusY);
  }
  show_os_cursor(MOUSE_CURSOR_ALLEGRO);
  MC_CURRENT = index;
}
