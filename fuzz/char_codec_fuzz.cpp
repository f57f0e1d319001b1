// The character encoder on arbitrary data: the block it makes must decompress
// to the data, end at its end marker and be no longer than storing the data in
// literal runs.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "codec/char_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<unsigned char> raw(data, data + size);
  const std::vector<unsigned char> block = QBR1_CompressCharacters(raw);
  std::vector<unsigned char> out;
  const CharBlockEnd end = QBR1_DecompressCharacters(block.data(), block.size(), out);
  if (out != raw || !end.complete || end.length != block.size()) __builtin_trap();
  if (block.size() > kCharDictionaryBytes + 1 + size + (size + 62) / 63) __builtin_trap();
  return 0;
}
