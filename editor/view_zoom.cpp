// The zoomed editor view: the level area in view is composed at 1:1 by the same
// layer code as the 100 % view and the export, then scaled into the view area by
// whole pixels (every 2nd or 4th pixel when zoomed out, 2 x 2 blocks at 200 %), so
// a zoomed view shows exactly the export's pixels at the camera position.

#include <algorithm>

#include "editor/classes.h"
#include "editor/view_transform.h"
#include "gfx/scale.h"
#include "shell/base/functions.h"

void CCamera::DrawZoomed(BITMAP* dest) {
  const int zoom = ViewZoom();
  // The view area in window pixels, and the level area it shows.
  const int view_w = frame.AreaW(), view_h = frame.AreaH();
  const int shown_w = std::min(WindowToLevelSpan(view_w + 1), 32 * lvl.tile_w - x);
  const int shown_h = std::min(WindowToLevelSpan(view_h + 1), 32 * lvl.tile_h - y);
  if (shown_w <= 0 || shown_h <= 0 || view_w <= 0 || view_h <= 0) return;
  if (zoom_picture == nullptr || zoom_picture->w != shown_w || zoom_picture->h != shown_h) {
    Nullify(zoom_picture);
    zoom_picture = create_bitmap_ex(32, shown_w, shown_h);
    if (zoom_picture == nullptr) return;
  }
  // The picture's own frame: the level from the camera position at (0, 0). The
  // tile layer's rows reach down to its frame height less 4; the spare rows
  // cover a partly shown last tile.
  ViewFrame picture;
  picture.w = shown_w;
  picture.h = shown_h + 36;
  picture.ox = 0;
  picture.oy = 0;
  Layer_MG0->Proc(x, y, picture);
  Layer_MG0->Draw(zoom_picture, lvl, picture);
  Banana_MAP->Draw(zoom_picture, x, y, picture);
  Object_MAP->Draw(zoom_picture, x, y, picture, ObjectOverlay::Apart);
  // Only the view area is drawn: the frame and bars around it stay as they are.
  const int out_w = std::min(view_w, (shown_w * zoom + 99) / 100);
  const int out_h = std::min(view_h, (shown_h * zoom + 99) / 100);
  if (zoom < 100) {
    Rw_blit_sampled(zoom_picture, 0, 0, dest, frame.ox, frame.oy, out_w, out_h, 100 / zoom);
  } else {
    const int factor = zoom / 100;
    Rw_blit_enlarged(zoom_picture, 0, 0, (out_w + factor - 1) / factor, (out_h + factor - 1) / factor, dest, frame.ox,
                     frame.oy, factor);
  }
}
