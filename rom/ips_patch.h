// IPS patches: "PATCH", then records of a 3-byte offset and a 2-byte size (big-endian) followed by that
// many bytes, or by a 2-byte count and one byte to repeat when the size is 0 (run-length record), then
// "EOF", optionally followed by a 3-byte size the patched file is cut to (truncation extension). Pure
// functions over byte vectors; nothing here touches files or the loaded image.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// One record of a patch: `count` copies of `fill` when `run`, otherwise the bytes `data`, at `offset`.
struct IpsRecord {
  std::size_t offset = 0;
  bool run = false;
  std::size_t count = 0;
  unsigned char fill = 0;
  std::vector<unsigned char> data;
};

// The offset whose three bytes spell "EOF": a record may not start there, since a reader would take it
// for the end of the patch.
constexpr std::size_t kIpsEofOffset = 0x454F46;
// The largest offset a record can name; a record starting there reaches 0xFFFE bytes further.
constexpr std::size_t kIpsMaxOffset = 0xFFFFFF;

// The patch that turns `original` into `edited`: extra bytes of a longer `edited` are appended, and a
// shorter one is recorded as the size after "EOF". Long stretches of one value become run-length
// records; no record starts at kIpsEofOffset. False, with `error` set, when a changed byte lies past
// kIpsMaxOffset + 0xFFFE or a shorter `edited` is longer than kIpsMaxOffset.
bool MakeIpsPatch(const std::vector<unsigned char>& original, const std::vector<unsigned char>& edited,
                  std::vector<unsigned char>& patch, std::string& error);

// Reads the records of `patch` in order. False, with a one-line `error` (no trailing period), when the
// header is missing, a record is cut short, the end marker is missing, a run-length record repeats a
// byte zero times, or anything but a 3-byte size follows the end marker; `records` then holds what was
// read before. `cut_to`, when given, receives the size after the end marker, if there is one.
bool ReadIpsPatch(const std::vector<unsigned char>& patch, std::vector<IpsRecord>& records, std::string& error,
                  std::optional<std::size_t>* cut_to = nullptr);

// Applies a patch to `file` in one pass over its bytes: each record overwrites its bytes, growing the
// file with zero bytes when it reaches past the end; then a file longer than the size after the end
// marker is cut to it. False, with `error` set and `file` unchanged, when ReadIpsPatch refuses it.
bool ApplyIpsPatch(const std::vector<unsigned char>& patch, std::vector<unsigned char>& file, std::string& error);
