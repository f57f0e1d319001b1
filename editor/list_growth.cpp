#include "editor/list_growth.h"

#include <algorithm>

#include "level/free_space_config.h"
#include "level/level_records.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"

namespace {

ListPool OpenedPool(ListKind kind, std::vector<ListPlace>& opened) {
  opened = QBR1_ListPlaces(OpenedImageView(), qbr1gbl, kind);
  return QBR1_BuildListPool(opened, QBR1_FreeSpace().Of(kind));
}

}  // namespace

RomView OpenedImageView() {
  const std::vector<unsigned char>& file = QBR1_OpenedFile();
  const std::size_t header = QBR1_HeaderSize();
  if (file.size() <= header) return CurrentRom();
  return RomView(file.data() + header, file.size() - header);
}

std::size_t HeldRecords(ListKind kind, long long offset, std::size_t records_now) {
  const long long size = QBR1_ListRecordSize(kind), end = QBR1_ListEndBytes(kind);
  std::vector<ListPlace> opened;
  const ListPool pool = OpenedPool(kind, opened);
  const ByteRange run = pool.RunAt(offset);
  const auto was = std::find_if(opened.begin(), opened.end(), [&](const ListPlace& p) { return p.offset == offset; });
  const RomView file = OpenedImageView();
  const std::size_t opened_records = kind == ListKind::Objects ? QBR1_ReadRawObjects(file, offset).size()
                                                               : QBR1_ReadRawBananas(file, offset).size();
  if (run.Size() <= 0) return std::max(records_now, opened_records);
  std::size_t held = std::max(records_now, was != opened.end() ? was->records : std::size_t{0});
  long long last = run.last;
  for (const ListPlace& p : QBR1_ListPlaces(CurrentRom(), qbr1gbl, kind)) {
    if (p.offset > offset) last = std::min(last, p.offset - 1);
  }
  const long long room = (last - offset + 1 - end) / size;
  held = std::min(held, static_cast<std::size_t>(std::max(0LL, room)));
  return std::max(held, records_now);
}

ListGrowth PlanListGrowth(ListKind kind, long long offset, long long bytes) {
  std::vector<ListPlace> opened;
  const ListPool pool = OpenedPool(kind, opened);
  const std::vector<ListPlace> now = QBR1_ListPlaces(CurrentRom(), qbr1gbl, kind);
  ListGrowth growth;
  for (const ListPlace& p : now) {
    if (p.offset == offset) growth.pointers = p.pointers;
  }
  const std::vector<ByteRange> free = QBR1_FreeRuns(pool, now, offset);
  growth.offset = QBR1_FirstFit(free, bytes);
  if (growth.offset < 0) {
    long long largest = 0;
    for (const ByteRange& r : free) largest = std::max(largest, r.Size());
    growth.missing = bytes - largest;
  }
  return growth;
}
