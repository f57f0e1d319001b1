#include "editor/level_export.h"

#include <algorithm>

#include "editor/classes.h"
#include "shell/base/functions.h"

namespace {

// One row of tiles: a band starts at a tile's top edge, so the tile layer's
// walk covers it with whole squares, and a picture is a whole number of bands.
constexpr int kBandRows = 32;

// Draws the picture rows from `top` on into dest, which is as wide as the
// picture: the view's window becomes dest and its camera moves down to `top`.
// Every layer draws pixel by pixel, clipped to dest, so the rows come out as
// those rows of the whole picture.
void DrawRows(CCamera& view, BITMAP* dest, int top) {
  view.y = top;
  view.frame.h = dest->h;
  view.Proc();
  // The tile layer gives every pixel of its squares the grid colour first;
  // where they cover dest, clearing it before would only be written over.
  int x = 0, y = 0, w = 0, h = 0;
  view.PaintedArea(x, y, w, h);
  if (x > 0 || y > 0 || x + w < dest->w || y + h < dest->h) clear_to_color(dest, 0);
  view.DrawPicture(dest);
}

}  // namespace

BITMAP* ComposeLevelPicture(int id) {
  CCamera view(id, WholeLevelPicture{});
  if (view.frame.w <= 0 || view.frame.h <= 0) return nullptr;
  BITMAP* picture = create_bitmap_ex(32, view.frame.w, view.frame.h);
  if (picture == nullptr) return nullptr;
  DrawRows(view, picture, 0);
  return picture;
}

LevelPictureRows::LevelPictureRows(int id) : view_(std::make_unique<CCamera>(id, WholeLevelPicture{})) {
  w_ = view_->frame.w;
  h_ = view_->frame.h;
  if (w_ > 0 && h_ > 0) band_ = create_bitmap_ex(32, w_, std::min(h_, kBandRows));
}

LevelPictureRows::~LevelPictureRows() { Nullify(band_); }

const std::uint32_t* LevelPictureRows::Row(int y) {
  if (band_top_ < 0 || y < band_top_ || y >= band_top_ + band_->h) {
    band_top_ = y - y % kBandRows;
    DrawRows(*view_, band_, band_top_);
  }
  return reinterpret_cast<const std::uint32_t*>(band_->line[y - band_top_]);
}
