// BPS patches: "BPS1", the source size, the target size and the metadata size as variable-length
// numbers, the metadata, then actions up to the last 12 bytes, then the CRC-32 of the source, of the
// target and of the patch before these last four bytes (little-endian). Each action is a number whose
// low two bits say what it does and whose rest is the length - 1:
//   0 SourceRead  the source's bytes at the output position;
//   1 TargetRead  the next `length` bytes of the patch;
//   2 SourceCopy  bytes of the source from a cursor moved by a signed number first;
//   3 TargetCopy  bytes of the target already written, from a cursor moved the same way (it may
//                 overlap what it writes, which repeats a pattern).
// Pure functions over byte vectors; nothing here touches files or the loaded image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What a patch says about itself, read without applying it.
struct BpsHeader {
  std::uint64_t source_size = 0;
  std::uint64_t target_size = 0;
  std::string metadata;
  std::uint32_t source_crc = 0;
  std::uint32_t target_crc = 0;
  std::uint32_t patch_crc = 0;  // as stored in the patch
  std::size_t actions = 0;      // offset of the first action
};

// The largest source or target a patch may name; larger ones are refused before anything is allocated.
constexpr std::uint64_t kBpsMaxSize = std::uint64_t{256} << 20;

// Reason lines of a refused patch, shown as they are.
extern const char kBpsWrongSource[];  // "the image is not the one the patch was made from"
extern const char kBpsDamaged[];      // "the patch is damaged"
extern const char kBpsWrongResult[];  // "the result differs"

// True when `patch` starts with "BPS1".
bool IsBpsPatch(const std::vector<unsigned char>& patch);

// Reads the header and the three stored CRCs. False, with a one-line `error`, when the patch does not
// start with "BPS1", is cut short, or names a size above kBpsMaxSize. Checks no CRC.
bool ReadBpsHeader(const std::vector<unsigned char>& patch, BpsHeader& header, std::string& error);

// Applies `patch` to `source` into `target`. Checks the patch's own CRC (kBpsDamaged), then the
// source's size and CRC (kBpsWrongSource), runs the actions with every read of the patch, the source
// and the target bounds-checked (kBpsDamaged with the reason), then the target's CRC (kBpsWrongResult).
// False, with a one-line `error` and `target` unchanged, on any refusal.
bool ApplyBpsPatch(const std::vector<unsigned char>& patch, const std::vector<unsigned char>& source,
                   std::vector<unsigned char>& target, std::string& error);

// The patch that turns `source` into `target` (any sizes up to kBpsMaxSize), without metadata. Long
// matches are looked up in the source and in the target written so far through hash chains over every
// 4-byte position, so a moved or repeated block costs a few bytes, not its length.
std::vector<unsigned char> MakeBpsPatch(const std::vector<unsigned char>& source,
                                        const std::vector<unsigned char>& target);
