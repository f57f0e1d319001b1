#include "rom/image_document.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace {

constexpr std::size_t kNotReachable = std::numeric_limits<std::size_t>::max();

}  // namespace

void ImageDocument::Reset(std::vector<unsigned char> file, std::size_t header) {
  opened_ = std::move(file);
  header_ = std::min(header, opened_.size());
  history_.clear();
  applied_ = 0;
  saved_at_ = 0;
  open_depth_ = 0;
  open_ = {};
  open_bytes_.clear();
  open_changed_ = false;
  ++generation_;
  history_generation_ = generation_;
  restored_generation_ = ~0ULL;
  Publish();
}

ImageDocument::EditMark ImageDocument::Open(int level, const std::string& label, const EditSelection& before) {
  if (open_depth_++ == 0) {
    ++edit_serial_;
    open_ = {};
    open_.level = level;
    open_.label = label;
    open_.before = before;
    open_.after = before;
    open_bytes_.clear();
    open_changed_ = false;
  }
  return EditMark{edit_serial_, split_serial_, open_bytes_.size()};
}

void ImageDocument::SetLabel(const EditMark& mark, const std::string& label) {
  if (Holds(mark)) open_.label = label;
}

void ImageDocument::SetSelectionAfter(const EditMark& mark, const EditSelection& after) {
  if (Holds(mark)) open_.after = after;
}

void ImageDocument::Close(const EditMark& mark) {
  if (!Holds(mark)) return;
  if (--open_depth_ == 0) CloseOpenEdit();
  Publish();
}

void ImageDocument::RollBack(const EditMark& mark) {
  if (!Holds(mark)) return;
  // A save since the mark made the writes before it a saved step: only the later ones are open.
  const std::size_t from = mark.split == split_serial_ ? std::min(mark.written, open_bytes_.size()) : 0;
  if (from < open_bytes_.size()) {
    for (std::size_t i = open_bytes_.size(); i-- > from;) {
      if (InsideImage(open_bytes_[i].offset, 1)) Image()[open_bytes_[i].offset] = open_bytes_[i].old;
    }
    open_bytes_.resize(from);
    // Whether the writes that stay changed a byte: each byte against its value before its first write.
    std::vector<RawByte> kept = open_bytes_;
    std::stable_sort(kept.begin(), kept.end(), [](const RawByte& a, const RawByte& b) { return a.offset < b.offset; });
    open_changed_ = false;
    for (std::size_t i = 0; i < kept.size(); ++i) {
      if (i > 0 && kept[i].offset == kept[i - 1].offset) continue;
      open_changed_ = open_changed_ || (InsideImage(kept[i].offset, 1) && Image()[kept[i].offset] != kept[i].old);
    }
    ++generation_;
  }
  Close(mark);
}

// Turns the bytes of the open edit into its step: per offset the byte before the first write and the
// byte the last one left, merged into runs. Nothing when no byte ends up changed.
void ImageDocument::CloseOpenEdit() {
  std::vector<RawByte> bytes = std::move(open_bytes_);
  open_bytes_.clear();
  open_changed_ = false;
  std::sort(bytes.begin(), bytes.end(), [](const RawByte& a, const RawByte& b) {
    return a.offset != b.offset ? a.offset < b.offset : a.seq < b.seq;
  });
  Step step;
  step.level = open_.level;
  step.label = open_.label;
  step.before = open_.before;
  step.after = open_.after;
  std::vector<unsigned char> olds;
  std::vector<std::size_t> offsets;
  bool changed = false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0 && bytes[i].offset == bytes[i - 1].offset) continue;  // the first write holds the old byte
    if (!InsideImage(bytes[i].offset, 1)) continue;
    offsets.push_back(bytes[i].offset);
    olds.push_back(bytes[i].old);
    changed = changed || Image()[bytes[i].offset] != bytes[i].old;
  }
  if (!changed) return;
  for (std::size_t i = 0; i < offsets.size();) {
    std::size_t j = i + 1;
    while (j < offsets.size() && offsets[j] == offsets[j - 1] + 1) ++j;
    const std::size_t n = j - i;
    step.runs.push_back(Run{offsets[i], step.pool.size(), n});
    step.pool.insert(step.pool.end(), olds.begin() + static_cast<std::ptrdiff_t>(i),
                     olds.begin() + static_cast<std::ptrdiff_t>(j));
    step.pool.insert(step.pool.end(), Image() + offsets[i], Image() + offsets[i] + n);
    i = j;
  }
  history_.resize(applied_);
  if (saved_at_ != kNotReachable && saved_at_ > applied_) saved_at_ = kNotReachable;
  history_.push_back(std::move(step));
  ++applied_;
}

void ImageDocument::ForceCloseOpenEdit() {
  if (open_depth_ == 0) return;
  open_depth_ = 0;
  CloseOpenEdit();
}

bool ImageDocument::Write(std::size_t offset, const unsigned char* bytes, std::size_t n) {
  if (!InsideImage(offset, n) || (bytes == nullptr && n > 0)) return false;
  if (n == 0) return true;
  // Outside a transaction the write is an edit of its own; inside one it joins it.
  const EditMark own = Open(-1, kDefaultLabel, {});
  unsigned char* image = Image();
  for (std::size_t i = 0; i < n; ++i) {
    const auto seq = static_cast<std::uint32_t>(open_bytes_.size());
    open_bytes_.push_back(RawByte{offset + i, seq, image[offset + i]});
    open_changed_ = open_changed_ || image[offset + i] != bytes[i];
  }
  std::memmove(image + offset, bytes, n);
  ++generation_;
  Close(own);
  return true;
}

// Writes one side of a step back into the image: the replaced bytes (undo) or the written ones (redo).
void ImageDocument::Put(const Step& step, bool old_side) {
  const auto put = [&](const Run& r) {
    if (!InsideImage(r.offset, r.n)) return;
    std::memcpy(Image() + r.offset, step.pool.data() + r.at + (old_side ? 0 : r.n), r.n);
  };
  if (old_side) {
    std::for_each(step.runs.rbegin(), step.runs.rend(), put);
  } else {
    std::for_each(step.runs.begin(), step.runs.end(), put);
  }
  ++generation_;
}

void ImageDocument::AfterHistoryMove(const Step& step, bool undo, EditStepInfo* info) {
  history_generation_ = generation_;
  restored_ = undo ? step.before : step.after;
  restored_generation_ = generation_;
  Publish();
  if (info != nullptr) *info = {step.level, step.label, restored_};
}

bool ImageDocument::Undo(EditStepInfo* info) {
  // A gesture still in progress is finished first, so it is the step undone.
  ForceCloseOpenEdit();
  if (applied_ == 0) return false;
  const Step& step = history_[--applied_];
  Put(step, true);
  AfterHistoryMove(step, true, info);
  return true;
}

bool ImageDocument::Redo(EditStepInfo* info) {
  ForceCloseOpenEdit();
  if (applied_ == history_.size()) return false;
  const Step& step = history_[applied_++];
  Put(step, false);
  AfterHistoryMove(step, false, info);
  return true;
}

std::string ImageDocument::UndoLabel() const { return applied_ > 0 ? history_[applied_ - 1].label : ""; }

std::string ImageDocument::RedoLabel() const { return applied_ < history_.size() ? history_[applied_].label : ""; }

const EditSelection* ImageDocument::RestoredSelection() const {
  if (restored_generation_ != generation_ || restored_.list < 0) return nullptr;
  return &restored_;
}

void ImageDocument::MarkSaved() {
  if (open_depth_ > 0) {
    // The stroke goes on after the save: what it wrote so far is a step of its own, and the rest joins
    // a new one of the same gesture, so the saved position lies between the two.
    const int depth = open_depth_;
    Step gesture;
    gesture.level = open_.level;
    gesture.label = open_.label;
    gesture.before = open_.after;
    gesture.after = open_.after;
    ForceCloseOpenEdit();
    open_depth_ = depth;
    open_ = std::move(gesture);
    ++split_serial_;
  }
  saved_at_ = applied_;
  Publish();
}

void ImageDocument::ForEachSavedPiece(PieceSink put, void* context) const {
  const std::size_t size = opened_.size();
  put(context, 0, opened_.data(), size);
  for (std::size_t e = 0; e < applied_; ++e) {
    const Step& step = history_[e];
    for (const Run& r : step.runs) {
      const std::size_t at = header_ + r.offset;
      if (at > size || r.n > size - at) continue;
      put(context, at, step.pool.data() + r.at + r.n, r.n);
    }
  }
  // A gesture still in progress counts with what it has written so far.
  for (const RawByte& b : open_bytes_) {
    const std::size_t at = header_ + b.offset;
    if (at < size && InsideImage(b.offset, 1)) put(context, at, Image() + b.offset, 1);
  }
}

std::vector<unsigned char> ImageDocument::SavedFileBytes() const {
  std::vector<unsigned char> file(opened_.size());
  ForEachSavedPiece(
      [](void* context, std::size_t at, const unsigned char* bytes, std::size_t n) {
        std::memcpy(static_cast<std::vector<unsigned char>*>(context)->data() + at, bytes, n);
      },
      &file);
  return file;
}
