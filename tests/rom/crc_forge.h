#pragma once

#include <cstdint>
#include <map>
#include <mutex>
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

// The random filler of an image of `size` bytes, and the CRC register after all but its last four
// bytes. The same for every call with that size, so made once per size: a test forging several
// images of megabytes pays for the filler only once.
struct Filler {
  std::vector<char> bytes;
  std::uint32_t reg = 0xFFFFFFFFu;
};
inline const Filler& FillerOfSize(std::size_t size) {
  static std::mutex mutex;
  static std::map<std::size_t, Filler> made;
  const std::lock_guard<std::mutex> lock(mutex);
  auto found = made.find(size);
  if (found != made.end()) return found->second;
  const std::uint32_t* t = Table();
  Filler f;
  f.bytes.resize(size);
  std::mt19937 random(static_cast<unsigned>(size));
  for (char& b : f.bytes) b = static_cast<char>(random());
  for (std::size_t i = 0; i + 4 < size; ++i)
    f.reg = t[(f.reg ^ static_cast<unsigned char>(f.bytes[i])) & 0xFF] ^ (f.reg >> 8);
  return made.emplace(size, std::move(f)).first->second;
}

}  // namespace crc_forge

// A file of `size` (at least 4) bytes of filler whose CRC-32 is `crc`.
inline std::vector<char> ImageWithCrc(std::size_t size, unsigned long crc) {
  const std::uint32_t* t = crc_forge::Table();
  const crc_forge::Filler& filler = crc_forge::FillerOfSize(size);
  std::vector<char> bytes = filler.bytes;
  const std::uint32_t reg = filler.reg;
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
