#pragma once

// Numbers and sizes of the images built into the program. Shared by the art
// generator (which draws them at these sizes) and the loader (which checks a
// decoded image against them and substitutes a blank one of this size).

struct ResourceInfo {
  int id;
  int w;
  int h;
};

inline constexpr ResourceInfo kResourceTable[] = {
    {500, 8, 32},    // window frame pieces
    {501, 200, 20},  // spare sheet, loaded and released
    {502, 100, 80},  // caption buttons: 5 columns x 4 states of 20x20
    {503, 4, 12},    // menu bar pieces
    {504, 3, 24},    // toolbar background and panel
    {505, 12, 24},   // tool button faces
    {506, 72, 24},   // scroll-bar pieces
    {507, 18, 16},   // status bar and resize grip
    {520, 145, 55},  // MicroFont glyph sheet
    {521, 145, 37},  // DigitFont glyph sheet
    {522, 177, 79},  // menu font glyph sheet
    {523, 32, 32},   // cursor: normal
    {524, 32, 32},   // cursor: move
    {525, 32, 32},   // cursor: horizontal resize
    {526, 32, 32},   // cursor: vertical resize
    {527, 32, 32},   // cursor: diagonal resize
    {540, 528, 16},  // 33 function icons of 16x16
    {541, 112, 12},  // 7 region flags of 16x12
    {542, 96, 16},   // caption icon
    {580, 512, 96},  // start-up banner
    {581, 512, 96},  // extraction banner
};

// The entry for id, or nullptr when the program has no such image.
constexpr const ResourceInfo* FindResourceInfo(int id) {
  for (const ResourceInfo& info : kResourceTable)
    if (info.id == id) return &info;
  return nullptr;
}

// 0xAARRGGBB of a transparent pixel: magenta with alpha 0, which is what the
// drawing library's own masked routines compare against.
inline constexpr unsigned int kMaskPixel = 0x00FF00FFu;
// Low 24 bits of the glyph box separators of the font sheets.
inline constexpr unsigned int kFontBoxRgb = 0xFFFF00u;
