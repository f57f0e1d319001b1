// The cursor shapes are pictures of the skin, which sits above these utilities:
// whoever owns them registers the function that shows one.
#include "shell/base/functions.h"
#include "shell/base/variables.h"

namespace {

CursorShapeFunction cursor_shapes = nullptr;

}  // namespace

void RegisterCursorShapes(CursorShapeFunction show) { cursor_shapes = show; }

void SetMouseCursorBitmap(int index) {
  if (cursor_shapes != nullptr) cursor_shapes(index);
  show_os_cursor(MOUSE_CURSOR_ALLEGRO);
  MC_CURRENT = index;
}
