#include "editor/list_growth.h"

#include <algorithm>

#include "level/free_space_config.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"

RomView OpenedImageView() {
  const std::vector<unsigned char>& file = QBR1_OpenedFile();
  const std::size_t header = QBR1_HeaderSize();
  if (file.size() <= header) return CurrentRom();
  return RomView(file.data() + header, file.size() - header);
}

std::size_t HeldRecords(ListKind kind, long long offset, std::size_t records_now) {
  const long long size = QBR1_ListRecordSize(kind), end = QBR1_ListEndBytes(kind);
  const std::vector<ListPlace> now = QBR1_ListPlaces(CurrentRom(), qbr1gbl, kind);
  // The list may also use again what it held in the file as opened (a delete
  // leaves that room to the next paste); no other list is ever stored there.
  const std::vector<ListPlace> opened = QBR1_ListPlaces(OpenedImageView(), qbr1gbl, kind);
  const auto was = std::find_if(opened.begin(), opened.end(), [&](const ListPlace& p) { return p.offset == offset; });
  std::vector<ByteRange> declared = QBR1_FreeSpace().Of(kind);
  if (was != opened.end()) declared.push_back(was->Range());
  const ByteRange run = QBR1_BuildListPool(now, declared).RunAt(offset);
  if (run.Size() <= 0) return records_now;
  std::size_t held = std::max(records_now, was != opened.end() ? was->records : std::size_t{0});
  long long last = run.last;
  for (const ListPlace& p : now) {
    if (p.offset > offset) last = std::min(last, p.offset - 1);
  }
  const long long room = (last - offset + 1 - end) / size;
  held = std::min(held, static_cast<std::size_t>(std::max(0LL, room)));
  return std::max(held, records_now);
}

ListGrowth PlanListGrowth(ListKind kind, long long offset, long long bytes) {
  const std::vector<ListPlace> now = QBR1_ListPlaces(CurrentRom(), qbr1gbl, kind);
  const ListPool pool = QBR1_BuildListPool(now, QBR1_FreeSpace().Of(kind));
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
