#include "level/free_space_report.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string RangeText(const ByteRange& r) {
  char text[32];
  std::snprintf(text, sizeof text, "%06llX-%06llX", r.first, r.last);
  return text;
}

}  // namespace

void QBR1_WriteFreeSpaceReport(std::ostream& out, const RomView& rom, const globaldata& g,
                               const FreeSpaceDeclaration& decl) {
  for (ListKind kind : {ListKind::Objects, ListKind::Bananas}) {
    const std::vector<ListPlace> lists = QBR1_ListPlaces(rom, g, kind);
    const ListPool pool = QBR1_BuildListPool(lists, decl.Of(kind));
    ByteRange largest;
    for (const ByteRange& r : QBR1_FreeRuns(pool, lists)) {
      if (r.Size() > largest.Size()) largest = r;
    }
    out << (kind == ListKind::Objects ? "Objects" : "Bananas") << "\n";
    out << "  pool: " << pool.Size() << " bytes\n";
    out << "  in use: " << QBR1_PoolBytesInUse(pool, lists) << " bytes\n";
    out << "  largest free run: " << std::max(0LL, largest.Size()) << " bytes";
    if (largest.Size() > 0) out << " at " << RangeText(largest);
    out << "\n";
    for (const ByteRange& c : QBR1_UnreachedGaps(rom, g, kind, decl)) {
      out << "  candidate only, not declared: " << RangeText(c) << " (" << c.Size()
          << " bytes between lists that no pointer reaches)\n";
    }
    for (const ByteRange& c : QBR1_FreeSpaceCandidates(rom, g, kind, decl)) {
      char fill[8];
      std::snprintf(fill, sizeof fill, "%02X", rom.Byte(c.first));
      out << "  candidate only, not declared: " << RangeText(c) << " (" << c.Size() << " bytes of " << fill << ")\n";
    }
  }
}
