#include "shell/app/ips_commands.h"

#include <vector>

#include "rom/ips_patch.h"
#include "shell/app/command_files.h"

int RunMakeIpsCommand(const std::string& original, const std::string& edited, const std::string& output) {
  if (!OutputAllowed(output, {original, edited})) return 1;
  std::vector<unsigned char> a, b, patch;
  if (!ReadCommandInput(original, a) || !ReadCommandInput(edited, b)) return 1;
  std::string error;
  if (!MakeIpsPatch(a, b, patch, error)) return CommandFailed("cannot make a patch: " + error);
  return WriteCommandOutput(output, patch);
}

int RunApplyIpsCommand(const std::string& patch, const std::string& rom, const std::string& output) {
  // Writing over ROM itself is allowed: it is read whole first and replaced in one rename.
  if (!OutputAllowed(output, {patch})) return 1;
  std::vector<unsigned char> p, file;
  if (!ReadCommandInput(patch, p) || !ReadCommandInput(rom, file)) return 1;
  std::string error;
  if (!ApplyIpsPatch(p, file, error)) return CommandFailed("\"" + patch + "\": " + error);
  return WriteCommandOutput(output, file);
}
