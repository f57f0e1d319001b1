#include "tests/extract/extract_support.h"

#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/common/file_bytes.h"

namespace extract_test {

TempFolder::TempFolder(const std::string& tag) {
  static int counter = 0;
  path_ =
      fs::temp_directory_path() / ("qbrre-" + tag + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void WriteFile(const fs::path& path, const std::vector<unsigned char>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<unsigned char> ReadFile(const fs::path& path) {
  return ReadFileBytes<std::vector<unsigned char>>(path);
}

void PlaceDemo(const DemoImage& demo, const fs::path& folder) {
  fs::create_directories(folder / "GameConfig");
  std::ofstream(folder / "GameConfig" / "QBR v10U.INI", std::ios::binary) << demo.config;
  WriteFile(folder / "demo.smc", demo.rom);
}

RunResult Qbrre(const fs::path& dir, const std::string& args) {
  const fs::path out = dir / "stdout.txt", err = dir / "stderr.txt";
  const std::string command = "cd '" + dir.string() + "' && '" QBRRE_BINARY_DIR "/qbrre' " + args + " >'" +
                              out.string() + "' 2>'" + err.string() + "'";
  const int status = std::system(command.c_str());
  RunResult r;
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream o(out);
  std::stringstream s;
  s << o.rdbuf();
  r.out = s.str();
  std::ifstream e(err);
  for (std::string line; std::getline(e, line);) r.err.push_back(line);
  fs::remove(out), fs::remove(err);
  return r;
}

DemoPicture ReadPngRgba(const fs::path& path) {
  DemoPicture pic;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return pic;
  if (image.format != PNG_FORMAT_RGBA) {
    png_image_free(&image);
    return pic;
  }
  image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return pic;
  pic.w = static_cast<int>(image.width);
  pic.h = static_cast<int>(image.height);
  pic.pixels = std::move(pixels);
  return pic;
}

std::vector<std::string> FilesLike(const fs::path& folder, const std::string& prefix, const std::string& suffix) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() >= prefix.size() + suffix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace extract_test
