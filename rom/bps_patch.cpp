#include "rom/bps_patch.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "bfa/bfa.h"

const char kBpsWrongSource[] = "the image is not the one the patch was made from";
const char kBpsDamaged[] = "the patch is damaged";
const char kBpsWrongResult[] = "the result differs";

namespace {

using Bytes = std::vector<unsigned char>;

enum Action : unsigned { kSourceRead = 0, kTargetRead = 1, kSourceCopy = 2, kTargetCopy = 3 };

constexpr std::size_t kFooterSize = 12;
constexpr std::size_t kMinPatchSize = 4 + 3 + kFooterSize;  // "BPS1", three one-byte numbers, the CRCs
// A number takes at most this many bytes: eight carry 56 bits and more, far beyond any size a patch may
// name, and keep the decoding free of overflow.
constexpr int kMaxNumberBytes = 8;

std::uint32_t Crc(const unsigned char* data, std::size_t n) {
  return static_cast<std::uint32_t>(CharArray_Get_CRC32(reinterpret_cast<const char*>(data), static_cast<int>(n)));
}

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// Reads patch[pos, end) as a variable-length number: seven bits per byte, low first, the last byte
// marked by its top bit, and every byte that goes on adding one to the next place (so each number
// has exactly one spelling). False when it runs past `end` or past kMaxNumberBytes.
bool ReadNumber(const Bytes& patch, std::size_t& pos, std::size_t end, std::uint64_t& value) {
  std::uint64_t data = 0, shift = 1;
  for (int i = 0; i < kMaxNumberBytes; ++i) {
    if (pos >= end) return false;
    const unsigned x = patch[pos++];
    data += (x & 0x7F) * shift;
    if (x & 0x80) {
      value = data;
      return true;
    }
    shift <<= 7;
    data += shift;
  }
  return false;
}

void WriteNumber(Bytes& out, std::uint64_t value) {
  for (;;) {
    const unsigned char x = value & 0x7F;
    value >>= 7;
    if (value == 0) {
      out.push_back(0x80 | x);
      return;
    }
    out.push_back(x);
    --value;
  }
}

void WriteLe32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

bool Refuse(std::string& error, const std::string& reason) {
  error = reason;
  return false;
}

bool Damaged(std::string& error, const char* why) { return Refuse(error, std::string(kBpsDamaged) + " (" + why + ")"); }

// Moves a copy cursor by the signed number at `pos` (magnitude in the upper bits, the sign in bit 0)
// and checks that `length` bytes from it lie within [0, limit).
bool MoveCursor(const Bytes& patch, std::size_t& pos, std::size_t end, std::int64_t& cursor, std::uint64_t length,
                std::uint64_t limit, std::string& error) {
  std::uint64_t data = 0;
  if (!ReadNumber(patch, pos, end, data)) return Damaged(error, "a copy's offset is cut short");
  const std::int64_t delta = static_cast<std::int64_t>(data >> 1);
  cursor += (data & 1) ? -delta : delta;
  if (cursor < 0 || static_cast<std::uint64_t>(cursor) > limit || length > limit - static_cast<std::uint64_t>(cursor))
    return Damaged(error, "a copy reaches outside its data");
  return true;
}

// ---- Making ------------------------------------------------------------------------------------------------

constexpr std::size_t kMinMatch = 4;  // the hashed prefix; shorter matches cost as much as the bytes
constexpr int kMaxHashBits = 20;
constexpr int kChainDepth = 32;           // candidates tried per table and position
constexpr std::size_t kTakeAtOnce = 256;  // a match this long is taken without looking further
constexpr std::uint32_t kNone = 0xFFFFFFFF;

std::uint32_t HashAt(const Bytes& b, std::size_t at, int bits) {
  std::uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return (v * 2654435761u) >> (32 - bits);
}

// Length of the common run of a[ap...] and b[bp...], at most `limit`.
std::size_t MatchLength(const Bytes& a, std::size_t ap, const Bytes& b, std::size_t bp, std::size_t limit) {
  std::size_t n = 0;
  while (n + 8 <= limit && std::memcmp(a.data() + ap + n, b.data() + bp + n, 8) == 0) n += 8;
  while (n < limit && a[ap + n] == b[bp + n]) ++n;
  return n;
}

// Positions of one buffer by the hash of the four bytes they start, most recent first.
class HashChains {
 public:
  // About one bucket per two positions, so small inputs clear a small table.
  explicit HashChains(std::size_t size)
      : bits_(BitsFor(size)), head_(std::size_t{1} << bits_, kNone), prev_(size, kNone) {}

  void Insert(const Bytes& b, std::size_t at) {
    const std::uint32_t h = HashAt(b, at, bits_);
    prev_[at] = head_[h];
    head_[h] = static_cast<std::uint32_t>(at);
  }

  // The longest match in `data` (positions inserted so far) for target[at...], at most `limit` long.
  void Longest(const Bytes& data, const Bytes& target, std::size_t at, std::size_t limit, std::size_t& best_len,
               std::size_t& best_pos) const {
    int depth = kChainDepth;
    for (std::uint32_t p = head_[HashAt(target, at, bits_)]; p != kNone && depth-- > 0; p = prev_[p]) {
      const std::size_t room = std::min(limit, data.size() - p);
      if (room <= best_len) continue;
      const std::size_t n = MatchLength(data, p, target, at, room);
      if (n > best_len) {
        best_len = n;
        best_pos = p;
        if (n >= kTakeAtOnce) return;
      }
    }
  }

 private:
  static int BitsFor(std::size_t size) {
    int bits = 8;
    while (bits < kMaxHashBits && (std::size_t{1} << (bits + 1)) <= size) ++bits;
    return bits;
  }

  int bits_;
  std::vector<std::uint32_t> head_;
  std::vector<std::uint32_t> prev_;
};

class PatchWriter {
 public:
  explicit PatchWriter(const Bytes& target, Bytes& out) : target_(target), out_(out) {}

  void Literal(std::size_t at) {
    if (literal_len_ == 0) literal_at_ = at;
    ++literal_len_;
  }
  void SourceRead(std::size_t length) { Emit(kSourceRead, length); }
  void SourceCopy(std::size_t from, std::size_t length) { Copy(kSourceCopy, source_cursor_, from, length); }
  void TargetCopy(std::size_t from, std::size_t length) { Copy(kTargetCopy, target_cursor_, from, length); }
  void Finish() { FlushLiterals(); }

 private:
  void FlushLiterals() {
    if (literal_len_ == 0) return;
    WriteNumber(out_, (std::uint64_t{literal_len_ - 1} << 2) | kTargetRead);
    out_.insert(out_.end(), target_.begin() + static_cast<std::ptrdiff_t>(literal_at_),
                target_.begin() + static_cast<std::ptrdiff_t>(literal_at_ + literal_len_));
    literal_len_ = 0;
  }
  void Emit(Action action, std::size_t length) {
    FlushLiterals();
    WriteNumber(out_, (std::uint64_t{length - 1} << 2) | action);
  }
  void Copy(Action action, std::int64_t& cursor, std::size_t from, std::size_t length) {
    Emit(action, length);
    const std::int64_t delta = static_cast<std::int64_t>(from) - cursor;
    WriteNumber(out_, (static_cast<std::uint64_t>(delta < 0 ? -delta : delta) << 1) | (delta < 0 ? 1 : 0));
    cursor = static_cast<std::int64_t>(from + length);
  }

  const Bytes& target_;
  Bytes& out_;
  std::size_t literal_at_ = 0, literal_len_ = 0;
  std::int64_t source_cursor_ = 0, target_cursor_ = 0;
};

}  // namespace

bool IsBpsPatch(const Bytes& patch) { return patch.size() >= 4 && std::memcmp(patch.data(), "BPS1", 4) == 0; }

bool ReadBpsHeader(const Bytes& patch, BpsHeader& header, std::string& error) {
  if (!IsBpsPatch(patch)) return Refuse(error, "not a BPS patch (it does not start with BPS1)");
  if (patch.size() > INT_MAX) return Refuse(error, "the patch is larger than this program handles");
  if (patch.size() < kMinPatchSize) return Damaged(error, "it is cut short");
  const std::size_t end = patch.size() - kFooterSize;
  std::size_t pos = 4;
  BpsHeader h;
  std::uint64_t metadata = 0;
  if (!ReadNumber(patch, pos, end, h.source_size) || !ReadNumber(patch, pos, end, h.target_size) ||
      !ReadNumber(patch, pos, end, metadata) || metadata > end - pos)
    return Damaged(error, "its header is cut short");
  if (h.source_size > kBpsMaxSize || h.target_size > kBpsMaxSize)
    return Refuse(error, "the patch names a file larger than this program handles");
  h.metadata.assign(patch.begin() + static_cast<std::ptrdiff_t>(pos),
                    patch.begin() + static_cast<std::ptrdiff_t>(pos + metadata));
  h.actions = pos + static_cast<std::size_t>(metadata);
  h.source_crc = Le32(patch, end);
  h.target_crc = Le32(patch, end + 4);
  h.patch_crc = Le32(patch, end + 8);
  header = std::move(h);
  return true;
}

bool ApplyBpsPatch(const Bytes& patch, const Bytes& source, Bytes& target, std::string& error) {
  // The patch's own checksum first: any damage, in the header too, reads as just that.
  if (IsBpsPatch(patch) && patch.size() >= kMinPatchSize && patch.size() <= INT_MAX &&
      Crc(patch.data(), patch.size() - 4) != Le32(patch, patch.size() - 4))
    return Refuse(error, kBpsDamaged);
  BpsHeader h;
  if (!ReadBpsHeader(patch, h, error)) return false;
  if (source.size() != h.source_size || Crc(source.data(), source.size()) != h.source_crc)
    return Refuse(error, kBpsWrongSource);

  const std::size_t end = patch.size() - kFooterSize;
  const std::uint64_t size = h.target_size;
  Bytes out;
  out.reserve(static_cast<std::size_t>(size));
  std::size_t pos = h.actions;
  std::int64_t source_cursor = 0, target_cursor = 0;
  while (pos < end) {
    std::uint64_t data = 0;
    if (!ReadNumber(patch, pos, end, data)) return Damaged(error, "an action is cut short");
    const std::uint64_t length = (data >> 2) + 1;
    if (length > size - out.size()) return Damaged(error, "an action writes past the end of the result");
    const std::size_t n = static_cast<std::size_t>(length);
    switch (data & 3) {
      case kSourceRead:
        if (out.size() + n > source.size()) return Damaged(error, "an action reads past the end of the image");
        out.insert(out.end(), source.begin() + static_cast<std::ptrdiff_t>(out.size()),
                   source.begin() + static_cast<std::ptrdiff_t>(out.size() + n));
        break;
      case kTargetRead:
        if (n > end - pos) return Damaged(error, "an action's bytes are cut short");
        out.insert(out.end(), patch.begin() + static_cast<std::ptrdiff_t>(pos),
                   patch.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
        break;
      case kSourceCopy:
        if (!MoveCursor(patch, pos, end, source_cursor, length, source.size(), error)) return false;
        out.insert(out.end(), source.begin() + source_cursor,
                   source.begin() + source_cursor + static_cast<std::ptrdiff_t>(n));
        source_cursor += static_cast<std::int64_t>(n);
        break;
      case kTargetCopy:
        // The copy may run into the bytes it writes itself; only its start must already be written.
        if (!MoveCursor(patch, pos, end, target_cursor, 1, out.size(), error)) return false;
        for (std::size_t i = 0; i < n; ++i) {
          const unsigned char b = out[static_cast<std::size_t>(target_cursor++)];
          out.push_back(b);
        }
        break;
    }
  }
  if (out.size() != size) return Damaged(error, "its actions end before the result is complete");
  if (Crc(out.data(), out.size()) != h.target_crc) return Refuse(error, kBpsWrongResult);
  target = std::move(out);
  return true;
}

Bytes MakeBpsPatch(const Bytes& source, const Bytes& target) {
  Bytes out = {'B', 'P', 'S', '1'};
  WriteNumber(out, source.size());
  WriteNumber(out, target.size());
  WriteNumber(out, 0);

  HashChains in_source(source.size()), in_target(target.size());
  for (std::size_t p = 0; p + kMinMatch <= source.size(); ++p) in_source.Insert(source, p);

  PatchWriter writer(target, out);
  std::int64_t source_cursor = 0;  // where a SourceCopy that goes on from the last one starts
  std::size_t hashed = 0;          // target positions below this are in `in_target`
  const std::size_t n = target.size();
  std::size_t at = 0;
  while (at < n) {
    const std::size_t limit = n - at;
    const std::size_t same =
        at < source.size() ? MatchLength(source, at, target, at, std::min(limit, source.size() - at)) : 0;
    std::size_t len = same;
    Action action = kSourceRead;
    std::size_t from = 0;
    if (same < kTakeAtOnce && limit >= kMinMatch) {
      for (; hashed < at; ++hashed)
        if (hashed + kMinMatch <= n) in_target.Insert(target, hashed);
      std::size_t best = 0, best_pos = 0;
      // Going on from the last copy needs no offset: try it before the chains.
      if (static_cast<std::size_t>(source_cursor) < source.size())
        best = MatchLength(source, static_cast<std::size_t>(source_cursor), target, at,
                           std::min(limit, source.size() - static_cast<std::size_t>(source_cursor)));
      best_pos = static_cast<std::size_t>(source_cursor);
      in_source.Longest(source, target, at, limit, best, best_pos);
      if (best > len) {
        len = best;
        action = kSourceCopy;
        from = best_pos;
      }
      best = 0;
      // Only positions below `at` are hashed, but a match may run on into the bytes it repeats.
      in_target.Longest(target, target, at, limit, best, best_pos);
      if (best > len) {
        len = best;
        action = kTargetCopy;
        from = best_pos;
      }
    }
    if (len < kMinMatch) {
      writer.Literal(at);
      ++at;
      continue;
    }
    if (action == kSourceRead) writer.SourceRead(len);
    if (action == kSourceCopy) {
      writer.SourceCopy(from, len);
      source_cursor = static_cast<std::int64_t>(from + len);
    }
    if (action == kTargetCopy) writer.TargetCopy(from, len);
    at += len;
  }
  writer.Finish();

  WriteLe32(out, Crc(source.data(), source.size()));
  WriteLe32(out, Crc(target.data(), target.size()));
  WriteLe32(out, Crc(out.data(), out.size()));
  return out;
}
