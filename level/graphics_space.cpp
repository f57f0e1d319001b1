#include "level/graphics_space.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "level/ex_gfx_QBR1.h"
#include "level/free_space_config.h"
#include "level/leveldata.h"
#include "platform/config_lock.h"
#include "rom/globaldata.h"
#include "shell/base/functions.h"
#include "platform/allegro_include.h"

namespace {

std::string Hex(long long n, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%0*llX", digits, n);
  return text;
}

std::string RangeName(const ByteRange& r) { return Hex(r.first, 6) + "-" + Hex(r.last, 6); }

long long ThemeGraphicsOffset(int a) {
  ConfigGuard guard;
  return get_config_hex("ThemeGraphics", int2hexstr(a, 2).c_str(), 0x158FC0);
}

// The archetypes levels 0-229 use, each once.
std::vector<int> LevelArchetypes() {
  std::set<int> used;
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id)
    if (!QBR1_IsHiddenLevel(id)) used.insert(Get_QBR1_LevelArchetype(id));
  return {used.begin(), used.end()};
}

// What the graphics of `archetypes` occupy now, except archetype `except`'s.
std::vector<std::pair<int, ByteRange>> StreamPlaces(const RomView& rom, const std::vector<int>& archetypes, int except) {
  std::vector<std::pair<int, ByteRange>> places;
  for (int a : archetypes) {
    if (a == except) continue;
    const ByteRange place = QBR1_GraphicsStreamPlace(rom, a, Get_QBR1_LevelGFXOffset(a));
    if (place.Size() > 0) places.push_back({a, place});
  }
  return places;
}

}  // namespace

long long QBR1_GraphicsPointerAt(int a) {
  ConfigGuard guard;
  return get_config_hex("ThemeGraphicsPointer", int2hexstr(a, 2).c_str(), -1);
}

bool QBR1_GraphicsMayMove(int a) {
  if (QBR1_GraphicsPointerAt(a) < 0) return false;
  ConfigGuard guard;
  return get_config_string("FreeSpace", "Graphics", "")[0] != '\0';
}

long long QBR1_GraphicsPointerTarget(const RomView& rom, long long pointer) { return QBR1_BusToFile(rom.Long(pointer)); }

ByteRange QBR1_GraphicsStreamPlace(const RomView& rom, int a, long long offset) {
  if (!rom.Contains(offset)) return {};
  const std::string_view tail = rom.Tail(offset);
  if ((a & 15) == kQBR1PlainArchetype)
    return {offset, offset + std::min<long long>(kQBR1PlainGFXSize, static_cast<long long>(tail.size())) - 1};
  std::vector<unsigned char> raw;
  const CharBlockEnd end =
      QBR1_DecompressCharacters(reinterpret_cast<const unsigned char*>(tail.data()), tail.size(), raw);
  return {offset, offset + static_cast<long long>(end.length) - 1};
}

std::vector<ByteRange> QBR1_GraphicsSpace(const RomView& rom, std::vector<std::string>* messages) {
  std::vector<std::string> refusals;
  const std::vector<ByteRange> declared = QBR1_ReadGraphicsFreeRanges(refusals);
  if (declared.empty()) {
    if (messages) messages->insert(messages->end(), refusals.begin(), refusals.end());
    return {};
  }
  std::vector<std::string> ignored;
  const FreeSpaceDeclaration lists = QBR1_ReadFreeSpaceConfig(ignored);
  const std::vector<NamedRange> tables = QBR1_LevelTables(rom, qbr1gbl);
  const std::vector<int> archetypes = LevelArchetypes();
  const std::vector<std::pair<int, ByteRange>> streams = StreamPlaces(rom, archetypes, -1);
  std::vector<ByteRange> accepted;
  for (std::size_t i = 0; i < declared.size(); ++i) {
    const ByteRange& r = declared[i];
    std::string why;
    if (r.first < 0 || r.last >= static_cast<long long>(rom.Size())) why = "it lies outside the image";
    for (std::size_t j = 0; why.empty() && j < declared.size(); ++j)
      if (j != i && r.Meets(declared[j])) why = "it overlaps FreeSpace Graphics " + RangeName(declared[j]);
    for (ListKind kind : {ListKind::Objects, ListKind::Bananas})
      for (const ByteRange& l : lists.Of(kind))
        if (why.empty() && r.Meets(l))
          why = std::string("it overlaps FreeSpace ") + (kind == ListKind::Objects ? "Objects " : "Bananas ") + RangeName(l);
    for (const NamedRange& t : tables)
      if (why.empty() && r.Meets(t.range)) why = "it overlaps the " + t.name;
    // A stream that lies wholly inside is one an earlier session moved there.
    for (const auto& [a, place] : streams)
      if (why.empty() && r.Meets(place) && (place.first < r.first || place.last > r.last))
        why = "it overlaps part of the 8x8 graphics of archetype " + Hex(a, 2);
    for (int a : archetypes) {
      const ByteRange set{Get_QBR1_LevelTISOffset(a), Get_QBR1_LevelTISOffset(a) +
                                                          32LL * (a >= 0 && a < 14 ? QBR1_Data_TISNumTiles[a] : 0) - 1};
      if (why.empty() && set.Size() > 0 && r.Meets(set)) why = "it overlaps the tile set of archetype " + Hex(a, 2);
    }
    if (why.empty())
      accepted.push_back(r);
    else
      refusals.push_back("FreeSpace Graphics " + RangeName(r) + " refused: " + why);
  }
  for (int a : archetypes) {
    if (!QBR1_GraphicsMayMove(a)) continue;
    const long long pointer = QBR1_GraphicsPointerAt(a), target = QBR1_GraphicsPointerTarget(rom, pointer);
    const long long named = ThemeGraphicsOffset(a);
    const bool moved = std::any_of(accepted.begin(), accepted.end(),
                                   [&](const ByteRange& r) { return target >= r.first && target <= r.last; });
    if (target != named && !moved)
      refusals.push_back("ThemeGraphicsPointer " + int2hexstr(a, 2) + " at " + Hex(pointer, 6) + " points to " +
                         Hex(target, 6) + ", not to ThemeGraphics " + Hex(named, 6) +
                         " nor into FreeSpace Graphics: the graphics are read from " + Hex(target, 6));
  }
  if (messages) messages->insert(messages->end(), refusals.begin(), refusals.end());
  return accepted;
}

std::vector<std::string> QBR1_CheckGraphicsSpace(const RomView& rom) {
  std::vector<std::string> messages;
  QBR1_GraphicsSpace(rom, &messages);
  return messages;
}

long long QBR1_GraphicsFreePlace(const RomView& rom, int moving, long long bytes) {
  std::vector<ByteRange> free = QBR1_GraphicsSpace(rom);
  std::sort(free.begin(), free.end(), [](const ByteRange& x, const ByteRange& y) { return x.first < y.first; });
  // Cut the runs around every stream in use.
  for (const auto& [a, place] : StreamPlaces(rom, LevelArchetypes(), moving)) {
    std::vector<ByteRange> cut;
    for (const ByteRange& r : free) {
      if (!r.Meets(place)) {
        cut.push_back(r);
        continue;
      }
      if (r.first < place.first) cut.push_back({r.first, place.first - 1});
      if (r.last > place.last) cut.push_back({place.last + 1, r.last});
    }
    free = std::move(cut);
  }
  return QBR1_FirstFit(free, bytes);
}
