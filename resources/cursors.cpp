#include "resources/cursors.h"

#include "platform/window.h"
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
  BITMAP* sprite = *kCursors[index].bitmap;
  int focus = 1;
  // A scaled window shows its cursors scaled too: enlarged copies, made once
  // per picture (and kept: they are few and small).
  const int scale = PlatformWindowScale();
  static BITMAP* enlarged[5] = {};
  static BITMAP* enlarged_from[5] = {};
  if (scale > 1 && sprite != nullptr) {
    if (enlarged[index] == nullptr || enlarged_from[index] != sprite || enlarged[index]->w != sprite->w * scale) {
      if (enlarged[index]) destroy_bitmap(enlarged[index]);
      enlarged[index] = create_bitmap_ex(bitmap_color_depth(sprite), sprite->w * scale, sprite->h * scale);
      enlarged_from[index] = sprite;
      if (enlarged[index])
        stretch_blit(sprite, enlarged[index], 0, 0, sprite->w, sprite->h, 0, 0, enlarged[index]->w, enlarged[index]->h);
    }
    if (enlarged[index]) {
      sprite = enlarged[index];
      focus = scale;
    }
  }
  set_mouse_sprite(sprite);
  set_mouse_sprite_focus(kCursors[index].focusX * focus, kCursors[index].focusY * focus);
}
