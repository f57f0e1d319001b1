#include "extract/extract_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "level/png_export.h"

namespace {

// Writes all of data to fd, retrying short writes and interruptions.
bool WriteAll(int fd, const unsigned char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string ExtractLine(const char* format, int n, int m) {
  char text[160];
  std::snprintf(text, sizeof text, format, n, m);
  return text;
}

std::string ExtractFileName(const char* prefix, int n, int digits, const char* suffix) {
  char name[64];
  std::snprintf(name, sizeof name, "%s-0x%0*X%s", prefix, digits, static_cast<unsigned>(n), suffix);
  return name;
}

std::string ExtractSink::TempPath(const std::string& name) const {
  static unsigned counter = 0;
  return (std::filesystem::path(folder_) /
          ("." + name + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(++counter)))
      .string();
}

void ExtractSink::Commit(const std::string& temp, const std::string& name, bool written) {
  const std::string path = (std::filesystem::path(folder_) / name).string();
  if (written && std::rename(temp.c_str(), path.c_str()) == 0) {
    ++report_.written;
    return;
  }
  std::remove(temp.c_str());
  report_.failed_path = path;
}

void ExtractSink::Bytes(const std::string& name, const std::vector<unsigned char>& bytes) {
  if (Stopped()) return;
  const std::string temp = TempPath(name);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  bool written = fd >= 0 && WriteAll(fd, bytes.data(), bytes.size());
  if (fd >= 0 && ::close(fd) != 0) written = false;
  Commit(temp, name, written);
}

void ExtractSink::Text(const std::string& name, const std::string& text) {
  Bytes(name, std::vector<unsigned char>(text.begin(), text.end()));
}

void ExtractSink::Picture(const std::string& name, BITMAP* picture, bool alpha) {
  if (Stopped()) return;
  const std::string temp = TempPath(name);
  const bool written = alpha ? QBR1_WritePngAlpha(temp, picture) : QBR1_WritePng(temp, picture);
  Commit(temp, name, written);
}

void ExtractSink::CopyOf(const std::string& written, const std::string& name) {
  if (Stopped()) return;
  const std::string temp = TempPath(name);
  std::error_code ec;
  const bool copied = std::filesystem::copy_file(std::filesystem::path(folder_) / written, temp, ec) && !ec;
  Commit(temp, name, copied);
}
