#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "tests/rom/crc_forge.h"

// Reads a whole file; empty when it cannot be read.
std::vector<char> ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const std::vector<char>& bytes);
std::string ReadText(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);

// Everything the program showed or played, in order, as one text per event:
// "box <kind> <title>", "sound <alias> <wait>" (and what a test adds itself).
struct EventLog {
  std::vector<std::string> events;
  std::vector<DialogRecord> boxes;
  std::vector<std::string> answers;  // answers handed out to boxes in order; "ok"/"yes" when run out
};

// A fresh working directory with "GameConfig/", the program's own configuration
// selected, boxes (scripted in process), sounds (recorded) and commands routed to
// `log`, and the image channel and engine state reset. Restores everything on
// destruction.
class OpenSandbox {
 public:
  explicit OpenSandbox(EventLog& log);
  ~OpenSandbox();
  OpenSandbox(const OpenSandbox&) = delete;
  OpenSandbox& operator=(const OpenSandbox&) = delete;

  const std::filesystem::path& dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
  std::filesystem::path previous_;
};
