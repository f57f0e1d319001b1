#include "rom/patch_apply.h"

#include <cstring>

#include "rom/bps_patch.h"
#include "rom/ips_patch.h"

PatchFormat PatchFormatOf(const std::vector<unsigned char>& patch) {
  if (patch.size() >= 5 && std::memcmp(patch.data(), "PATCH", 5) == 0) return PatchFormat::kIps;
  if (IsBpsPatch(patch)) return PatchFormat::kBps;
  return PatchFormat::kUnknown;
}

bool ApplyPatch(const std::vector<unsigned char>& patch, const std::vector<unsigned char>& file,
                std::vector<unsigned char>& result, std::string& error) {
  switch (PatchFormatOf(patch)) {
    case PatchFormat::kIps: {
      std::vector<unsigned char> out = file;
      if (!ApplyIpsPatch(patch, out, error)) return false;
      result = std::move(out);
      return true;
    }
    case PatchFormat::kBps: return ApplyBpsPatch(patch, file, result, error);
    case PatchFormat::kUnknown: break;
  }
  error = "not a patch (it starts with neither PATCH nor BPS1)";
  return false;
}
