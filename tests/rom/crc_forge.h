#pragma once

#include <cstdint>
#include <random>
#include <vector>

// Test images with a chosen CRC-32: random filler whose last four bytes are
// computed so the checksum comes out as asked. Used in-process and by the
// end-to-end tests, which write the image to a file.

namespace crc_forge {

// The reflected CRC-32 table (polynomial 0xEDB88320).
inline const std::uint32_t* Table() {
  static const auto table = [] {
    std::vector<std::uint32_t> t(256);
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  return table.data();
}

}  // namespace crc_forge

// A file of `size` (at least 4) bytes of filler whose CRC-32 is `crc`.
inline std::vector<char> ImageWithCrc(std::size_t size, unsigned long crc) {
  const std::uint32_t* t = crc_forge::Table();
  std::vector<char> bytes(size);
  std::mt19937 random(static_cast<unsigned>(size));
  for (char& b : bytes) b = static_cast<char>(random());
  std::uint32_t reg = 0xFFFFFFFFu;
  for (std::size_t i = 0; i + 4 < size; ++i) reg = t[(reg ^ static_cast<unsigned char>(bytes[i])) & 0xFF] ^ (reg >> 8);
  // Four more bytes XORed into the register are followed by 32 plain shift
  // steps, which are invertible: run them backwards from the wanted register.
  std::uint32_t want = static_cast<std::uint32_t>(crc) ^ 0xFFFFFFFFu;
  for (int step = 0; step < 4; ++step) {
    int index = 0;
    while ((t[index] >> 24) != (want >> 24)) ++index;
    want = ((want ^ t[index]) << 8) | static_cast<std::uint32_t>(index);
  }
  const std::uint32_t tail = want ^ reg;
  for (int k = 0; k < 4; ++k) bytes[size - 4 + k] = static_cast<char>((tail >> (8 * k)) & 0xFF);
  return bytes;
}
