#include "resources/cursors.h"

#include "resources/skin.h"

void ShowSkinCursor(int index) {
  struct Cursor {
    BITMAP* const* bitmap;
    int focusX, focusY;
  };
  static const Cursor kCursors[5] = {
      {&MouseCursor_N, 0, 0},  {&MouseCursor_M, 12, 12}, {&MouseCursor_H, 12, 4},
      {&MouseCursor_V, 4, 12}, {&MouseCursor_D, 8, 8},
  };
  if (index < 0 || index >= 5) return;
  set_mouse_sprite(*kCursors[index].bitmap);
  set_mouse_sprite_focus(kCursors[index].focusX, kCursors[index].focusY);
}
