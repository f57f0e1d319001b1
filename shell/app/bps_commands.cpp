#include "shell/app/bps_commands.h"

#include <vector>

#include "rom/bps_patch.h"
#include "rom/patch_apply.h"
#include "shell/app/command_files.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Reads PATCH and ROM, applies the patch with `apply` and writes the result to OUT. OUT may be ROM
// (read whole first, replaced in one rename), never PATCH.
int Apply(const std::string& patch, const std::string& rom, const std::string& output,
          bool (*apply)(const Bytes&, const Bytes&, Bytes&, std::string&)) {
  if (!OutputAllowed(output, {patch})) return 1;
  Bytes p, file, result;
  if (!ReadCommandInput(patch, p) || !ReadCommandInput(rom, file)) return 1;
  std::string error;
  if (!apply(p, file, result, error)) return CommandFailed("\"" + patch + "\": " + error);
  return WriteCommandOutput(output, result);
}

}  // namespace

int RunMakeBpsCommand(const std::string& original, const std::string& edited, const std::string& output) {
  if (!OutputAllowed(output, {original, edited})) return 1;
  Bytes a, b;
  if (!ReadCommandInput(original, a) || !ReadCommandInput(edited, b)) return 1;
  if (a.size() > kBpsMaxSize || b.size() > kBpsMaxSize)
    return CommandFailed("cannot make a patch: a file is larger than this program handles");
  return WriteCommandOutput(output, MakeBpsPatch(a, b));
}

int RunApplyBpsCommand(const std::string& patch, const std::string& rom, const std::string& output) {
  return Apply(patch, rom, output, ApplyBpsPatch);
}

int RunApplyPatchCommand(const std::string& patch, const std::string& rom, const std::string& output) {
  return Apply(patch, rom, output, ApplyPatch);
}
