#include "editor/shared_lists.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>

#include "level/free_space_config.h"
#include "level/leveldata.h"
#include "platform/dialogs.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"

namespace {

// Lists whose edits change every level that shows them, by kind and offset.
std::set<std::pair<int, long long>> changeForAll;

long long Wide(unsigned long v) { return static_cast<long long>(v); }

std::string Id(int id) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", id);
  return text;
}

// The banana pointer index that level `level` reads, and a pointer index no
// level reads whose word lies inside the pointer table (-1 when none does).
int BananaIndexOf(const RomView& rom, int level) {
  return static_cast<int>(rom.Byte(Wide(qbr1gbl.LvlBNAMapTable1) + QBR1_ListIndexOf(level)));
}

int UnusedBananaIndex(const RomView& rom) {
  std::vector<bool> used(256, false);
  int last = 0;
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    const unsigned k = rom.Byte(Wide(qbr1gbl.LvlBNAMapTable1) + id);
    used[k] = true;
    last = std::max(last, static_cast<int>(k));
  }
  for (int k = 0; k <= last; ++k) {
    if (!used[static_cast<std::size_t>(k)]) return k;
  }
  return -1;
}

}  // namespace

std::vector<int> LevelsShowingList(ListKind kind, long long offset) {
  std::vector<int> levels;
  for (const ListPlace& p : QBR1_ListPlaces(CurrentRom(), qbr1gbl, kind)) {
    if (p.offset != offset) continue;
    for (int index : p.ids) levels.push_back(QBR1_ListIndexOf(index));
  }
  std::sort(levels.begin(), levels.end());
  return levels;
}

SharedListChoice AskSharedListEdit(ListKind kind, int level, long long offset, const std::vector<int>& levels) {
  const std::pair<int, long long> key{static_cast<int>(kind), offset};
  if (changeForAll.count(key) != 0) return SharedListChoice::All;
  std::string ids;
  for (std::size_t i = 0; i < levels.size() && i < 2; ++i) ids += (i > 0 ? ", " : "") + Id(levels[i]);
  if (levels.size() > 2) ids += ", ...";
  const std::string text = std::string("The ") + QBR1_ListKindName(kind) + " list of level " + Id(level) +
                           " is shared by " + std::to_string(levels.size()) + " levels (" + ids +
                           "). Change it for all of them, or give level " + Id(level) + " its own copy?";
  const std::string answer = PlatformAskChoice("Shared List", text, {"All", "This level", "Cancel"});
  if (answer == "All") {
    changeForAll.insert(key);
    return SharedListChoice::All;
  }
  return answer == "This level" ? SharedListChoice::ThisLevel : SharedListChoice::Cancel;
}

void FollowSharedListMove(ListKind kind, long long from, long long to) {
  if (changeForAll.erase({static_cast<int>(kind), from}) != 0) changeForAll.insert({static_cast<int>(kind), to});
}

void ForgetSharedListAnswers() { changeForAll.clear(); }

long long GiveOwnListPlace(ListKind kind, int level, long long bytes, std::string& why) {
  const RomView rom = CurrentRom();
  const std::vector<ListPlace> now = QBR1_ListPlaces(rom, qbr1gbl, kind);
  const ListPool pool = QBR1_BuildListPool(now, QBR1_FreeSpace().Of(kind));
  const std::vector<ByteRange> free = QBR1_FreeRuns(pool, now);
  const long long at = QBR1_FirstFit(free, bytes);
  if (at < 0) {
    long long largest = 0;
    for (const ByteRange& r : free) largest = std::max(largest, r.Size());
    why = std::string("No room for a copy: the ") + QBR1_ListKindName(kind) + " list needs " + std::to_string(bytes) +
          " bytes, " + std::to_string(bytes - largest) + " bytes missing in the free space";
    return -1;
  }
  const auto value = static_cast<unsigned short>(QBR1_ListPointerValue(qbr1gbl, kind, at));
  const int index = QBR1_ListIndexOf(level);
  if (kind == ListKind::Objects) {
    const long long pointer = Wide(qbr1gbl.LvlOBJMapBank | qbr1gbl.LvlOBJMapTable) + 2LL * index;
    return QBR1_WriteWord(static_cast<std::size_t>(pointer), value) ? at : -1;
  }
  int k = BananaIndexOf(rom, level);
  int sharing = 0;
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    if (static_cast<int>(rom.Byte(Wide(qbr1gbl.LvlBNAMapTable1) + id)) == k) ++sharing;
  }
  if (sharing > 1) {
    k = UnusedBananaIndex(rom);
    if (k < 0) {
      why = "No room for a copy: every banana pointer is in use by other levels";
      return -1;
    }
    const auto byte = static_cast<unsigned char>(k);
    if (!QBR1_WriteBytes(static_cast<std::size_t>(Wide(qbr1gbl.LvlBNAMapTable1) + index), &byte, 1)) return -1;
  }
  const long long pointer = Wide(qbr1gbl.LvlBNAMapTable2) + 2LL * k;
  return QBR1_WriteWord(static_cast<std::size_t>(pointer), value) ? at : -1;
}
