#include "tests/level/level_support.h"

#include <unistd.h>

#include <algorithm>
#include <sstream>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "platform/config_lock.h"
#include "rom/globaldata.h"

void ScratchDirTest::SetUp() {
  ASSERT_TRUE(StartHeadlessAllegro());
  previous = std::filesystem::current_path();
  dir = std::filesystem::temp_directory_path() / ("qbrre_level_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "GameConfig");
  std::filesystem::current_path(dir);
}

void ScratchDirTest::TearDown() {
  {
    ConfigGuard guard;
    override_config_file(nullptr);
    set_config_data("", 0);
  }
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void LoadTestImage(const std::vector<unsigned char>& image) {
  BFA_Activate(0x10, 1);
  QBR1.assign(image.begin(), image.end());
}

void UseGameConfigText(const std::string& text) {
  ASSERT_TRUE(StartHeadlessAllegro());
  {
    ConfigGuard guard;
    set_config_data(text.c_str(), static_cast<int>(text.size()));
  }
  ReadGlobalOffsets(qbr1gbl);
}

void ImageWriter::Byte(long o, unsigned v) {
  if (img.size() <= static_cast<std::size_t>(o)) img.resize(static_cast<std::size_t>(o) + 1, 0);
  img[static_cast<std::size_t>(o)] = static_cast<unsigned char>(v);
}

void ImageWriter::Word(long o, unsigned v) {
  Byte(o, v & 0xFF);
  Byte(o + 1, (v >> 8) & 0xFF);
}

void ImageWriter::Long(long o, unsigned long v) {
  Word(o, static_cast<unsigned>(v & 0xFFFF));
  Byte(o + 2, static_cast<unsigned>((v >> 16) & 0xFF));
}

std::uint32_t Px(BITMAP* b, int x, int y) { return reinterpret_cast<std::uint32_t*>(b->line[y])[x]; }

long long FreeSpaceFigure(const std::string& report, const std::string& section, const std::string& label) {
  bool in = false;
  for (const std::string& line : SplitLines(report)) {
    if (line == section) {
      in = true;
    } else if (!line.empty() && line[0] != ' ') {
      in = false;
    } else if (in && line.rfind("  " + label + ": ", 0) == 0) {
      return std::stoll(line.substr(label.size() + 4));
    }
  }
  ADD_FAILURE() << section << " / " << label << " is missing in:\n" << report;
  return -1;
}

DemoFreeSpaceFigures DemoFreeSpace(const DemoImage& demo, bool objects) {
  const long long record = objects ? 8 : 4, end = objects ? 1 : 2;
  DemoFreeSpaceFigures f;
  f.in_use = end;  // the empty list of the unbuilt levels
  for (const DemoLevel& l : demo.levels) {
    f.in_use += record * static_cast<long long>(objects ? l.objects.size() : l.bananas.size()) + end;
  }
  f.pool = f.in_use;
  for (const DemoRange& r : objects ? demo.freeObjects : demo.freeBananas) {
    f.pool += r.last - r.first + 1;
    f.largest = std::max<long long>(f.largest, r.last - r.first + 1);
  }
  return f;
}
