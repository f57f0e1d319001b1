#include "editor/level_export.h"

#include "editor/classes.h"
#include "shell/base/functions.h"

BITMAP* ComposeLevelPicture(int id) {
  CCamera view(id, WholeLevelPicture{});
  if (view.frame.w <= 0 || view.frame.h <= 0) return nullptr;
  BITMAP* picture = create_bitmap_ex(32, view.frame.w, view.frame.h);
  if (picture == nullptr) return nullptr;
  clear_to_color(picture, 0);
  view.Proc();
  view.DrawPicture(picture);
  return picture;
}
