#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "demo/demo_image.h"

namespace extract_test {

namespace fs = std::filesystem;

// A private folder under the system's temporary folder, removed with the object.
class TempFolder {
 public:
  explicit TempFolder(const std::string& tag);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// Writes `bytes` as file `path`.
void WriteFile(const fs::path& path, const std::vector<unsigned char>& bytes);
// The bytes of file `path` (empty when it cannot be read).
std::vector<unsigned char> ReadFile(const fs::path& path);

// Puts the demo image (demo.smc) and its game configuration into `folder`.
void PlaceDemo(const DemoImage& demo, const fs::path& folder);

// The program run in `dir` with `args`: exit status (-1 when it did not exit
// normally), stdout, and stderr's lines.
struct RunResult {
  int status = -1;
  std::string out;
  std::vector<std::string> err;
};
RunResult Qbrre(const fs::path& dir, const std::string& args);

// An RGBA PNG read back as 0xAARRGGBB pixels; w = 0 when unreadable.
DemoPicture ReadPngRgba(const fs::path& path);

// The file names of `folder` that start with `prefix` and end with `suffix`, sorted.
std::vector<std::string> FilesLike(const fs::path& folder, const std::string& prefix, const std::string& suffix);

// The little-endian word at byte `at` of `bytes`.
inline unsigned WordAt(const std::vector<unsigned char>& bytes, std::size_t at) {
  return bytes[at] | static_cast<unsigned>(bytes[at + 1]) << 8;
}

}  // namespace extract_test
