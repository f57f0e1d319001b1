// A whole level as the level view reads it, from an arbitrary image and
// arbitrary game-configuration values: record, tile list, banana walk, object
// walk, scripts and sprite decoding. Any box goes to an in-process dialog script.
//
// Input: a 64-byte header (flags, level id, archetype, ten global offsets,
// configuration values), then either the image itself (header byte 0, bit 0)
// or patches over a 4 MiB zero image: 3-byte offset, 1-byte length, bytes.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "level/ex_gfx_QBR1.h"
#include "level/level_objects.h"
#include "level/qbr_sprite_exception.h"
#include "level/snesbitmap.h"
#include "platform/config_lock.h"
#include "platform/dialogs.h"
#include "rom/globaldata.h"
#include "shell/base/functions.h"
#include "platform/allegro_include.h"

namespace {

constexpr std::size_t kHeader = 64;

std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::string Hex(std::uint32_t v, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*X", digits, static_cast<unsigned>(v));
  return buf;
}

// Offsets mostly land inside a 4 MiB image; the top bit of a value's last byte lets it run wild.
std::uint32_t Offset(const std::uint8_t* p) {
  const std::uint32_t v = U32(p);
  return (p[3] & 0x80) ? v : v & 0x3FFFFF;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  install_allegro(SYSTEM_NONE, &errno, std::atexit);
  set_color_depth(32);
  PlatformUseScriptedDialogs([](const DialogRecord&) { return std::string("no"); });
  BFA_Activate(0x10, 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kHeader) return 0;
  const std::uint8_t* h = data;
  if (h[0] & 1) {
    QBR1.assign(data + kHeader, data + size);
  } else {
    QBR1.assign(0x400000, 0);
    for (std::size_t at = kHeader; at + 4 <= size;) {
      const std::size_t o = (data[at] | data[at + 1] << 8 | data[at + 2] << 16) & 0x3FFFFF, n = data[at + 3];
      at += 4;
      for (std::size_t k = 0; k < n && at < size && o + k < QBR1.size(); ++k, ++at)
        QBR1[o + k] = static_cast<char>(data[at]);
    }
  }
  const int id = h[1] % 230;

  std::string cfg = "[Global_Offsets]\n";
  if (h[0] & 2) {
    for (int k = 0; k < 10; ++k)
      cfg += std::string(kGlobalOffsetKeys[k].key) + " = " + Hex(Offset(h + 4 + 4 * k), 8) + "\n";
  }
  {
    ConfigGuard guard;
    set_config_data(cfg.c_str(), static_cast<int>(cfg.size()));
  }
  ReadGlobalOffsets(qbr1gbl);
  // Per-archetype and per-object keys, named after what this image holds for the level.
  const unsigned theme = QBR1_Word(static_cast<long long>(qbr1gbl.ThemeFuncTable) + 2 * id);
  const int archetype = h[2];
  cfg += "[ThemeArchetype]\n" + Hex(theme, 4) + " = " + Hex(archetype, 2) + "\n";
  cfg += "[ThemePalette]\n" + Hex(theme, 4) + " = " + Hex(U32(h + 48), 8) + "\n";
  cfg += "[ArchetypeSequencing]\n" + Hex(archetype & 0xFF, 2) + " = " + Hex(h[3] & 1, 2) + "\n";
  cfg += "[ThemeGraphics]\n" + Hex(archetype & 0xFF, 2) + " = " + Hex(Offset(h + 52), 8) + "\n";
  cfg += "[ThemeTileSet]\n" + Hex(archetype & 0xFF, 2) + " = " + Hex(Offset(h + 56), 8) + "\n";
  const unsigned zo = h[60] | h[61] << 8;
  cfg += "[OBJs_DefineSprite]\n" + Hex(zo, 4) + " = " + Hex(U32(h + 44) & (h[3] & 2 ? 0xFFFFFFFF : 0xFFFF), 8) + "\n";
  cfg += "[OBJs_DefinePalette]\n" + Hex(zo, 4) + " = " + Hex(U32(h + 48) >> 8, 8) + "\n";
  cfg += "[ANIMs_DefinePalette]\n" + Hex(h[62], 4) + " = " + Hex(h[63], 4) + "\n";
  cfg += "[OBJs_Compound]\n" + Hex(zo, 4) + " = " + Hex(h[3] >> 2 & 1, 2) + "\n";
  {
    ConfigGuard guard;
    set_config_data(cfg.c_str(), static_cast<int>(cfg.size()));
  }
  ReadGlobalOffsets(qbr1gbl);

  leveldata lvl;
  Get_QBR1_LevelDataStruct(id, lvl);
  std::vector<BITMAP*> tiles;
  QBR1_FillTilesVector(tiles, lvl);
  for (BITMAP*& b : tiles) Nullify(b);

  int cells = 0;
  for (const QBR1BananaGroup& g : QBR1_ReadBananaMap(lvl)) {
    for (int c = 0; c < g.columns && cells < 4096; ++c)
      for (int r = 0; r < g.rows && cells < 4096; ++r, ++cells) QBR1_BananaCell(g, c, r);
  }
  BITMAP* banana = RE_QBR1_16SpriteRaw_bmp(static_cast<int>(qbr1gbl.BananaGraphics) + 64 * (h[3] & 7),
                                           static_cast<int>(qbr1gbl.BananaPalette), h[3] & 8);
  Nullify(banana);

  BITMAP* frame = create_bitmap_ex(32, 96, 64);
  int drawn = 0;
  for (const QBR1ObjectRecord& o : QBR1_ReadObjectMap(lvl)) {
    if (drawn == 3) break;
    QBR1ObjectScript s = QBR1_WalkObjectScripts(o.zo);
    int objectZo = o.zo;
    QBR1_SpriteExceptions(objectZo, s.ani, s.pal, s.spr);
    if (s.spr == 0) continue;
    CompSprite* cs = Rw_Bitmap2CompSprite(RE_QBR1_SptiteRaw(s.spr));
    Rw_drawvh_qbrpal(cs, frame, static_cast<short>(o.x), static_cast<short>(o.y), static_cast<short>(h[3] >> 4),
                     static_cast<unsigned long>(s.pal));
    Rw_drawvh_qbrpal_add(cs, frame, 40, 40, static_cast<short>(drawn), static_cast<unsigned long>(s.pal));
    Nullify(cs);
    ++drawn;
  }
  destroy_bitmap(frame);
  return 0;
}
