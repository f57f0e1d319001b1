#include "shell/app/bps_commands.h"

#include <cstdio>
#include <vector>

#include "rom/bps_patch.h"
#include "rom/file_replace.h"
#include "rom/patch_apply.h"

namespace {

using Bytes = std::vector<unsigned char>;

int Fail(const std::string& line) {
  std::fprintf(stderr, "qbrre: %s\n", line.c_str());
  return 1;
}

bool Read(const std::string& path, Bytes& out, std::string& line) {
  std::string error;
  if (ReadRegularFile(path, out, error)) return true;
  line = "cannot read \"" + path + "\": " + error;
  return false;
}

int Write(const std::string& path, const Bytes& bytes) {
  std::string error;
  if (!ReplaceFile(path, bytes, error)) return Fail("cannot write \"" + path + "\": " + error);
  return 0;
}

// Reads PATCH and ROM, applies the patch with `apply` and writes the result to OUT.
int Apply(const std::string& patch, const std::string& rom, const std::string& output,
          bool (*apply)(const Bytes&, const Bytes&, Bytes&, std::string&)) {
  Bytes p, file, result;
  std::string line;
  if (!Read(patch, p, line) || !Read(rom, file, line)) return Fail(line);
  std::string error;
  if (!apply(p, file, result, error)) return Fail("\"" + patch + "\": " + error);
  return Write(output, result);
}

}  // namespace

int RunMakeBpsCommand(const std::string& original, const std::string& edited, const std::string& output) {
  Bytes a, b;
  std::string line;
  if (!Read(original, a, line) || !Read(edited, b, line)) return Fail(line);
  if (a.size() > kBpsMaxSize || b.size() > kBpsMaxSize)
    return Fail("cannot make a patch: a file is larger than this program handles");
  return Write(output, MakeBpsPatch(a, b));
}

int RunApplyBpsCommand(const std::string& patch, const std::string& rom, const std::string& output) {
  return Apply(patch, rom, output, ApplyBpsPatch);
}

int RunApplyPatchCommand(const std::string& patch, const std::string& rom, const std::string& output) {
  return Apply(patch, rom, output, ApplyPatch);
}
