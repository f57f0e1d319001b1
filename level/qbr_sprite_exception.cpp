#include "level/qbr_sprite_exception.h"

#include <algorithm>
#include <cstdint>

#include "platform/config_lock.h"
#include "rom/globaldata.h"
#include "shell/base/functions.h"

CompSprite* Rw_Bitmap2CompSprite(BITMAP* input) {
  auto* sprite = new CompSprite();
  if (!input) return sprite;
  auto pixel = [&](int x, int y) { return reinterpret_cast<const std::uint32_t*>(input->line[y])[x]; };
  int top = input->h, bottom = -1, left = input->w, right = -1;
  for (int y = 0; y < input->h; ++y) {
    for (int x = 0; x < input->w; ++x) {
      if (pixel(x, y) == 0) continue;
      top = std::min(top, y);
      bottom = y;
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  if (bottom >= 0) {
    sprite->cx = static_cast<std::uint16_t>(128 - left);
    sprite->cy = static_cast<std::uint16_t>(128 - top);
    sprite->w = static_cast<std::uint16_t>(right - left + 1);
    sprite->h = static_cast<std::uint16_t>(bottom - top + 1);
    const int stride = (sprite->w + 1) / 2;
    sprite->line = new unsigned char*[sprite->h];
    for (int y = 0; y < sprite->h; ++y) {
      sprite->line[y] = new unsigned char[stride]();
      for (int x = 0; x < sprite->w; ++x) {
        sprite->line[y][x / 2] |= static_cast<unsigned char>((pixel(left + x, top + y) & 15) << (4 * (x & 1)));
      }
    }
  }
  destroy_bitmap(input);
  return sprite;
}

bool QBR1_SpriteExceptions(int& object_zo, int& object_ani, int& object_pal, int& object_spr) {
  const std::string zo = int2hexstr(object_zo, 4), ani = int2hexstr(object_ani, 4);
  int s, p, q, compound;
  {
    ConfigGuard guard;
    s = get_config_hex("OBJs_DefineSprite", zo.c_str(), kQBR1Undefined);
    p = get_config_hex("OBJs_DefinePalette", zo.c_str(), kQBR1Undefined);
    q = get_config_hex("ANIMs_DefinePalette", ani.c_str(), kQBR1Undefined);
    compound = get_config_hex("OBJs_Compound", zo.c_str(), 0);
  }
  const auto bank = static_cast<std::uint32_t>(qbr1gbl.OBJPalBank);
  if (s != kQBR1Undefined) object_spr = s;
  if (p != kQBR1Undefined) object_pal = static_cast<int>(static_cast<std::uint32_t>(p) | bank);
  if (q != kQBR1Undefined) object_pal = static_cast<int>(static_cast<std::uint32_t>(q) | bank);
  return compound != 0;
}
