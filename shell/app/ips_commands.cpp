#include "shell/app/ips_commands.h"

#include <cstdio>
#include <vector>

#include "rom/file_replace.h"
#include "rom/ips_patch.h"

namespace {

int Fail(const std::string& line) {
  std::fprintf(stderr, "qbrre: %s\n", line.c_str());
  return 1;
}

bool Read(const std::string& path, std::vector<unsigned char>& out, std::string& line) {
  std::string error;
  if (ReadRegularFile(path, out, error)) return true;
  line = "cannot read \"" + path + "\": " + error;
  return false;
}

// One line on stderr when `output` is the file `input` under any name: writing it would replace an
// input before the command is done with it.
bool OutputIsInput(const std::string& output, const std::string& input) {
  if (!SameFile(output, input)) return false;
  Fail("the output \"" + output + "\" is the input \"" + input + "\"; choose another file");
  return true;
}

int Write(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::string error;
  if (!ReplaceFile(path, bytes, error)) return Fail("cannot write \"" + path + "\": " + error);
  return 0;
}

}  // namespace

int RunMakeIpsCommand(const std::string& original, const std::string& edited, const std::string& output) {
  if (OutputIsInput(output, original) || OutputIsInput(output, edited)) return 1;
  std::vector<unsigned char> a, b, patch;
  std::string line;
  if (!Read(original, a, line) || !Read(edited, b, line)) return Fail(line);
  std::string error;
  if (!MakeIpsPatch(a, b, patch, error)) return Fail("cannot make a patch: " + error);
  return Write(output, patch);
}

int RunApplyIpsCommand(const std::string& patch, const std::string& rom, const std::string& output) {
  // Writing over ROM itself is allowed: it is read whole first and replaced in one rename.
  if (OutputIsInput(output, patch)) return 1;
  std::vector<unsigned char> p, file;
  std::string line;
  if (!Read(patch, p, line) || !Read(rom, file, line)) return Fail(line);
  std::string error;
  if (!ApplyIpsPatch(p, file, error)) return Fail("\"" + patch + "\": " + error);
  return Write(output, file);
}
