#include "view_support.h"

#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "e2e_support.h"

namespace fs = std::filesystem;

namespace e2e {

const DemoImage& Demo() {
  static const DemoImage demo = BuildDemoImage(1);
  return demo;
}

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

std::string ConfigurationWith(const std::map<int, unsigned>& positions, const std::string& more) {
  std::string text = "[LevelDisplay]\nEnable = Yes\n";
  for (const auto& [level, value] : positions) text += Hex(level, 2) + " = " + Hex(value, 8) + "\n";
  return text + more;
}

std::map<std::string, std::string> LevelDisplayKeys(const fs::path& file) { return SectionKeys(file, "LevelDisplay"); }

std::map<std::string, std::string> SectionKeys(const fs::path& file, const std::string& wanted) {
  std::ifstream in(file);
  std::map<std::string, std::string> keys;
  std::string line, section;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      section = line.substr(1, line.find(']') - 1);
      continue;
    }
    const size_t eq = line.find(" = ");
    if (section == wanted && eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 3);
  }
  return keys;
}

bool ReadPng(const fs::path& file, Picture& picture) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  picture.w = static_cast<int>(image.width);
  picture.h = static_cast<int>(image.height);
  picture.pixels.resize(static_cast<size_t>(picture.w) * picture.h);
  for (size_t i = 0; i < picture.pixels.size(); ++i)
    picture.pixels[i] = (uint32_t{rgb[3 * i]} << 16) | (uint32_t{rgb[3 * i + 1]} << 8) | rgb[3 * i + 2];
  return true;
}

ExportFolder::ExportFolder() {
  fs::create_directories(dir_ / "GameConfig");
  const DemoImage& demo = Demo();
  std::ofstream(dir_ / "GameConfig" / "QBR v10U.INI", std::ios::binary) << demo.config;
  std::ofstream rom(Rom(), std::ios::binary);
  rom.write(reinterpret_cast<const char*>(demo.rom.data()), static_cast<std::streamsize>(demo.rom.size()));
}

ExportFolder::~ExportFolder() = default;

bool ExportFolder::Export(int level, Picture& picture, std::string* output) const {
  const fs::path png = dir_ / ("level-" + std::to_string(level) + ".png");
  int status = -1;
  const std::string printed = RunCommand("cd '" + dir_.path().string() + "' && '" QBRRE_BINARY_PATH
                                         "' --export 0x" + Hex(level, 2) + " --output '" + png.string() +
                                             "' demo.smc 2>&1",
                                         &status);
  if (output != nullptr) *output = printed;
  return status == 0 && ReadPng(png, picture);
}

void ViewMask::Rect(int x0, int y0, int x1, int y1) {
  for (int y = std::max(0, y0); y < std::min(h_, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(w_, x1); ++x) masked_[static_cast<size_t>(y) * w_ + x] = true;
}

namespace {

// Window columns (or rows) that show level pixels [from, to) with the camera at
// `camera`: rounded outward, so every pixel touching them is masked.
int ViewStart(int from, int camera, int percent) {
  const int d = (from - camera) * percent;
  return d >= 0 ? d / 100 : -((-d + 99) / 100);
}
int ViewEnd(int to, int camera, int percent) {
  const int d = (to - camera) * percent;
  return d >= 0 ? (d + 99) / 100 : -(-d / 100);
}

}  // namespace

ViewMask MaskFor(const DemoLevel& level, int camera_x, int camera_y, int view_w, int view_h, int percent) {
  ViewMask mask(view_w, view_h);
  for (const DemoBananaGroup& group : level.bananas)
    for (int c = 0; c < group.columns; ++c)
      for (int r = 0; r < group.rows; ++r)
        if (group.Cell(c, r)) {
          const int x = group.x + 8 * c, y = group.y + 8 * r;
          mask.Rect(ViewStart(x, camera_x, percent), ViewStart(y, camera_y, percent),
                    ViewEnd(x + 16, camera_x, percent), ViewEnd(y + 16, camera_y, percent));
        }
  // Labels are drawn in window pixels at the object's reference point.
  for (const DemoObject& object : level.objects)
    if (object.compound) {
      const int x = ViewStart(object.x, camera_x, percent), y = ViewStart(object.y, camera_y, percent);
      mask.Rect(x, y, x + 162, y + 14);
    }
  // The guide's dashes in the column of the level's middle; its two labels
  // right of it, from one row above the view's top.
  const int guide = ViewStart(16 * level.tile_w, camera_x, percent);
  mask.Rect(guide, 0, guide + 1, view_h);
  mask.Rect(guide, 0, guide + 90, 28);
  return mask;
}

}  // namespace e2e
