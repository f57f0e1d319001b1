#include "shell/app/command_files.h"

#include <cstdio>

#include "rom/file_replace.h"

int CommandFailed(const std::string& line) {
  std::fprintf(stderr, "qbrre: %s\n", line.c_str());
  return 1;
}

bool ReadCommandInput(const std::string& path, std::vector<unsigned char>& out) {
  std::string error;
  if (ReadRegularFile(path, out, error)) return true;
  CommandFailed("cannot read \"" + path + "\": " + error);
  return false;
}

bool OutputAllowed(const std::string& output, const std::vector<std::string>& inputs) {
  const std::string refusal = OutputIsInput(output, inputs);
  if (refusal.empty()) return true;
  CommandFailed("cannot write \"" + output + "\": " + refusal);
  return false;
}

int WriteCommandOutput(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::string error;
  if (ReplaceFile(path, bytes, error)) return 0;
  return CommandFailed("cannot write \"" + path + "\": " + error);
}
