#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/allegro_include.h"
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

// One figure of a --free-space report: the number after "LABEL: " in section
// "Objects" or "Bananas"; -1 (and a test failure) when it is missing.
long long FreeSpaceFigure(const std::string& report, const std::string& section, const std::string& label);

// What the demo image's description says --free-space must print for one kind:
// every built level has a list of its own, the unbuilt ones share one empty
// list, and the declared ranges lie apart from all of them.
struct DemoFreeSpaceFigures {
  long long pool = 0, in_use = 0, largest = 0;
};
struct DemoImage;
DemoFreeSpaceFigures DemoFreeSpace(const DemoImage& demo, bool objects);

// Pixel (x, y) of a 32-bit memory bitmap.
std::uint32_t Px(BITMAP* b, int x, int y);
