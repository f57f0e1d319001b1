#pragma once

#include <optional>
#include <string>

#include "level/compsprite.h"
#include "modes/cached_view.h"
#include "modes/mode_common.h"
#include "modes/sprite_catalogue.h"

// The sprite viewer: one sprite of the image at a time, centred in the view
// on a grid of its 8x8 characters, at 1x to 8x, in one of the object
// palettes, mirrored on request.
class SpriteViewer {
 public:
  static constexpr int kMinZoom = 1;
  static constexpr int kMaxZoom = 8;

  // Starts at the sprite of the first object of level `level_id` that shows
  // one (in that object's palette), else at the first sprite that gives pixels.
  explicit SpriteViewer(int level_id);
  ~SpriteViewer();
  SpriteViewer(const SpriteViewer&) = delete;
  SpriteViewer& operator=(const SpriteViewer&) = delete;

  // One logic update: keys and the wheel.
  void Proc();
  // Draws the view area of the window.
  void Draw(BITMAP* dest);
  // The status line: number, size and palette.
  std::string Status() const;

  // Shows sprite n (a multiple of 4, or 0 for none) in the current palette.
  void Show(int n);
  // Steps to the next (direction > 0) or previous sprite that gives pixels; stays when there is none.
  void Step(int direction);
  // The next or previous palette of those the objects use with this sprite (or of all object palettes).
  void CyclePalettes(int step);
  void ToggleMirror() { mirrored_ = !mirrored_; }
  // Zoom by `delta` steps, kept within 1x-8x.
  void ZoomBy(int delta);
  // Asks for a sprite number and shows it.
  void AskAndGo();
  // Asks for a file name and writes the shown sprite (1x, as shown) there as an
  // RGBA PNG, alpha 0 where it is transparent.
  void ExportPng();

  int sprite() const { return sprite_; }
  int palette() const { return palette_; }
  int zoom() const { return zoom_; }
  bool mirrored() const { return mirrored_; }
  // Size of the shown sprite's bounding box (0 x 0 without pixels).
  int width() const;
  int height() const;
  // The reference point inside the shown picture (as mirrored); 0 without pixels.
  int ReferenceX() const;
  int ReferenceY() const;
  // The shown sprite at 1x in its palette, mirrored as shown, mask colour
  // where transparent; nullptr without pixels. Owned by the viewer.
  BITMAP* Picture();

 private:
  // Decodes the sprite and paints its 1x picture when the sprite, palette,
  // mirroring or the image changed.
  void Refresh();
  // Paints the view area into `view`: the grid, the picture at the zoom, the reference point.
  void Compose(BITMAP* view) const;

  int sprite_ = 0;
  int palette_ = 0;
  int zoom_ = 2;
  bool mirrored_ = false;
  std::optional<SpritePaletteIndex> palettes_;  // built on first use
  unsigned long long palettes_generation_ = 0;

  CompSprite* comp_ = nullptr;
  BITMAP* picture_ = nullptr;
  // What comp_ and picture_ show: sprite, palette, mirroring, image generation.
  int shown_sprite_ = -1, shown_palette_ = -1;
  bool shown_mirrored_ = false;
  unsigned long long shown_generation_ = 0;
  unsigned long long picture_version_ = 0;

  // What the view shows: the picture (its version) at a zoom.
  struct ViewKey {
    unsigned long long picture_version = 0;
    int zoom = 0;
    bool operator==(const ViewKey&) const = default;
  };
  CachedView<ViewKey> view_;

  KeyPresses keys_;
  InputGate gate_;
  WheelSteps wheel_;
};

// Mode function of the sprite viewer: reloads the bars and shows sprites until the mode ends.
void SPRITE_VIEWER_SUBFUNCTION();
