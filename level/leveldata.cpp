#include "level/leveldata.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "level/graphics_space.h"
#include "level/rom_access.h"
#include "platform/config_lock.h"
#include "rom/globaldata.h"
#include "shell/base/functions.h"
#include "platform/allegro_include.h"

namespace {

// Offsets are computed wide and kept as the 32-bit pattern the record holds,
// so a nonsense table or configuration value cannot overflow an int.
int ToInt(long long v) { return static_cast<int>(static_cast<std::uint32_t>(v)); }

long long Wide(unsigned long v) { return static_cast<long long>(v); }

int ConfigHex(const char* section, int key, int digits, int fallback) {
  ConfigGuard guard;
  return get_config_hex(section, int2hexstr(key, digits).c_str(), fallback);
}

unsigned ThemeWord(int id) { return QBR1_Word(Wide(qbr1gbl.ThemeFuncTable) + 2LL * id); }

}  // namespace

int QBR1_ListIndexOf(int id) {
  if (id == 0x27) return 0x2E;
  if (id == 0x2E) return 0x27;
  return id;
}

long long Get_QBR1_LevelRecord(int id) {
  const unsigned w = QBR1_Word(Wide(qbr1gbl.LvlCamBank | qbr1gbl.LvlCamTable) + 2LL * id);
  // The stored pointers point 4 bytes past the record.
  return Wide(qbr1gbl.LvlCamBank) + w - 4;
}

int Get_QBR1_LevelArchetype(int id) { return ConfigHex("ThemeArchetype", ThemeWord(id), 4, 0); }

int Get_QBR1_LevelPalette(int id) { return ConfigHex("ThemePalette", ThemeWord(id), 4, 0xA1DC); }

int Get_QBR1_LevelMode(int a) { return ConfigHex("ArchetypeSequencing", a, 2, 0); }

std::string Get_QBR1_LevelName(int id) {
  const RomView rom = CurrentRom();
  const unsigned k = rom.Byte(Wide(qbr1gbl.LvlNameBank | qbr1gbl.LvlNameTable1) + id);
  const unsigned p = rom.Word(Wide(qbr1gbl.LvlNameBank | qbr1gbl.LvlNameTable2) + 2LL * k);
  const std::string_view text = rom.Tail(Wide(qbr1gbl.LvlNameBank) + p);
  // The last character carries bit 7; only "R" and the lower-case letters are stored that way.
  const auto last = std::find_if(text.begin(), text.end(), [](char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return c == 0xD2 || (c >= 0xE1 && c <= 0xFA);
  });
  std::string name(text.begin(), last);
  if (last != text.end()) name.push_back(static_cast<char>(static_cast<unsigned char>(*last) - 0x80));
  return name;
}

int Get_QBR1_LevelOffset(int id) {
  const int a = Get_QBR1_LevelArchetype(id);
  const long long base = QBR1_BusToFile(QBR1_Long(Wide(qbr1gbl.LvlStackTable) + 3LL * a));
  return ToInt(base + Get_QBR1_LevelOffsetX(id));
}

int Get_QBR1_LevelOffsetX(int id) { return static_cast<int>(QBR1_Word(Get_QBR1_LevelRecord(id))); }

int Get_QBR1_LevelSize(int id) {
  const long long record = Get_QBR1_LevelRecord(id);
  return static_cast<int>(QBR1_Word(record + 2)) - static_cast<int>(QBR1_Word(record)) + 0x100;
}

int Get_QBR1_LevelTilesW(int id, int a) { return Get_QBR1_LevelMode(a) != 0 ? 64 : Get_QBR1_LevelSize(id) / 32; }

int Get_QBR1_LevelTilesH(int id, int a) { return Get_QBR1_LevelMode(a) != 0 ? Get_QBR1_LevelSize(id) / 128 : 16; }

int Get_QBR1_LevelGFXOffset(int a) {
  // Graphics that may move are where their pointer says, which an earlier move may have changed.
  if (QBR1_GraphicsMayMove(a)) return ToInt(QBR1_GraphicsPointerTarget(CurrentRom(), QBR1_GraphicsPointerAt(a)));
  return ConfigHex("ThemeGraphics", a, 2, 0x158FC0);
}

int Get_QBR1_LevelTISOffset(int a) { return ConfigHex("ThemeTileSet", a, 2, 0x19A3C0); }

int Get_QBR1_LevelObjectMap(int id) {
  const unsigned p = QBR1_Word(Wide(qbr1gbl.LvlOBJMapBank | qbr1gbl.LvlOBJMapTable) + 2LL * id);
  return ToInt(Wide(p | qbr1gbl.LvlOBJMapBank));
}

unsigned long Get_QBR1_LevelBananaMap(int id) {
  const unsigned k = QBR1_Byte(Wide(qbr1gbl.LvlBNAMapTable1) + id);
  const unsigned p = QBR1_Word(Wide(qbr1gbl.LvlBNAMapTable2) + 2LL * k);
  return static_cast<std::uint32_t>(p + qbr1gbl.LvlBNAMapTable2);
}

void Get_QBR1_LevelDataStruct(int id, leveldata& lvl) {
  lvl.ID = id;
  lvl.name = Get_QBR1_LevelName(id);
  lvl.archetype = Get_QBR1_LevelArchetype(id);
  lvl.sequencing = Get_QBR1_LevelMode(lvl.archetype);
  lvl.tilemap = Get_QBR1_LevelOffset(id);
  lvl.x = Get_QBR1_LevelOffsetX(id);
  lvl.tileset = Get_QBR1_LevelTISOffset(lvl.archetype);
  lvl.tilegfx = Get_QBR1_LevelGFXOffset(lvl.archetype);
  lvl.backmap = lvl.backgfx = lvl.foremap = lvl.foregfx = lvl.physmap = 0;
  lvl.palette = ToInt(Wide(static_cast<std::uint32_t>(Get_QBR1_LevelPalette(id))) + Wide(qbr1gbl.ThemePalBank));
  lvl.tile_w = Get_QBR1_LevelTilesW(id, lvl.archetype);
  lvl.tile_h = Get_QBR1_LevelTilesH(id, lvl.archetype);
  lvl.size = Get_QBR1_LevelSize(id);
  Get_QBR1_LevelListOffsets(lvl);
}

void Get_QBR1_LevelListOffsets(leveldata& lvl) {
  const int substitute = QBR1_ListIndexOf(lvl.ID);
  lvl.objects = Get_QBR1_LevelObjectMap(substitute);
  lvl.bananas = static_cast<int>(Get_QBR1_LevelBananaMap(substitute));
}

bool ParseLevelId(const std::string& text, int& id) {
  if (text.empty()) return false;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* digits = text.c_str() + (hex ? 2 : 0);
  if (*digits == '\0' || *digits == '-' || *digits == '+') return false;
  char* end = nullptr;
  const long value = std::strtol(digits, &end, hex ? 16 : 10);
  if (*end != '\0' || value < kQBR1FirstLevel || value > kQBR1LastLevel) return false;
  id = static_cast<int>(value);
  return true;
}
