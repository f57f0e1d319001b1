#pragma once

// Helpers of the end-to-end tests of the level view on the demo image: the
// configuration they start from, the view positions the program saved, level
// pictures written by `qbrre --export`, and masks of what a view shows over a
// level that an export does not.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "demo/demo_image.h"
#include "tests/common/temp_folder.h"

namespace e2e {

// The demo image the program builds for `--demo` (seed 1).
const DemoImage& Demo();

// `value` as exactly `digits` upper-case hex digits.
std::string Hex(unsigned value, int digits);

// Configuration.INI with the view keys already seeded (so nothing seeds over
// them), the given level positions and any further text.
std::string ConfigurationWith(const std::map<int, unsigned>& positions, const std::string& more = "");

// The keys of section "LevelDisplay" of a configuration file.
std::map<std::string, std::string> LevelDisplayKeys(const std::filesystem::path& file);
// The keys and values ("KEY = VALUE" lines) of section `section` of the settings file `file`.
std::map<std::string, std::string> SectionKeys(const std::filesystem::path& file, const std::string& section);

// A picture as 0xRRGGBB pixels, row by row.
struct Picture {
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * w + x]; }
};

bool ReadPng(const std::filesystem::path& file, Picture& picture);

// A folder with the demo image and its game configuration, as a user would
// have them on disk, and `qbrre --export` run there. Removed with the object.
class ExportFolder {
 public:
  ExportFolder();
  ~ExportFolder();
  ExportFolder(const ExportFolder&) = delete;
  ExportFolder& operator=(const ExportFolder&) = delete;

  // Exports `level` of the image file Rom() as it is now; false when that
  // fails (`output`, when given, gets what the program printed).
  bool Export(int level, Picture& picture, std::string* output = nullptr) const;
  // The image file, which a test may open in the program and save.
  std::filesystem::path Rom() const { return dir_ / "demo.smc"; }

 private:
  TempFolder dir_;
};

// Which pixels of a view a comparison leaves out.
class ViewMask {
 public:
  ViewMask(int w, int h) : w_(w), h_(h), masked_(static_cast<size_t>(w) * h, false) {}

  // Masks the rectangle [x0, x1) x [y0, y1) of view coordinates.
  void Rect(int x0, int y0, int x1, int y1);
  bool Masked(int x, int y) const { return masked_[static_cast<size_t>(y) * w_ + x]; }

 private:
  int w_, h_;
  std::vector<bool> masked_;
};

// The mask of a view of `level` at camera (camera_x, camera_y) and zoom
// `percent` (25, 50, 100, 200) of view_w x view_h window pixels: what the view
// draws over the level and an export does not (the half-way guide and its
// labels, the labels of compound objects) and the bananas, which animate.
ViewMask MaskFor(const DemoLevel& level, int camera_x, int camera_y, int view_w, int view_h, int percent = 100);

}  // namespace e2e
