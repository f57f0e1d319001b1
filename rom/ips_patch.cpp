#include "rom/ips_patch.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kMaxRecordSize = 0xFFFF;
// Equal bytes between two changes that are cheaper to repeat than to start a new record for (a record
// header is five bytes).
constexpr std::size_t kJoinGap = 5;
// Shortest stretch of one value written as a run-length record: shorter ones cost less as plain bytes
// than the eight bytes of a run record plus the header of the plain record that resumes after it.
constexpr std::size_t kMinRun = 14;

class PatchWriter {
 public:
  PatchWriter(const std::vector<unsigned char>& edited, std::vector<unsigned char>& out) : edited_(edited), out_(out) {}

  bool ok() const { return ok_; }

  // Writes edited[begin, end) as plain records of at most kMaxRecordSize bytes. A stretch that starts
  // past the last offset a record can name is written from that offset, unchanged bytes included.
  void Plain(std::size_t begin, std::size_t end) {
    while (begin < end && ok_) {
      std::size_t start = std::min(begin, kIpsMaxOffset);
      // A record at the marker's offset would read as the end of the patch: start one byte earlier.
      if (start == kIpsEofOffset) --start;
      if (begin - start >= kMaxRecordSize) {
        ok_ = false;
        return;
      }
      const std::size_t n = std::min(end - start, kMaxRecordSize);
      if (!Header(start, n)) return;
      out_.insert(out_.end(), edited_.begin() + static_cast<std::ptrdiff_t>(start),
                  edited_.begin() + static_cast<std::ptrdiff_t>(start + n));
      begin = start + n;
    }
  }

  // Writes `count` copies of edited[begin] as run-length records.
  void Run(std::size_t begin, std::size_t count) {
    while (count > 0 && ok_) {
      if (begin > kIpsMaxOffset) {
        // No record can start here: the rest goes into a plain record from the last offset.
        Plain(begin, begin + count);
        return;
      }
      if (begin == kIpsEofOffset) {
        // The byte before may differ from the run: take it and the run's first byte as plain data.
        Plain(begin, begin + 1);
        ++begin;
        --count;
        continue;
      }
      const std::size_t n = std::min(count, kMaxRecordSize);
      if (!Header(begin, 0)) return;
      out_.push_back(static_cast<unsigned char>(n >> 8));
      out_.push_back(static_cast<unsigned char>(n & 0xFF));
      out_.push_back(edited_[begin]);
      begin += n;
      count -= n;
    }
  }

 private:
  bool Header(std::size_t offset, std::size_t size) {
    if (offset > kIpsMaxOffset) {
      ok_ = false;
      return false;
    }
    const unsigned char h[5] = {static_cast<unsigned char>(offset >> 16), static_cast<unsigned char>(offset >> 8),
                                static_cast<unsigned char>(offset), static_cast<unsigned char>(size >> 8),
                                static_cast<unsigned char>(size)};
    out_.insert(out_.end(), h, h + 5);
    return true;
  }

  const std::vector<unsigned char>& edited_;
  std::vector<unsigned char>& out_;
  bool ok_ = true;
};

// Writes the changed stretch edited[begin, end): long runs of one value as run-length records, the
// rest as plain records.
void Stretch(PatchWriter& w, const std::vector<unsigned char>& edited, std::size_t begin, std::size_t end) {
  std::size_t plain = begin;
  std::size_t p = begin;
  while (p < end && w.ok()) {
    std::size_t r = p + 1;
    while (r < end && edited[r] == edited[p]) ++r;
    if (r - p >= kMinRun) {
      w.Plain(plain, p);
      w.Run(p, r - p);
      plain = r;
    }
    p = r;
  }
  if (w.ok()) w.Plain(plain, end);
}

unsigned Be(const std::vector<unsigned char>& b, std::size_t at, int n) {
  unsigned v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
  return v;
}

// One record as it stands in the patch: `data` points into the patch's bytes (plain records).
struct RecordView {
  std::size_t offset;
  std::size_t count;
  bool run;
  unsigned char fill;
  const unsigned char* data;
};

// Walks the patch once, handing every record to `take` in order. False, with `error`, when the patch
// is malformed; `cut_to` is the size after "EOF" when the patch carries one (0 and `has_cut` false
// otherwise).
template <typename Take>
bool WalkIpsPatch(const std::vector<unsigned char>& patch, Take&& take, bool& has_cut, std::size_t& cut_to,
                  std::string& error) {
  has_cut = false;
  cut_to = 0;
  if (patch.size() < 5 || std::memcmp(patch.data(), "PATCH", 5) != 0) {
    error = "not an IPS patch (it does not start with PATCH)";
    return false;
  }
  std::size_t pos = 5;
  const auto cut = [&](std::size_t record) {
    error = "truncated IPS patch (the record at byte " + std::to_string(record) + " is cut short)";
    return false;
  };
  for (;;) {
    if (patch.size() - pos < 3) {
      error = "truncated IPS patch (no EOF marker)";
      return false;
    }
    if (std::memcmp(patch.data() + pos, "EOF", 3) == 0) {
      pos += 3;
      // Three more bytes are the size the patched file is cut to.
      if (patch.size() - pos == 3) {
        has_cut = true;
        cut_to = Be(patch, pos, 3);
        pos += 3;
      }
      if (pos != patch.size()) {
        error = "malformed IPS patch (" + std::to_string(patch.size() - pos) + " bytes after the EOF marker)";
        return false;
      }
      return true;
    }
    const std::size_t at = pos;
    if (patch.size() - pos < 5) return cut(at);
    RecordView r{Be(patch, pos, 3), Be(patch, pos + 3, 2), false, 0, nullptr};
    pos += 5;
    if (r.count == 0) {
      if (patch.size() - pos < 3) return cut(at);
      r.run = true;
      r.count = Be(patch, pos, 2);
      r.fill = patch[pos + 2];
      pos += 3;
      if (r.count == 0) {
        error = "malformed IPS patch (the run-length record at byte " + std::to_string(at) + " repeats nothing)";
        return false;
      }
    } else {
      if (patch.size() - pos < r.count) return cut(at);
      r.data = patch.data() + pos;
      pos += r.count;
    }
    take(r);
  }
}

}  // namespace

bool MakeIpsPatch(const std::vector<unsigned char>& original, const std::vector<unsigned char>& edited,
                  std::vector<unsigned char>& patch, std::string& error) {
  const bool shorter = edited.size() < original.size();
  if (shorter && edited.size() > kIpsMaxOffset) {
    error = "the edited file is shorter than the original and longer than the 16 MiB an IPS patch can cut to";
    return false;
  }
  std::vector<unsigned char> out = {'P', 'A', 'T', 'C', 'H'};
  PatchWriter writer(edited, out);
  const auto differs = [&](std::size_t i) { return i >= original.size() || original[i] != edited[i]; };
  const std::size_t n = edited.size();
  std::size_t i = 0;
  const std::size_t common = std::min(original.size(), n);
  while (i < n && writer.ok()) {
    // Most of an edited image equals the original: skip it eight bytes at a time.
    while (i + 8 <= common && std::memcmp(original.data() + i, edited.data() + i, 8) == 0) i += 8;
    if (i >= n) break;
    if (!differs(i)) {
      ++i;
      continue;
    }
    std::size_t last = i;
    std::size_t j = i + 1;
    while (j < n && j - last <= kJoinGap) {
      if (differs(j)) last = j;
      ++j;
    }
    Stretch(writer, edited, i, last + 1);
    i = last + 1;
  }
  if (!writer.ok()) {
    error = "a change lies beyond the 16 MiB an IPS patch can address";
    return false;
  }
  out.insert(out.end(), {'E', 'O', 'F'});
  if (shorter) {
    out.insert(out.end(), {static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 8),
                           static_cast<unsigned char>(n)});
  }
  patch = std::move(out);
  return true;
}

bool ReadIpsPatch(const std::vector<unsigned char>& patch, std::vector<IpsRecord>& records, std::string& error,
                  std::optional<std::size_t>* cut_to) {
  records.clear();
  bool has_cut = false;
  std::size_t size = 0;
  const bool ok = WalkIpsPatch(
      patch,
      [&](const RecordView& v) {
        IpsRecord r;
        r.offset = v.offset;
        r.run = v.run;
        r.count = v.count;
        r.fill = v.fill;
        if (!v.run) r.data.assign(v.data, v.data + v.count);
        records.push_back(std::move(r));
      },
      has_cut, size, error);
  if (cut_to != nullptr) *cut_to = ok && has_cut ? std::optional<std::size_t>(size) : std::nullopt;
  return ok;
}

bool ApplyIpsPatch(const std::vector<unsigned char>& patch, std::vector<unsigned char>& file, std::string& error) {
  // The whole patch is checked before the file changes; the records are kept as views into it.
  std::vector<RecordView> records;
  std::size_t size = file.size();
  bool has_cut = false;
  std::size_t cut_to = 0;
  const bool ok = WalkIpsPatch(
      patch,
      [&](const RecordView& r) {
        size = std::max(size, r.offset + r.count);
        records.push_back(r);
      },
      has_cut, cut_to, error);
  if (!ok) return false;
  file.resize(size, 0);
  for (const RecordView& r : records) {
    unsigned char* at = file.data() + r.offset;
    if (r.run) {
      std::memset(at, r.fill, r.count);
    } else {
      std::memcpy(at, r.data, r.count);
    }
  }
  if (has_cut && cut_to < file.size()) file.resize(cut_to);
  return true;
}
