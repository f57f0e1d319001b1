// Bit-stream reading from the current channel at its read position.
#include "bfa/bfa_internal.h"

using namespace bfa_detail;

namespace {

constexpr std::array<char, 64> kSixToEight = {
    '\0', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', ' ', 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J',
    'K',  'L', 'M', 'N', 'O', 'P', 'Q', 'R', 'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z', 'a', 'b', 'c', 'd', 'e', 'f',
    'g',  'h', 'i', 'j', 'k', 'l', 'm', 'n', 'o', 'p', 'q', 'r', 's', 't', 'u', 'v', 'w', 'x', 'y', 'z'};

// Inverse of the 6-bit table; every byte without a code of its own (the space included) becomes the space, 11.
constexpr std::array<unsigned char, 256> MakeEightToSix() {
  std::array<unsigned char, 256> table{};
  table.fill(11);
  for (unsigned code = 0; code < 64; ++code)
    table[static_cast<unsigned char>(kSixToEight[code])] = static_cast<unsigned char>(code);
  return table;
}

// The three tests every read except BFA_get_bits begins with.
bool ReadAllowed() { return ChannelAllows(Operation::Read) && ReadPositionInside(); }

// Reads num_bits (1 to 32) bits at the read position, first bit most significant, and advances past them.
// Bits past the end of the buffer read as 0.
unsigned long TakeBits(int num_bits) {
  const std::vector<char>& buffer = CurrentBuffer();
  bitcounter& pos = CurrentRead();
  unsigned long value = 0;
  for (int i = 0; i < num_bits; ++i) value = (value << 1) | ReadBit(buffer, pos + static_cast<bitcounter>(i));
  pos += static_cast<bitcounter>(num_bits);
  return value;
}

// num_bytes whole bytes from the byte holding the read position; advances 8 bits per byte. `little` puts the
// first byte lowest.
unsigned long TakeBytes(int num_bytes, bool little) {
  if (!ReadAllowed() || num_bytes < 0 || num_bytes > 4) return 0;
  bitcounter& pos = CurrentRead();
  const long long first = pos / 8;
  unsigned long value = 0;
  for (int i = 0; i < num_bytes; ++i) {
    const int shift = 8 * (little ? i : num_bytes - 1 - i);
    value |= static_cast<unsigned long>(ReadByte(CurrentBuffer(), first + i)) << shift;
  }
  pos += static_cast<bitcounter>(8 * num_bytes);
  return value;
}

// A console address in banks 0xC0 to 0xFF becomes an offset in the image.
int ImageOffset(int offset) { return offset > 0x3FFFFF ? offset - 0xC00000 : offset; }

}  // namespace

const std::array<char, 64> BFA_6to8_bitstr_conversion_table = kSixToEight;
const std::array<unsigned char, 256> BFA_8to6_bitstr_conversion_table = MakeEightToSix();

unsigned long BFA_get_int(int num_bits) {
  if (!ReadAllowed()) return 0;
  if (num_bits < 1) num_bits = 1;
  if (num_bits > 32) num_bits = 32;
  return TakeBits(num_bits);
}

bool BFA_get_bool() {
  if (!ReadAllowed()) return false;
  return TakeBits(1) != 0;
}

std::string BFA_get_str(int char_size) {
  if (!ReadAllowed()) return {};
  if ((char_size < 8 && char_size != 6) || char_size > 8) {
    ShowCharSizeUnsupported(char_size, false);
    return {};
  }
  std::string text;
  // Ends at the end of the buffer at the latest: codes read there are all zero bits, a terminator.
  for (;;) {
    const unsigned long code = TakeBits(char_size);
    const char c = char_size == 6 ? BFA_6to8_bitstr_conversion_table[code] : static_cast<char>(code);
    if (c == '\0') break;
    text += c;
  }
  return text;
}

void BFA_get_bits(int bits_to_skip) {
  if (!ChannelAllows(Operation::GetBits)) return;
  const bitcounter target = CurrentRead() + static_cast<bitcounter>(bits_to_skip);
  // Compared in bytes so that an empty buffer, which has no last bit, refuses every target.
  if (target / 8 >= CurrentBuffer().size()) {
    ShowGetBitsFailed(target);
    return;
  }
  CurrentRead() = target;
}

bool BFA_get_last(bool verify_bool) {
  if (!ReadAllowed()) return false;
  const std::vector<char>& buffer = CurrentBuffer();
  bitcounter& pos = CurrentRead();
  // Stays inside the byte that holds the (tested) read position.
  while (pos % 8 != 7) {
    if ((ReadBit(buffer, pos) != 0) != verify_bool) return false;
    ++pos;
  }
  return true;
}

unsigned long BFA_get_bytes(int num_bytes) { return TakeBytes(num_bytes, false); }

unsigned long BFA_get_Zbytes(int num_bytes) { return TakeBytes(num_bytes, true); }

bool BFA_SetRead_Zptr2(int table_offset, int index, int bank_offset) {
  table_offset = ImageOffset(table_offset);
  bank_offset = ImageOffset(bank_offset);
  // Moved before the tests on purpose: a refused jump leaves the read position on the table.
  CurrentRead() = static_cast<bitcounter>(table_offset) * 8;
  if (!ReadAllowed()) return false;
  const long long entry = static_cast<long long>(table_offset) + 2LL * index;
  const unsigned pointer = ReadByte(CurrentBuffer(), entry) | ReadByte(CurrentBuffer(), entry + 1) << 8;
  CurrentRead() = (pointer + static_cast<bitcounter>(bank_offset)) * 8;
  return true;
}
