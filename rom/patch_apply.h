// Applying a patch whose format is chosen by its first bytes: "PATCH" is IPS (rom/ips_patch.h), "BPS1"
// is BPS (rom/bps_patch.h). Pure functions over byte vectors.
#pragma once

#include <string>
#include <vector>

enum class PatchFormat { kUnknown, kIps, kBps };

// The format `patch` announces by its first bytes.
PatchFormat PatchFormatOf(const std::vector<unsigned char>& patch);

// `file` with `patch` applied, into `result`. False, with the format's one-line `error` and `result`
// unchanged, when the patch is refused or starts with neither "PATCH" nor "BPS1".
bool ApplyPatch(const std::vector<unsigned char>& patch, const std::vector<unsigned char>& file,
                std::vector<unsigned char>& result, std::string& error);
