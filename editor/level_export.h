#pragma once

#include <cstdint>
#include <memory>

#include "platform/allegro_include.h"

class CCamera;

// The picture of level `id` of the loaded image, composed by the level view's
// own drawing code through a detached camera at (0, 0): grid, tiles, bananas
// (animation frame 0, graphic set 0) and objects, without guide, labels or
// frame. tile_w x 32 by tile_h x 32 pixels; nullptr for a level without
// extent. The caller owns the bitmap.
BITMAP* ComposeLevelPicture(int id);

// The same picture handed out row by row, composed one band of 32 rows at a
// time into a bitmap it keeps: a wide level's picture (up to some 63000 x 512
// pixels) never exists whole, and the band is reused instead of a fresh
// picture cleared and faulted in page by page.
class LevelPictureRows {
 public:
  // Builds the level's detached view and the band.
  explicit LevelPictureRows(int id);
  ~LevelPictureRows();
  LevelPictureRows(const LevelPictureRows&) = delete;
  LevelPictureRows& operator=(const LevelPictureRows&) = delete;

  // Whether there is a picture: the level has extent and the band was made.
  bool HasPicture() const { return band_ != nullptr; }
  // The picture's size in pixels.
  int w() const { return w_; }
  int h() const { return h_; }
  // Row y (0 <= y < h(), when HasPicture) of the picture, w() pixels; valid
  // until the next call. Rows are best asked in increasing order: a row
  // outside the band composes the band that holds it.
  const std::uint32_t* Row(int y);

 private:
  std::unique_ptr<CCamera> view_;
  BITMAP* band_ = nullptr;
  int band_top_ = -1;  // the picture row of the band's first row, -1 before the first band
  int w_ = 0, h_ = 0;
};
