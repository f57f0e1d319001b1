#include "resources/skin.h"

#include "gfx/ex_graphics.h"
#include "resources/resource_loader.h"
#include "resources/resource_table.h"
#include "shell/base/functions.h"

BITMAP* HelioBMP[45] = {};
BITMAP* FunctionIcons = nullptr;
BITMAP* RegionFlagIcons = nullptr;
BITMAP* QBRREHelioWinIcon = nullptr;
BITMAP* BMPBannerStartup = nullptr;
BITMAP* BMPBannerExtract = nullptr;
FONT* MicroFont = nullptr;
FONT* DigitFont = nullptr;
FONT* NMenuFont[4] = {};
BITMAP* MouseCursor_N = nullptr;
BITMAP* MouseCursor_M = nullptr;
BITMAP* MouseCursor_H = nullptr;
BITMAP* MouseCursor_V = nullptr;
BITMAP* MouseCursor_D = nullptr;

namespace {

// A skin slot cut from a sheet, or drawn mirrored from an earlier slot.
struct SlotSource {
  int slot;
  int sheet;  // resource number; 0 for a mirrored slot
  int x, y;   // in the sheet; for a mirrored slot x is the slot it mirrors
  int w, h;
  short flip;  // mirrored slots: 1 left-right, 2 top-bottom
};

// In table order; each mirrored slot comes after the slot it is drawn from.
constexpr SlotSource kSlots[] = {
    {0, 500, 0, 0, 6, 24, 0},     {1, 500, 7, 0, 1, 24, 0},     {2, 0, 0, 0, 6, 24, 1},
    {5, 500, 0, 24, 4, 1, 0},     {4, 0, 5, 0, 4, 1, 1},        {6, 500, 0, 28, 4, 4, 0},
    {7, 500, 4, 28, 1, 4, 0},     {8, 503, 1, 0, 1, 12, 0},     {9, 503, 0, 0, 1, 12, 0},
    {10, 503, 2, 0, 1, 12, 0},    {11, 503, 3, 0, 1, 12, 0},    {12, 504, 0, 0, 1, 24, 0},
    {13, 504, 1, 0, 1, 24, 0},    {14, 504, 2, 0, 1, 24, 0},    {15, 505, 0, 0, 2, 24, 0},
    {16, 505, 3, 0, 2, 24, 0},    {17, 505, 6, 0, 2, 24, 0},    {18, 505, 2, 0, 1, 24, 0},
    {19, 505, 5, 0, 1, 24, 0},    {20, 505, 8, 0, 1, 24, 0},    {21, 507, 0, 0, 1, 16, 0},
    {22, 507, 1, 0, 1, 16, 0},    {23, 507, 2, 0, 16, 16, 0},   {25, 506, 12, 0, 12, 12, 0},
    {26, 506, 12, 12, 12, 12, 0}, {27, 506, 24, 0, 12, 12, 0},  {28, 506, 24, 12, 12, 12, 0},
    {29, 506, 36, 0, 12, 12, 0},  {30, 506, 36, 12, 12, 12, 0}, {31, 506, 48, 0, 12, 12, 0},
    {32, 506, 48, 12, 12, 12, 0}, {33, 506, 0, 0, 12, 12, 0},   {34, 506, 0, 12, 12, 12, 0},
    {35, 506, 60, 0, 1, 12, 0},   {36, 506, 60, 12, 12, 1, 0},  {37, 506, 61, 0, 2, 12, 0},
    {38, 506, 63, 0, 1, 12, 0},   {39, 506, 64, 0, 1, 12, 0},   {40, 0, 37, 0, 2, 12, 1},
    {41, 506, 60, 13, 12, 2, 0},  {42, 506, 60, 15, 12, 1, 0},  {43, 506, 60, 16, 12, 1, 0},
    {44, 0, 41, 0, 12, 2, 2},
};

constexpr int kSheetIds[] = {500, 501, 503, 504, 505, 506, 507, 540, 541, 542};

// A 32-bit copy of a whole sheet.
BITMAP* CopyOf(BITMAP* sheet) {
  if (sheet == nullptr) return nullptr;
  BITMAP* copy = create_bitmap_ex(32, sheet->w, sheet->h);
  if (copy != nullptr) blit(sheet, copy, 0, 0, 0, 0, sheet->w, sheet->h);
  return copy;
}

void LoadFonts() {
  MicroFont = load_font_res(520);
  DigitFont = load_font_res(521);
  for (int i = 0; i < 4; ++i) NMenuFont[i] = load_font_rec_res(522, kNMenuFontColours[i]);
}

void LoadSkin() {
  BITMAP* sheets[std::size(kSheetIds)] = {};
  auto sheet = [&](int id) -> BITMAP* {
    for (size_t i = 0; i < std::size(kSheetIds); ++i)
      if (kSheetIds[i] == id) return sheets[i];
    return nullptr;
  };
  for (size_t i = 0; i < std::size(kSheetIds); ++i) sheets[i] = load_bmp_res(kSheetIds[i]);

  HelioBMP[3] = load_bmp_res(502);
  for (const SlotSource& s : kSlots) {
    BITMAP* slot = create_bitmap_ex(32, s.w, s.h);
    HelioBMP[s.slot] = slot;
    if (slot == nullptr) continue;
    // Mirrored slots start as mask colour: the mirroring copy skips the
    // source's transparent pixels, which must stay transparent here too.
    clear_to_color(slot, int(kMaskPixel));
    if (s.sheet == 0) Rw_drawvh(HelioBMP[s.x], slot, 0, 0, s.flip);
    else if (BITMAP* src = sheet(s.sheet)) blit(src, slot, s.x, s.y, 0, 0, s.w, s.h);
  }
  FunctionIcons = CopyOf(sheet(540));
  RegionFlagIcons = CopyOf(sheet(541));
  QBRREHelioWinIcon = CopyOf(sheet(542));
  for (BITMAP*& s : sheets) Nullify(s);
}

void LoadCursors() {
  MouseCursor_N = load_bmp_res(523);
  MouseCursor_M = load_bmp_res(524);
  MouseCursor_H = load_bmp_res(525);
  MouseCursor_V = load_bmp_res(526);
  MouseCursor_D = load_bmp_res(527);
}

}  // namespace

void LoadBuiltinResources() {
  LoadFonts();
  BMPBannerStartup = load_bmp_res(580);
  BMPBannerExtract = load_bmp_res(581);
  LoadSkin();
  LoadCursors();
}

void DestroyBuiltinResources() {
  // The mouse code keeps drawing its sprite; hand it back the default one
  // before the cursor bitmaps go.
  set_mouse_sprite(nullptr);
  Nullify(MouseCursor_N);
  Nullify(MouseCursor_M);
  Nullify(MouseCursor_H);
  Nullify(MouseCursor_V);
  Nullify(MouseCursor_D);
  Nullify(MicroFont);
  Nullify(DigitFont);
  for (FONT*& f : NMenuFont) Nullify(f);
  Nullify(FunctionIcons);
  Nullify(RegionFlagIcons);
  Nullify(QBRREHelioWinIcon);
  Nullify(BMPBannerStartup);
  Nullify(BMPBannerExtract);
  for (BITMAP*& slot : HelioBMP) Nullify(slot);
}
