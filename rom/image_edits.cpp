#include "rom/image_edits.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

#include "bfa/bfa.h"

namespace {

// A stretch of bytes one edit changed: `n` bytes at image offset `offset`; the bytes it replaced and
// the bytes it wrote lie at pool[at] and pool[at + n] of its edit.
struct Run {
  std::size_t offset;
  std::size_t at;
  std::size_t n;
};

// One undo step: every byte the gesture wrote, with the value before it and the value it left.
struct Edit {
  int level = -1;
  std::vector<Run> runs;  // ascending offsets, never overlapping
  std::vector<unsigned char> pool;
};

// One byte written during the open edit, in the order of the writes.
struct RawByte {
  std::size_t offset;
  std::uint32_t seq;
  unsigned char old;
};

constexpr std::size_t kNotReachable = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kCopierHeader = 512;
constexpr std::size_t kCopierBlock = 0x8000;

std::vector<unsigned char> opened;
std::size_t header = 0;
std::vector<Edit> history;              // undo steps first, then the undone steps redo may bring back
std::size_t applied = 0;                // steps of history in force
std::size_t saved_at = 0;               // `applied` when the file on disk matched; kNotReachable when lost
unsigned long long generation = 0;
int open_depth = 0;                     // Begin calls not yet ended
int open_level = -1;
std::vector<RawByte> open_bytes;
bool open_changed = false;              // a write of the open edit changed a byte
std::atomic<bool> unsaved_published{false};  // QBR1_HasUnsavedEdits() for other threads

void Publish() { unsaved_published = QBR1_HasUnsavedEdits(); }

unsigned char* Image() { return reinterpret_cast<unsigned char*>(QBR1.data()); }

// The same test every read of the image makes: each byte of [offset, offset + n) lies inside it.
bool InsideImage(std::size_t offset, std::size_t n) { return offset <= QBR1.size() && n <= QBR1.size() - offset; }

// Turns the bytes of the open edit into its undo step: per offset the byte before the first write and
// the byte the last one left, merged into runs. Nothing when no byte ends up changed.
void CloseOpenEdit() {
  std::vector<RawByte> bytes = std::move(open_bytes);
  open_bytes.clear();
  open_changed = false;
  std::sort(bytes.begin(), bytes.end(), [](const RawByte& a, const RawByte& b) {
    return a.offset != b.offset ? a.offset < b.offset : a.seq < b.seq;
  });
  Edit edit;
  edit.level = open_level;
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
    Run run{offsets[i], edit.pool.size(), n};
    edit.pool.insert(edit.pool.end(), olds.begin() + static_cast<std::ptrdiff_t>(i),
                     olds.begin() + static_cast<std::ptrdiff_t>(j));
    edit.pool.insert(edit.pool.end(), Image() + offsets[i], Image() + offsets[i] + n);
    edit.runs.push_back(run);
    i = j;
  }
  history.resize(applied);
  if (saved_at != kNotReachable && saved_at > applied) saved_at = kNotReachable;
  history.push_back(std::move(edit));
  ++applied;
}

// Writes one side of an edit back into the image: the replaced bytes (undo) or the written ones (redo).
void PutEdit(const Edit& edit, bool old_side) {
  const auto put = [&](const Run& r) {
    if (!InsideImage(r.offset, r.n)) return;
    std::memcpy(Image() + r.offset, edit.pool.data() + r.at + (old_side ? 0 : r.n), r.n);
  };
  if (old_side) {
    std::for_each(edit.runs.rbegin(), edit.runs.rend(), put);
  } else {
    std::for_each(edit.runs.begin(), edit.runs.end(), put);
  }
  ++generation;
}

}  // namespace

void QBR1_BeginEdit(int level) {
  if (open_depth++ == 0) {
    open_level = level;
    open_bytes.clear();
    open_changed = false;
  }
}

void QBR1_EndEdit() {
  if (open_depth == 0) return;
  if (--open_depth == 0) CloseOpenEdit();
  Publish();
}

bool QBR1_WriteBytes(std::size_t offset, const unsigned char* bytes, std::size_t n) {
  if (!InsideImage(offset, n) || (bytes == nullptr && n > 0)) return false;
  if (n == 0) return true;
  QBR1_BeginEdit(open_depth == 0 ? -1 : open_level);
  unsigned char* image = Image();
  for (std::size_t i = 0; i < n; ++i) {
    const auto seq = static_cast<std::uint32_t>(open_bytes.size());
    open_bytes.push_back(RawByte{offset + i, seq, image[offset + i]});
    open_changed = open_changed || image[offset + i] != bytes[i];
  }
  std::memmove(image + offset, bytes, n);
  ++generation;
  QBR1_EndEdit();
  Publish();
  return true;
}

bool QBR1_WriteByte(std::size_t offset, unsigned char value) { return QBR1_WriteBytes(offset, &value, 1); }

bool QBR1_WriteWord(std::size_t offset, unsigned short value) {
  const unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF), static_cast<unsigned char>(value >> 8)};
  return QBR1_WriteBytes(offset, bytes, 2);
}

bool QBR1_Undo(int* level) {
  // A gesture still in progress is finished first, so it is the step undone.
  if (open_depth > 0) {
    open_depth = 0;
    CloseOpenEdit();
  }
  if (applied == 0) return false;
  const Edit& edit = history[--applied];
  PutEdit(edit, true);
  Publish();
  if (level != nullptr) *level = edit.level;
  return true;
}

bool QBR1_Redo(int* level) {
  if (open_depth > 0) {
    open_depth = 0;
    CloseOpenEdit();
  }
  if (applied == history.size()) return false;
  const Edit& edit = history[applied++];
  PutEdit(edit, false);
  Publish();
  if (level != nullptr) *level = edit.level;
  return true;
}

unsigned long long QBR1_EditGeneration() { return generation; }

bool QBR1_HasUnsavedEdits() { return applied != saved_at || open_changed; }

bool QBR1_HasUnsavedEditsAnyThread() { return unsaved_published.load(); }

const std::vector<unsigned char>& QBR1_OpenedFile() { return opened; }

std::vector<unsigned char> QBR1_SavedFileBytes() {
  std::vector<unsigned char> file = opened;
  for (std::size_t e = 0; e < applied; ++e) {
    const Edit& edit = history[e];
    for (const Run& r : edit.runs) {
      const std::size_t at = header + r.offset;
      if (at > file.size() || r.n > file.size() - at) continue;
      std::memcpy(file.data() + at, edit.pool.data() + r.at + r.n, r.n);
    }
  }
  // A gesture still in progress counts with what it has written so far.
  for (const RawByte& b : open_bytes) {
    const std::size_t at = header + b.offset;
    if (at < file.size() && InsideImage(b.offset, 1)) file[at] = Image()[b.offset];
  }
  return file;
}

std::size_t QBR1_HeaderSize() { return header; }

std::size_t QBR1_CopierHeaderSize(std::size_t file_size) {
  return file_size > kCopierHeader && (file_size - kCopierHeader) % kCopierBlock == 0 ? kCopierHeader : 0;
}

void QBR1_ResetEdits(std::vector<unsigned char> file, std::size_t header_size) {
  opened = std::move(file);
  header = std::min(header_size, opened.size());
  history.clear();
  applied = 0;
  saved_at = 0;
  open_depth = 0;
  open_level = -1;
  open_bytes.clear();
  open_changed = false;
  ++generation;
  Publish();
}

void QBR1_MarkSaved() {
  if (open_depth > 0) {
    open_depth = 0;
    CloseOpenEdit();
  }
  saved_at = applied;
  Publish();
}

std::size_t QBR1_UndoCount() { return applied; }

std::size_t QBR1_RedoCount() { return history.size() - applied; }
