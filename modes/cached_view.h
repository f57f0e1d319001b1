#pragma once

#include "gui/view_frame.h"
#include "platform/allegro_include.h"

// Gives `bitmap` the size w x h (both at least 1): a new bitmap when there is
// none or the size changed. True when it was made anew (its picture is unset).
bool FitCachedBitmap(BITMAP*& bitmap, int w, int h);

// The picture of a resource mode's view area, kept in a bitmap of the area's
// size and composed again only when what it shows changes (`Key`, a value
// compared with ==, holding everything the picture depends on: the image's
// edit generation among it) or the area's size does. An unchanged view costs
// one blit a frame.
template <typename Key>
class CachedView {
 public:
  CachedView() = default;
  ~CachedView() {
    if (bitmap_) destroy_bitmap(bitmap_);
  }
  CachedView(const CachedView&) = delete;
  CachedView& operator=(const CachedView&) = delete;

  // Draws the view area of `frame` into `dest`, first calling `compose(bitmap)`
  // to paint the whole area anew when `key` differs from the one it was last
  // composed for or the area's size changed. Draws nothing without an area.
  template <typename Compose>
  void Draw(BITMAP* dest, const ViewFrame& frame, const Key& key, Compose&& compose) {
    const int w = frame.AreaW(), h = frame.AreaH();
    if (dest == nullptr || w <= 0 || h <= 0) return;
    if (FitCachedBitmap(bitmap_, w, h)) composed_ = false;
    if (bitmap_ == nullptr) return;
    if (!composed_ || !(shown_ == key)) {
      compose(bitmap_);
      shown_ = key;
      composed_ = true;
    }
    blit(bitmap_, dest, 0, 0, frame.ox, frame.oy, w, h);
  }

 private:
  BITMAP* bitmap_ = nullptr;
  Key shown_{};
  bool composed_ = false;
};
