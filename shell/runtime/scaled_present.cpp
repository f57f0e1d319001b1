#include "shell/runtime/scaled_present.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "gfx/scale.h"

namespace {

// The frame last presented, at the program's size; worker thread only.
BITMAP* shadow = nullptr;

}  // namespace

void ResetScaledPresentation() {
  if (shadow) destroy_bitmap(shadow);
  shadow = nullptr;
}

RowBand PresentScaled(BITMAP* frame, BITMAP* page, int w, int h, int scale, bool changed_only) {
  w = std::min(w, frame->w);
  h = std::min(h, frame->h);
  if (w <= 0 || h <= 0) return {};
  if (!changed_only) {
    Rw_blit_enlarged(frame, 0, 0, w, h, page, 0, 0, scale);
    return {0, h * scale};
  }
  if (shadow == nullptr || shadow->w != w || shadow->h != h) {
    // A new size: everything is new.
    ResetScaledPresentation();
    shadow = create_bitmap_ex(32, w, h);
    if (shadow == nullptr) {
      Rw_blit_enlarged(frame, 0, 0, w, h, page, 0, 0, scale);
      return {0, h * scale};
    }
    blit(frame, shadow, 0, 0, 0, 0, w, h);
    Rw_blit_enlarged(frame, 0, 0, w, h, page, 0, 0, scale);
    return {0, h * scale};
  }
  // Runs of changed rows are enlarged together.
  const std::size_t bytes = static_cast<std::size_t>(w) * sizeof(std::uint32_t);
  RowBand band{h * scale, 0};
  int y = 0;
  while (y < h) {
    if (std::memcmp(frame->line[y], shadow->line[y], bytes) == 0) {
      ++y;
      continue;
    }
    const int first = y;
    while (y < h && std::memcmp(frame->line[y], shadow->line[y], bytes) != 0) {
      std::memcpy(shadow->line[y], frame->line[y], bytes);
      ++y;
    }
    Rw_blit_enlarged(frame, 0, first, w, y - first, page, 0, first * scale, scale);
    band.top = std::min(band.top, first * scale);
    band.bottom = y * scale;
  }
  return band;
}
