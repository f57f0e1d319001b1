#include "shell/base/frame_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The file named at the first event; "" when there is none.
const std::string& LogPath() {
  static const std::string path = [] {
    const char* value = std::getenv("QBRRE_FRAME_LOG");
    return std::string(value != nullptr ? value : "");
  }();
  return path;
}

// Appends one line in one write, so a reader never sees half of it.
void Append(const char* line) {
  const int fd = open(LogPath().c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  [[maybe_unused]] const ssize_t written = write(fd, line, std::strlen(line));
  close(fd);
}

uint32_t current_mode = 0;
bool first_frame_shown = true;
unsigned long long passes = 0;

}  // namespace

void FrameLogModeEntered(uint32_t mode) {
  if (LogPath().empty()) return;
  current_mode = mode;
  first_frame_shown = false;
  char line[32];
  std::snprintf(line, sizeof line, "enter %u\n", static_cast<unsigned>(mode));
  Append(line);
}

void FrameLogUpdatesRan() {
  if (LogPath().empty()) return;
  // Kept open: this runs every pass.
  static const int fd = open((LogPath() + ".passes").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  // A fixed width, so each write replaces the whole number in one piece.
  char number[24];
  std::snprintf(number, sizeof number, "%020llu\n", ++passes);
  [[maybe_unused]] const ssize_t written = pwrite(fd, number, std::strlen(number), 0);
}

void FrameLogFrameShown() {
  if (LogPath().empty() || first_frame_shown) return;
  first_frame_shown = true;
  char line[32];
  std::snprintf(line, sizeof line, "ready %u\n", static_cast<unsigned>(current_mode));
  Append(line);
}
