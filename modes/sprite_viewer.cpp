#include "modes/sprite_viewer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "editor/mode_qbr1leveleditor.h"
#include "gui/HelioWin.h"
#include "level/png_export.h"
#include "level/qbr_sprite_exception.h"
#include "level/snesbitmap.h"
#include "modes/hex_cursor.h"
#include "platform/dialogs.h"
#include "rom/image_edits.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"
#include "shell/runtime/frame.h"

namespace {

constexpr std::uint32_t kMask = 0xFF00FF;
constexpr int kGridDark = 0x020202;
constexpr int kGridLight = 0x0A0A0A;
constexpr int kReferenceColour = 0xFFFFFF;
// Sprite pixels per grid square: one 8x8 character.
constexpr int kCharacter = 8;
// The zoom kept between visits of the mode.
int remembered_zoom = 2;

}  // namespace

SpriteViewer::SpriteViewer(int level_id) : zoom_(remembered_zoom) {
  const ObjectSpriteUse first = QBR1_FirstObjectSprite(level_id);
  if (first.spr != 0) {
    sprite_ = first.spr;
    palette_ = first.pal;
    return;
  }
  const int n = QBR1_StepSprite(0, 1);
  sprite_ = n > 0 ? n : 0;
}

SpriteViewer::~SpriteViewer() {
  remembered_zoom = zoom_;
  Nullify(comp_);
  if (picture_) destroy_bitmap(picture_);
}

int SpriteViewer::width() const { return comp_ ? comp_->w : 0; }
int SpriteViewer::height() const { return comp_ ? comp_->h : 0; }

int SpriteViewer::ReferenceX() const {
  if (comp_ == nullptr) return 0;
  const int cx = static_cast<std::int16_t>(comp_->cx);
  return mirrored_ ? comp_->w - cx : cx;
}

int SpriteViewer::ReferenceY() const { return comp_ ? static_cast<std::int16_t>(comp_->cy) : 0; }

void SpriteViewer::Show(int n) { sprite_ = std::clamp(n - n % 4, 0, kLastSpriteNumber); }

void SpriteViewer::Step(int direction) {
  const int n = QBR1_StepSprite(sprite_, direction);
  if (n > 0) sprite_ = n;
}

void SpriteViewer::CyclePalettes(int step) {
  if (!palettes_ || palettes_generation_ != QBR1_EditGeneration()) {
    palettes_ = BuildSpritePaletteIndex();
    palettes_generation_ = QBR1_EditGeneration();
  }
  palette_ = CyclePalette(palettes_->For(sprite_), palette_, step);
}

void SpriteViewer::ZoomBy(int delta) { zoom_ = std::clamp(zoom_ + delta, kMinZoom, kMaxZoom); }

void SpriteViewer::AskAndGo() {
  const std::string answer = PlatformAskText(
      "Go to Sprite", "Sprite number (hexadecimal, a multiple of 4):", HexText(static_cast<unsigned>(sprite_), 4));
  if (answer.empty()) return;
  unsigned long n = 0;
  if (!ParseHexNumber(answer, n) || n % 4 != 0 || n > static_cast<unsigned long>(kLastSpriteNumber)) {
    WarnBox("\"" + answer + "\" is not a sprite number: give a multiple of 4 from 0x0000 to 0xFFFC.", "Go to Sprite");
    return;
  }
  Show(static_cast<int>(n));
}

BITMAP* SpriteViewer::Picture() {
  Refresh();
  return picture_;
}

void SpriteViewer::ExportPng() {
  BITMAP* picture = Picture();
  if (picture == nullptr) {
    WarnBox("Sprite " + HexText(static_cast<unsigned>(sprite_), 4) + " has no pixels to write.", "Export Sprite");
    return;
  }
  char name[32];
  std::snprintf(name, sizeof name, "sprite-0x%04X.png", static_cast<unsigned>(sprite_));
  const std::string path = PlatformSaveFileDialog("Export Sprite...", {{"PNG picture", "*.png"}}, name);
  if (path.empty()) return;
  // RGBA as `--extract sprites` writes it: the mask colour of the picture has alpha 0.
  std::string error;
  if (!QBR1_WritePngAlpha(path, picture, error))
    ErrorBox("The picture could not be written to\n" + path + ":\n" + error + ".", "Export Sprite");
}

void SpriteViewer::Refresh() {
  const unsigned long long generation = QBR1_EditGeneration();
  if (shown_sprite_ == sprite_ && shown_palette_ == palette_ && shown_mirrored_ == mirrored_ &&
      shown_generation_ == generation)
    return;
  if (shown_sprite_ != sprite_ || shown_generation_ != generation) {
    Nullify(comp_);
    comp_ = sprite_ != 0 ? Rw_Bitmap2CompSprite(RE_QBR1_SptiteRaw(sprite_)) : nullptr;
  }
  if (picture_) destroy_bitmap(picture_);
  picture_ = nullptr;
  if (comp_ && comp_->w > 0 && comp_->h > 0) {
    picture_ = create_bitmap_ex(32, comp_->w, comp_->h);
    if (picture_) {
      clear_to_color(picture_, kMask);
      // The reference point is placed so that the box lands at (0, 0) either way round.
      const short dx = static_cast<short>(mirrored_ ? comp_->w - comp_->cx : comp_->cx);
      Rw_drawvh_qbrpal(comp_, picture_, dx, static_cast<short>(comp_->cy), mirrored_ ? 1 : 0,
                       static_cast<unsigned long>(palette_));
    }
  }
  shown_sprite_ = sprite_;
  shown_palette_ = palette_;
  shown_mirrored_ = mirrored_;
  shown_generation_ = generation;
  ++picture_version_;
}

void SpriteViewer::Compose(BITMAP* view) const {
  const int w = width() * zoom_, h = height() * zoom_;
  const int left = (view->w - w) / 2, top = (view->h - h) / 2;
  // The grid follows the sprite's characters: a square per 8x8 pixels, one corner on the box's corner.
  const int square = kCharacter * zoom_;
  const int gx = ((left % square) + square) % square - square;
  const int gy = ((top % square) + square) % square - square;
  for (int y = gy; y < view->h; y += square)
    for (int x = gx; x < view->w; x += square) {
      const bool light = (((x - left) / square + (y - top) / square) & 1) != 0;
      rectfill(view, x, y, x + square - 1, y + square - 1, light ? kGridLight : kGridDark);
    }
  if (picture_) {
    for (int y = 0; y < picture_->h; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(picture_->line[y]);
      for (int x = 0; x < picture_->w; ++x) {
        if ((row[x] & 0xFFFFFF) == kMask) continue;
        rectfill(view, left + x * zoom_, top + y * zoom_, left + (x + 1) * zoom_ - 1, top + (y + 1) * zoom_ - 1,
                 static_cast<int>(row[x]));
      }
    }
    // The reference point: where the level puts the object's position.
    const int rx = left + ReferenceX() * zoom_, ry = top + ReferenceY() * zoom_;
    hline(view, rx - 4, ry, rx + 4, kReferenceColour);
    vline(view, rx, ry - 4, ry + 4, kReferenceColour);
  }
}

void SpriteViewer::Draw(BITMAP* dest) {
  const ViewFrame area = ResourceViewFrame();
  if (dest == nullptr || area.AreaW() <= 0 || area.AreaH() <= 0) return;
  Refresh();
  view_.Draw(dest, area, ViewKey{picture_version_, zoom_}, [this](BITMAP* view) { Compose(view); });
}

std::string SpriteViewer::Status() const {
  std::string text = "Sprite " + HexText(static_cast<unsigned>(sprite_), 4);
  if (width() == 0) return text + " - no pixels";
  text += " - " + std::to_string(width()) + "x" + std::to_string(height());
  text += " - palette " + HexText(static_cast<unsigned>(palette_), 6);
  text += " - " + std::to_string(zoom_) + "x";
  if (mirrored_) text += " - mirrored";
  return text;
}

void SpriteViewer::Proc() {
  const int wheel = wheel_.Take();
  // Every key is polled each update, so a press made while a menu is open is not taken later.
  const bool ctrl = CtrlHeld();
  const bool next = keys_.Pressed(KEY_PGUP), previous = keys_.Pressed(KEY_PGDN);
  const bool go = keys_.Pressed(KEY_G), export_png = keys_.Pressed(KEY_E);
  const bool pal_back = keys_.Pressed(KEY_OPENBRACE), pal_on = keys_.Pressed(KEY_CLOSEBRACE);
  const bool mirror = keys_.Pressed(KEY_F);
  const bool equals = keys_.Pressed(KEY_EQUALS), plus_pad = keys_.Pressed(KEY_PLUS_PAD);
  const bool minus = keys_.Pressed(KEY_MINUS), minus_pad = keys_.Pressed(KEY_MINUS_PAD);
  const bool zoom_in = equals || plus_pad, zoom_out = minus || minus_pad;
  if (!gate_.Open()) return;
  if (ctrl && wheel != 0) ZoomBy(wheel);
  if (ctrl && zoom_in) ZoomBy(1);
  if (ctrl && zoom_out) ZoomBy(-1);
  if (next) Step(1);
  if (previous) Step(-1);
  if (pal_back) CyclePalettes(-1);
  if (pal_on) CyclePalettes(1);
  if (mirror && !ctrl) ToggleMirror();
  if (ctrl && go) AskAndGo();
  if (ctrl && export_png) ExportPng();
}

void SPRITE_VIEWER_SUBFUNCTION() { RunResourceMode<SpriteViewer>(currentlvlid); }
