#pragma once

#include <cstddef>
#include <vector>

// The game's compressed form of 8x8 character data, both ways. A block is a
// dictionary of 64 byte pairs (128 bytes) followed by control bytes, each
// acting on its low six bits n:
//   00nnnnnn  literal run: the next n bytes are copied to the output
//   01nnnnnn  fill: the next byte is appended n times
//   10nnnnnn  copy: a little-endian word s follows; n bytes are appended from
//             output position s on, one at a time, so a source that reaches the
//             bytes being produced repeats them
//   11nnnnnn  dictionary: pair n is appended
// and the control byte 0 ends the block. Pure functions over byte buffers.

// Pairs in the dictionary in front of every stream.
constexpr std::size_t kCharDictionaryPairs = 64;
// Bytes of the dictionary.
constexpr std::size_t kCharDictionaryBytes = 2 * kCharDictionaryPairs;
// Largest count of one control byte.
constexpr std::size_t kCharMaxCount = 0x3F;
// Ceiling of one decompression: eight times what a 10-bit character number can
// reach, so a stream without its end marker cannot grow the output without bound.
constexpr std::size_t kCharMaxRaw = 0x40000;

// Where a decompression stopped.
struct CharBlockEnd {
  std::size_t length = 0;  // bytes of the block read: dictionary, control bytes, operands and end marker
  bool complete = false;   // true when it stopped at the end marker
};

// Decompresses the block at data (size bytes available) and appends it to out.
// Stops at the end marker, when the block or a copy source runs out, or when
// kCharMaxRaw bytes have been appended; never reads outside data.
CharBlockEnd QBR1_DecompressCharacters(const unsigned char* data, std::size_t size, std::vector<unsigned char>& out);

// How often one compression used each control form.
struct CharCompressionStats {
  int literals = 0;     // 00: literal runs
  int fills = 0;        // 01: one byte repeated
  int copies = 0;       // 10: copies from the output so far
  int overlapping = 0;  // copies whose source reaches into the bytes being produced
  int dictionary = 0;   // 11: dictionary pairs
};

// Compresses raw (at most kCharMaxRaw bytes; an empty result for more) into a
// whole block: dictionary, control bytes, end marker. The parse is the shortest
// of every sequence of control forms the decompressor accepts for the chosen
// dictionary, and the dictionary is chosen among candidates for this data,
// keeping the one whose parse is shortest. Decompressing the result gives raw.
std::vector<unsigned char> QBR1_CompressCharacters(const std::vector<unsigned char>& raw,
                                                   CharCompressionStats* stats = nullptr);
