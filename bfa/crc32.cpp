// CRC-32 (reflected polynomial 0xEDB88320, register starts at all ones, result complemented), computed sixteen
// bytes at a time with sixteen derived tables ("slicing-by-16"): loading a 4 MiB image checksums it on the
// way in. Only arithmetic on bytes already in memory lives here; loading a file with its checksum belongs
// to loading.cpp, the checksum of a channel to channels.cpp.
#include "bfa/bfa_internal.h"

using namespace bfa_detail;

namespace {

constexpr int kSlice = 16;
using CrcTables = std::array<std::array<std::uint32_t, 256>, kSlice>;

// tables[0] is the standard byte-at-a-time table (crc_table); tables[k][n] is the register after byte n
// followed by k zero bytes, which lets kSlice input bytes be folded in with independent look-ups.
constexpr CrcTables MakeTables() {
  CrcTables tables{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int round = 0; round < 8; ++round) c = (c & 1u) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    tables[0][n] = c;
  }
  for (std::uint32_t n = 0; n < 256; ++n)
    for (int k = 1; k < kSlice; ++k) tables[k][n] = (tables[k - 1][n] >> 8) ^ tables[0][tables[k - 1][n] & 0xFFu];
  return tables;
}

constexpr CrcTables kTables = MakeTables();
constexpr const std::array<std::uint32_t, 256>& crc_table = kTables[0];

static_assert(crc_table[1] == 0x77073096u && crc_table[255] == 0x2D02EF8Du, "standard CRC-32 table");

std::uint32_t Update(std::uint32_t reg, const unsigned char* p, std::size_t n) {
  while (n >= kSlice) {
    // Assembled byte by byte: independent of the host's byte order and of the data's alignment.
    const std::uint32_t lo =
        reg ^ (std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
    std::uint32_t next = kTables[kSlice - 1][lo & 0xFF] ^ kTables[kSlice - 2][(lo >> 8) & 0xFF] ^
                         kTables[kSlice - 3][(lo >> 16) & 0xFF] ^ kTables[kSlice - 4][lo >> 24];
    for (int i = 4; i < kSlice; ++i) next ^= kTables[kSlice - 1 - i][p[i]];
    reg = next;
    p += kSlice;
    n -= kSlice;
  }
  while (n--) reg = (reg >> 8) ^ crc_table[(reg ^ *p++) & 0xFF];
  return reg;
}

}  // namespace

crc32 bfa_detail::Checksum(const void* data, std::size_t size) {
  return ~Update(0xFFFFFFFFu, static_cast<const unsigned char*>(data), size);
}

crc32 CharArray_Get_CRC32(const char* data, int size) {
  if (data == nullptr || size <= 0) return Checksum(nullptr, 0);
  return Checksum(data, static_cast<std::size_t>(size));
}

unsigned long Vector_Get_CRC32(const std::vector<char>& data) { return Checksum(data.data(), data.size()); }

unsigned long bitwise_rotafilp_int(unsigned long data, int num_bits) {
  if (num_bits > 32) num_bits = 32;
  unsigned long result = 0;
  for (int i = 0; i < num_bits; ++i) result |= ((data >> (num_bits - 1 - i)) & 1ul) << i;
  return result;
}
