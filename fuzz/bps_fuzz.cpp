// Feeds arbitrary bytes to the BPS reader and the maker. The first byte chooses: odd, the rest is a
// patch for a small fixed image, with its checksums of the image and of itself made right so that the
// actions are read (a refusal must leave the output alone and say why in one line; an accepted result
// must come back through a patch made from it); even, the rest is split into an image and an edited
// image, and the patch made between them must rebuild the edited one. Sanitizers catch any access
// outside a buffer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "rom/bps_patch.h"

namespace {

using Bytes = std::vector<unsigned char>;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void PutLe32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

std::uint32_t Crc(const Bytes& b, std::size_t n) {
  return static_cast<std::uint32_t>(CharArray_Get_CRC32(reinterpret_cast<const char*>(b.data()), static_cast<int>(n)));
}

void RoundTrip(const Bytes& source, const Bytes& target) {
  const Bytes patch = MakeBpsPatch(source, target);
  Bytes rebuilt;
  std::string error;
  Check(ApplyBpsPatch(patch, source, rebuilt, error));
  Check(rebuilt == target);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > (1u << 16)) return 0;
  const Bytes rest(data + 1, data + size);
  if ((data[0] & 1) == 0) {
    const std::size_t cut = rest.empty() ? 0 : rest[0] * rest.size() / 256;
    RoundTrip(Bytes(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(cut)),
              Bytes(rest.begin() + static_cast<std::ptrdiff_t>(cut), rest.end()));
    return 0;
  }
  const Bytes source(61, 0xA5);
  Bytes patch = {'B', 'P', 'S', '1'};
  patch.insert(patch.end(), rest.begin(), rest.end());
  if (patch.size() >= 16) {
    PutLe32(patch, patch.size() - 12, Crc(source, source.size()));
    PutLe32(patch, patch.size() - 4, Crc(patch, patch.size() - 4));
  }
  // A result of up to 256 MiB is allowed; keep each run to small ones.
  BpsHeader header;
  std::string error;
  if (ReadBpsHeader(patch, header, error) && header.target_size > (1u << 20)) return 0;
  Bytes out = {1, 2};
  if (!ApplyBpsPatch(patch, source, out, error)) {
    Check(out == Bytes({1, 2}));
    Check(!error.empty() && error.find('\n') == std::string::npos);
    return 0;
  }
  Check(out.size() == header.target_size);
  RoundTrip(source, out);
  return 0;
}
