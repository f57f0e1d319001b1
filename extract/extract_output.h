#pragma once

#include <string>
#include <vector>

#include "extract/extract.h"
#include "shell/base/include.h"

// Where an extraction writes: one folder, a report of what was written and
// skipped, and the stop after the first file the folder refuses.
class ExtractSink {
 public:
  ExtractSink(std::string folder, ExtractReport& report) : folder_(std::move(folder)), report_(report) {}

  // True once a write failed; the writers then stop.
  bool Stopped() const { return !report_.failed_path.empty(); }
  // Records one thing that was not written.
  void Skip(const std::string& line) { report_.skipped.push_back(line); }
  // Writes `bytes` as file `name` of the folder.
  void Bytes(const std::string& name, const std::vector<unsigned char>& bytes);
  // Writes `text` as file `name` of the folder.
  void Text(const std::string& name, const std::string& text);
  // Writes `picture` (32-bit) as PNG file `name`: RGBA when `alpha`, else RGB.
  void Picture(const std::string& name, BITMAP* picture, bool alpha);
  // Writes file `name` as a copy of file `written`, written before by this sink.
  void CopyOf(const std::string& written, const std::string& name);

 private:
  // A fresh temporary name beside `name` in the folder.
  std::string TempPath(const std::string& name) const;
  // Renames the finished temporary file into place; records the failure otherwise.
  void Commit(const std::string& temp, const std::string& name, bool written);

  std::string folder_;
  ExtractReport& report_;
};

// One line of a report: `format` with up to two numbers.
std::string ExtractLine(const char* format, int n, int m = 0);

// "prefix-0x" + n as `digits` upper-case hexadecimal digits + suffix.
std::string ExtractFileName(const char* prefix, int n, int digits, const char* suffix);

// Appends `w` as a little-endian word.
inline void PutWordLE(std::vector<unsigned char>& out, unsigned w) {
  out.push_back(static_cast<unsigned char>(w & 0xFF));
  out.push_back(static_cast<unsigned char>((w >> 8) & 0xFF));
}
