#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/base/include.h"
#include "tests/common/headless_allegro.h"

// A fresh scratch working directory (dir) holding an empty GameConfig folder, with Allegro up; afterwards
// the configuration in force is emptied, the previous working directory restored and dir removed.
class ScratchDirTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::filesystem::path previous, dir;
};

// The lines of text, without their line ends.
std::vector<std::string> SplitLines(const std::string& text);

// Makes image the loaded ROM (channel 0x10's buffer).
void LoadTestImage(const std::vector<unsigned char>& image);

// Makes text the configuration in force and reads the global offsets from it.
void UseGameConfigText(const std::string& text);

// A little-endian writer over a test image that grows it as needed.
struct ImageWriter {
  std::vector<unsigned char>& img;
  void Byte(long o, unsigned v);
  void Word(long o, unsigned v);
  void Long(long o, unsigned long v);
};

// Pixel (x, y) of a 32-bit memory bitmap.
std::uint32_t Px(BITMAP* b, int x, int y);
