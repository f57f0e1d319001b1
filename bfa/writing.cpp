// Bit-stream writing into the current channel at its write position.
#include "bfa/bfa_internal.h"

#include <cstring>

using namespace bfa_detail;

namespace {

// Writes one bit at the write position and advances it. At the first bit of the byte just past the end the
// buffer grows by a zero byte; inside the buffer the bit is overwritten in place. WriteFits has been checked.
void PutBit(bool value) {
  std::vector<char>& buffer = CurrentBuffer();
  bitcounter& pos = CurrentWrite();
  const std::size_t byte = pos / 8;
  if (byte == buffer.size()) buffer.push_back(0);
  const auto mask = static_cast<unsigned char>(0x80u >> (pos % 8));
  auto b = static_cast<unsigned char>(buffer[byte]);
  b = value ? (b | mask) : (b & ~mask);
  buffer[byte] = static_cast<char>(b);
  ++pos;
}

// The low num_bits bits of data, most significant first.
void PutBits(unsigned long data, int num_bits) {
  for (int i = num_bits - 1; i >= 0; --i) PutBit((data >> i) & 1ul);
}

}  // namespace

bool bfa_detail::WriteFits(std::size_t bits) {
  const std::size_t pos = CurrentWrite();
  return pos <= CurrentBuffer().size() * 8 && bits <= BFA_MAX_FILE_SIZE * 8 - pos;
}

bool BFA_set_int(unsigned long data, int num_bits) {
  if (!ChannelAllows(Operation::Write)) return false;
  if (num_bits < 0 || num_bits > 32 || !WriteFits(static_cast<std::size_t>(num_bits))) return false;
  PutBits(data, num_bits);
  return true;
}

bool BFA_set_bool(unsigned long data) {
  if (!ChannelAllows(Operation::Write) || !WriteFits(1)) return false;
  PutBit(data & 1ul);
  return true;
}

bool BFA_set_bits(int num_bits, bool value) {
  if (!ChannelAllows(Operation::Write)) return false;
  if (num_bits < 0 || num_bits > 32 || !WriteFits(static_cast<std::size_t>(num_bits))) return false;
  for (int i = 0; i < num_bits; ++i) PutBit(value);
  return true;
}

bool BFA_set_last(bool value) {
  if (!ChannelAllows(Operation::Write)) return false;
  const bitcounter pos = CurrentWrite();
  if (!WriteFits((8 - pos % 8) % 8)) return false;
  while (CurrentWrite() % 8 != 0) PutBit(value);
  return true;
}

bool BFA_set_str(const char* data, int char_size) {
  if (!ChannelAllows(Operation::Write)) return false;
  if ((char_size < 8 && char_size != 6) || char_size > 8) {
    ShowCharSizeUnsupported(char_size, true);
    return false;
  }
  if (data == nullptr) return false;
  const std::size_t length = std::strlen(data);
  if (!WriteFits((length + 1) * static_cast<std::size_t>(char_size))) return false;
  for (std::size_t i = 0; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    PutBits(char_size == 6 ? BFA_8to6_bitstr_conversion_table[byte] : byte, char_size);
  }
  PutBits(0, char_size);
  return true;
}
