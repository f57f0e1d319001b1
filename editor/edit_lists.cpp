#include "editor/edit_lists.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "editor/list_growth.h"
#include "editor/shared_lists.h"
#include "editor/counted_words.h"
#include "level/level_objects.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "rom/image_transaction.h"

namespace {

int ClampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Floor division, so that steps left of or above 0 round the same way as the others.
int FloorDiv(int a, int b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

}  // namespace

int SnapToStep(int v, int step) { return step <= 1 ? v : FloorDiv(v, step) * step; }

LevelBox RecordTraits<QBR1RawBanana>::Box(const QBR1RawBanana& r, const leveldata&, const RomView& rom, bool) {
  const long long grid = kQBR1BananaShapeTable + rom.Word(kQBR1BananaShapeTable + r.Shape());
  const int columns = std::max(1, static_cast<int>(rom.Byte(grid)));
  const int rows = std::max(1, static_cast<int>(rom.Byte(grid + 1)));
  return {r.X(), r.Y(), r.X() + 8 * (columns - 1) + 16, r.Y() + 8 * (rows - 1) + 16};
}

template <class R>
std::vector<R>& RecordListEditor<R>::Clipboard() {
  static std::vector<R> clipboard;
  return clipboard;
}

template <class R>
void RecordListEditor<R>::Reload() {
  const RomView rom = CurrentRom();
  records_ = Traits::Read(rom, offset_);
  boxes_.clear();
  for (const R& r : records_) boxes_.push_back(Traits::Box(r, lvl_, rom, mirrored_));
  selected_.resize(records_.size(), false);
  capacity_ = std::max(capacity_, records_.size());
  shared_by_ = std::max<std::size_t>(1, LevelsShowingList(Traits::kKind, offset_).size());
}

template <class R>
void RecordListEditor<R>::MirrorView(bool mirrored) {
  if (mirrored == mirrored_) return;
  mirrored_ = mirrored;
  const RomView rom = CurrentRom();
  for (std::size_t i = 0; i < records_.size() && i < boxes_.size(); ++i) {
    boxes_[i] = Traits::Box(records_[i], lvl_, rom, mirrored_);
  }
}

template <class R>
std::string RecordListEditor<R>::Count(std::size_t n) {
  return Counted(n, Traits::kOne, Traits::kMany);
}

template <class R>
EditSelection RecordListEditor<R>::Selection() const {
  EditSelection s;
  s.list = offset_;
  for (std::size_t i = 0; i < selected_.size(); ++i) {
    if (selected_[i]) s.items.push_back(i);
  }
  return s;
}

template <class R>
void RecordListEditor<R>::RestoreSelection() {
  const EditSelection* restored = QBR1_Document().RestoredSelection();
  if (restored == nullptr || restored->list != offset_) return;
  selected_.assign(records_.size(), false);
  for (std::size_t i : restored->items) {
    if (i < selected_.size()) selected_[i] = true;
  }
}

template <class R>
void RecordListEditor<R>::Sync(const leveldata& lvl, unsigned long long generation, bool own_change) {
  const long long offset = Traits::Offset(lvl);
  if (!known_ || lvl.ID != level_id_ || offset != offset_ || lvl.x != lvl_.x) {
    if (moving_) EndMove();
    known_ = true;
    lvl_ = lvl;
    level_id_ = lvl.ID;
    offset_ = offset;
    generation_ = generation;
    selected_.clear();
    capacity_ = 0;
    Reload();
    capacity_ = HeldRecords(Traits::kKind, offset_, records_.size());
    RestoreSelection();
    return;
  }
  if (generation == generation_) return;
  generation_ = generation;
  if (!own_change) {
    // Undo or redo (or another view) rewrote the image: indexes may now name
    // other records, a move in progress has lost its base, and another list
    // may now lie where this one had room.
    if (moving_) EndMove();
    selected_.clear();
    Reload();
    capacity_ = HeldRecords(Traits::kKind, offset_, records_.size());
    RestoreSelection();
    return;
  }
  Reload();
}

template <class R>
void RecordListEditor<R>::Follow(const leveldata& lvl) {
  const bool own = known_ && QBR1_Document().HistoryGeneration() <= generation_;
  Sync(lvl, QBR1_EditGeneration(), own);
}

template <class R>
std::size_t RecordListEditor<R>::SelectedCount() const {
  return static_cast<std::size_t>(std::count(selected_.begin(), selected_.end(), true));
}

template <class R>
int RecordListEditor<R>::HitTest(int x, int y) const {
  for (std::size_t i = boxes_.size(); i-- > 0;) {
    if (boxes_[i].Contains(x, y)) return static_cast<int>(i);
  }
  return -1;
}

template <class R>
void RecordListEditor<R>::Click(int x, int y, bool toggle) {
  const int hit = HitTest(x, y);
  if (toggle) {
    if (hit >= 0) selected_[hit] = !selected_[hit];
    return;
  }
  ClearSelection();
  if (hit >= 0) selected_[hit] = true;
}

template <class R>
void RecordListEditor<R>::SelectBox(const LevelBox& box, bool add) {
  if (!add) ClearSelection();
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    if (boxes_[i].Meets(box)) selected_[i] = true;
  }
}

template <class R>
void RecordListEditor<R>::SelectAll() {
  selected_.assign(records_.size(), true);
}

template <class R>
void RecordListEditor<R>::ClearSelection() {
  selected_.assign(records_.size(), false);
}

template <class R>
bool RecordListEditor<R>::Grow(std::size_t records) {
  const long long bytes = static_cast<long long>(records * Traits::kSize + Traits::kEndBytes);
  const ListGrowth growth = PlanListGrowth(Traits::kKind, offset_, bytes);
  const char* kind = Traits::kKind == ListKind::Objects ? "object" : "banana";
  if (growth.offset < 0) {
    note_ = std::string("No room: the ") + kind + " list needs " + std::to_string(bytes) + " bytes, " +
            std::to_string(growth.missing) + " bytes missing in the free space";
    return false;
  }
  if (growth.offset != offset_) {
    // A list no level points at cannot be moved: nothing would find it.
    if (growth.pointers.empty()) {
      note_ = std::string("No room: no level's pointer names this ") + kind + " list";
      return false;
    }
    const unsigned value = QBR1_ListPointerValue(qbr1gbl, Traits::kKind, growth.offset);
    for (long long pointer : growth.pointers) {
      if (!QBR1_WriteWord(static_cast<std::size_t>(pointer), static_cast<unsigned short>(value))) return false;
    }
    FollowSharedListMove(Traits::kKind, offset_, growth.offset);
    offset_ = growth.offset;
    char text[96];
    std::snprintf(text, sizeof text, "%s list of level 0x%02X moved to 0x%06llX (%zu records)",
                  Traits::kKind == ListKind::Objects ? "Object" : "Banana", level_id_, offset_, records);
    note_ = text;
  }
  capacity_ = records;
  return true;
}

template <class R>
bool RecordListEditor<R>::Claim(const std::vector<R>& sorted) {
  if (shared_by_ <= 1) return true;
  bool same = sorted.size() == records_.size();
  for (std::size_t i = 0; same && i < sorted.size(); ++i) same = sorted[i].bytes == records_[i].bytes;
  if (same) return true;
  const std::vector<int> levels = LevelsShowingList(Traits::kKind, offset_);
  if (levels.size() <= 1) return true;
  switch (AskSharedListEdit(Traits::kKind, level_id_, offset_, levels)) {
    case SharedListChoice::All: return true;
    case SharedListChoice::Cancel:
      declined_ = true;
      note_ = "Cancelled: the list stays shared";
      return false;
    case SharedListChoice::ThisLevel: break;
  }
  const std::size_t records = sorted.size();
  const long long bytes = static_cast<long long>(records * Traits::kSize + Traits::kEndBytes);
  std::string why;
  const long long at = GiveOwnListPlace(Traits::kKind, level_id_, bytes, why);
  if (at < 0) {
    note_ = why;
    return false;
  }
  offset_ = at;
  capacity_ = records;
  shared_by_ = 1;
  char text[96];
  std::snprintf(text, sizeof text, "%s list of level 0x%02X copied to 0x%06llX for this level alone",
                Traits::kKind == ListKind::Objects ? "Object" : "Banana", level_id_, offset_);
  note_ = text;
  return true;
}

template <class R>
bool RecordListEditor<R>::Store(std::vector<R> records, std::vector<bool> select) {
  note_.clear();
  declined_ = false;
  if (offset_ < 0) return false;
  // Stable, so records at the same x keep their order.
  std::vector<std::size_t> order(records.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return Traits::X(records[a], lvl_) < Traits::X(records[b], lvl_);
  });
  std::vector<R> sorted;
  for (std::size_t k : order) sorted.push_back(records[k]);
  if (!Claim(sorted)) return false;
  if (records.size() > capacity_ && !Grow(records.size())) return false;
  const RomView rom = CurrentRom();
  const std::size_t length = capacity_ * Traits::kSize + Traits::kEndBytes;
  std::vector<unsigned char> region(length);
  for (std::size_t i = 0; i < length; ++i) region[i] = static_cast<unsigned char>(rom.Byte(offset_ + i));
  for (std::size_t k = 0; k < order.size(); ++k) {
    std::copy(records[order[k]].bytes.begin(), records[order[k]].bytes.end(), region.begin() + k * Traits::kSize);
  }
  // The end record: the bytes after the last record stay when they already end
  // the list, so a list that keeps its length changes nothing else.
  const std::size_t end = order.size() * Traits::kSize;
  const RomView mine(region.data(), region.size());
  if (!Traits::IsEnd(mine, static_cast<long long>(end))) {
    std::fill(region.begin() + end, region.begin() + end + Traits::kEndBytes, 0);
  }
  bool differs = false;
  for (std::size_t i = 0; i < length && !differs; ++i) differs = region[i] != rom.Byte(offset_ + i);
  if (differs) {
    if (!QBR1_WriteBytes(static_cast<std::size_t>(offset_), region.data(), region.size())) return false;
  }
  generation_ = QBR1_EditGeneration();
  Reload();
  selected_.assign(records_.size(), false);
  for (std::size_t k = 0; k < order.size() && k < selected_.size(); ++k) {
    selected_[k] = order[k] < select.size() && select[order[k]];
  }
  return true;
}

template <class R>
void RecordListEditor<R>::BeginMove(int x, int y) {
  if (moving_) EndMove();
  moving_ = true;
  move_applied_ = false;
  move_x_ = x;
  move_y_ = y;
  move_base_ = records_;
  move_selected_ = selected_;
  move_selected_.resize(move_base_.size(), false);
  move_edit_ =
      std::make_unique<ImageTransaction>(QBR1_Document(), "Move " + Count(SelectedCount()), level_id_, Selection());
}

template <class R>
void RecordListEditor<R>::MoveTo(int x, int y) {
  if (!moving_) return;
  int dx = x - move_x_;
  int dy = SnapToStep(y - move_y_ + Traits::kYStep / 2, Traits::kYStep);
  // The whole selection moves by one distance, cut short where a record would
  // leave what the list can store.
  for (std::size_t i = 0; i < move_base_.size(); ++i) {
    if (!move_selected_[i]) continue;
    const int bx = Traits::X(move_base_[i], lvl_), by = Traits::Y(move_base_[i], lvl_);
    dx = ClampInt(dx, Traits::kXMin - bx, Traits::kXMax - bx);
    dy = ClampInt(dy, SnapToStep(Traits::kYMin - by + Traits::kYStep - 1, Traits::kYStep),
                  SnapToStep(Traits::kYMax - by, Traits::kYStep));
  }
  // A press without movement writes nothing: not even the re-sorting of a list
  // the image stores out of order.
  if (dx == 0 && dy == 0 && !move_applied_) return;
  move_applied_ = true;
  std::vector<R> moved = move_base_;
  for (std::size_t i = 0; i < moved.size(); ++i) {
    if (!move_selected_[i]) continue;
    Traits::Set(moved[i], Traits::X(moved[i], lvl_) + dx, Traits::Y(moved[i], lvl_) + dy, lvl_);
  }
  // A move the shared-list question cancelled ends: the next step of the drag
  // would only ask again.
  if (!Store(std::move(moved), move_selected_) && declined_) EndMove();
}

template <class R>
void RecordListEditor<R>::EndMove() {
  if (!moving_) return;
  moving_ = false;
  move_base_.clear();
  move_selected_.clear();
  if (move_edit_) {
    move_edit_->SetSelectionAfter(Selection());
    move_edit_->Commit();
  }
  move_edit_.reset();
}

template <class R>
template <class F>
bool RecordListEditor<R>::AsOneStep(const std::string& label, F change) {
  ImageTransaction edit(QBR1_Document(), label, level_id_, Selection());
  const bool stored = change();
  edit.SetSelectionAfter(Selection());
  edit.Commit();
  return stored;
}

template <class R>
bool RecordListEditor<R>::DeleteSelection() {
  if (SelectedCount() == 0) return false;
  std::vector<R> kept;
  for (std::size_t i = 0; i < records_.size(); ++i) {
    if (!selected_[i]) kept.push_back(records_[i]);
  }
  return AsOneStep("Delete " + Count(SelectedCount()), [&] { return Store(std::move(kept), {}); });
}

template <class R>
bool RecordListEditor<R>::CopySelection() {
  if (SelectedCount() == 0) return false;
  std::vector<R>& clipboard = Clipboard();
  clipboard.clear();
  for (std::size_t i = 0; i < records_.size(); ++i) {
    if (selected_[i]) clipboard.push_back(records_[i]);
  }
  return true;
}

template <class R>
bool RecordListEditor<R>::Insert(const std::vector<R>& added, int dx, int dy, const char* verb, std::string& why) {
  if (added.empty()) return false;
  for (const R& r : added) {
    const int x = Traits::X(r, lvl_), y = Traits::Y(r, lvl_);
    dx = ClampInt(dx, Traits::kXMin - x, Traits::kXMax - x);
    dy = ClampInt(dy, SnapToStep(Traits::kYMin - y + Traits::kYStep - 1, Traits::kYStep),
                  SnapToStep(Traits::kYMax - y, Traits::kYStep));
  }
  std::vector<R> all = records_;
  std::vector<bool> select(records_.size(), false);
  for (R r : added) {
    Traits::Set(r, Traits::X(r, lvl_) + dx, Traits::Y(r, lvl_) + dy, lvl_);
    all.push_back(r);
    select.push_back(true);
  }
  const bool stored =
      AsOneStep(verb + (" " + Count(added.size())), [&] { return Store(std::move(all), std::move(select)); });
  if (!stored) why = note_;
  return stored;
}

template <class R>
bool RecordListEditor<R>::Paste(int x, int y, std::string& why) {
  const std::vector<R> clipboard = Clipboard();
  if (clipboard.empty()) return false;
  int left = Traits::X(clipboard[0], lvl_), top = Traits::Y(clipboard[0], lvl_);
  for (const R& r : clipboard) {
    left = std::min(left, Traits::X(r, lvl_));
    top = std::min(top, Traits::Y(r, lvl_));
  }
  return Insert(clipboard, x - left, SnapToStep(y - top, Traits::kYStep), "Paste", why);
}

template <class R>
bool RecordListEditor<R>::Add(R record, int x, int y, std::string& why) {
  if (offset_ < 0) return false;
  Traits::Set(record, x, y, lvl_);
  return Insert({record}, 0, 0, "Add", why);
}

template <class R>
bool RecordListEditor<R>::Duplicate(std::string& why) {
  std::vector<R> copies;
  for (std::size_t i = 0; i < records_.size(); ++i) {
    if (selected_[i]) copies.push_back(records_[i]);
  }
  return Insert(copies, 16, 16, "Duplicate", why);
}

template <class R>
bool RecordListEditor<R>::SetSelectedDefinition(unsigned zo) {
  if constexpr (std::is_same_v<R, QBR1RawObject>) {
    if (SelectedCount() == 0) return false;
    std::vector<R> changed = records_;
    for (std::size_t i = 0; i < changed.size(); ++i) {
      if (selected_[i]) changed[i].SetDefinition(zo);
    }
    char definition[8];
    std::snprintf(definition, sizeof definition, "%04X", zo & 0xFFFF);
    const std::string label = std::string("Definition ") + definition + " for " + Count(SelectedCount());
    return AsOneStep(label, [&] { return Store(std::move(changed), selected_); });
  } else {
    (void)zo;
    return false;
  }
}

template class RecordListEditor<QBR1RawObject>;
template class RecordListEditor<QBR1RawBanana>;
