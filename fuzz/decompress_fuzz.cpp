// The character decompressor on arbitrary bytes: byte 0 picks the plain or
// compressed form and where the block starts (also before the data), the rest
// is the data. The output must stay within its ceiling and every read inside the data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "level/ex_gfx_QBR1.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const bool plain = data[0] & 1;
  const long long start = static_cast<long long>(data[0] >> 1) - 32;
  std::vector<unsigned char> out;
  QBR1_Decompress(RomView(data + 1, size - 1), start, plain, out);
  if (out.size() > kQBR1MaxRawGFX) __builtin_trap();
  if (plain && out.size() > static_cast<std::size_t>(kQBR1PlainGFXSize)) __builtin_trap();
  return 0;
}
