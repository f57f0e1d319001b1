// Feeds arbitrary bytes to the IPS reader and applies what it accepts to a small file. Sanitizers catch
// any access outside a buffer; the checks catch a refusal that changed the file, and a patch made from
// the result that does not rebuild it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "rom/ips_patch.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<unsigned char> patch(data, data + size);
  const std::vector<unsigned char> original(97, 0x3C);
  std::vector<unsigned char> file = original;
  std::string error;
  if (!ApplyIpsPatch(patch, file, error)) {
    Check(file == original);
    Check(!error.empty() && error.find('\n') == std::string::npos);
    return 0;
  }
  // Records may reach 16 MiB past the start; keep the round trip to results of a sane size.
  if (file.size() > (1u << 20)) return 0;
  std::vector<unsigned char> again;
  Check(MakeIpsPatch(original, file, again, error));
  std::vector<IpsRecord> records;
  Check(ReadIpsPatch(again, records, error));
  for (const IpsRecord& r : records) Check(r.offset != kIpsEofOffset);
  std::vector<unsigned char> rebuilt = original;
  Check(ApplyIpsPatch(again, rebuilt, error));
  Check(rebuilt == file);
  return 0;
}
