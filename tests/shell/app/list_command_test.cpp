#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "demo/demo_image.h"
#include "shell/app/headless_commands.h"
#include "tests/level/level_support.h"

namespace {

class ListCommandTest : public ScratchDirTest {
 protected:
  static void WriteDemo(const DemoImage& demo) {
    std::ofstream("demo.smc", std::ios::binary)
        .write(reinterpret_cast<const char*>(demo.rom.data()), static_cast<std::streamsize>(demo.rom.size()));
    std::ofstream("GameConfig/QBR v10U.INI") << demo.config;
  }
  int Run(const std::string& path) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int rc = RunListCommand(path);
    out = testing::internal::GetCapturedStdout();
    err = testing::internal::GetCapturedStderr();
    return rc;
  }
  std::string out, err;
};

TEST_F(ListCommandTest, ListsEveryShownLevelOfTheDemoImage) {
  const DemoImage demo = BuildDemoImage(7);
  WriteDemo(demo);
  ASSERT_EQ(Run("demo.smc"), 0);
  // The demo image is not the supported one: one warning line.
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
  EXPECT_NE(err.find("warning"), std::string::npos);
  const std::vector<std::string> lines = SplitLines(out);
  ASSERT_EQ(lines.size(), 228u);
  EXPECT_EQ(lines[0], "0x00\tUnbuilt Level\t0\t8\t16");
  EXPECT_EQ(lines[91], "0x5B\tUnbuilt Level\t0\t8\t16");
  EXPECT_EQ(lines[92].substr(0, 5), "0x5D\t");
  EXPECT_EQ(lines[93].substr(0, 5), "0x5F\t");
  EXPECT_EQ(lines.back().substr(0, 5), "0xE5\t");
  for (const DemoLevel& l : demo.levels) {
    char id[8];
    std::snprintf(id, sizeof id, "0x%02X", l.id);
    const std::string expected = std::string(id) + "\t" + l.name + "\t" + std::to_string(l.archetype) + "\t" +
                                 std::to_string(l.tile_w) + "\t" + std::to_string(l.tile_h);
    EXPECT_EQ(lines[static_cast<std::size_t>(l.id - (l.id > 0x5E ? 2 : l.id > 0x5C ? 1 : 0))], expected);
  }
}

// Name bytes a terminal would act on, or that would break the tab-separated columns, are written as
// \xNN; printable ones stay as they are.
TEST_F(ListCommandTest, UnprintableNameBytesAreEscaped) {
  DemoImage demo = BuildDemoImage(7);
  const DemoLevel& level = demo.levels.front();
  ASSERT_GE(level.name.size(), 6u);
  // The stored name: its last character carries bit 7.
  std::vector<unsigned char> stored(level.name.begin(), level.name.end());
  stored.back() |= 0x80;
  const auto at = std::search(demo.rom.begin(), demo.rom.end(), stored.begin(), stored.end());
  ASSERT_NE(at, demo.rom.end());
  const unsigned char damaged[] = {0x01, '\t', '\n', 0x7F, 0xC3, '\\'};
  std::copy(std::begin(damaged), std::end(damaged), at);
  WriteDemo(demo);
  ASSERT_EQ(Run("demo.smc"), 0) << err;
  const std::string shown = "\\x01\\x09\\x0A\\x7F\\xC3\\" + level.name.substr(6);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 228);
  char id[8];
  std::snprintf(id, sizeof id, "0x%02X\t", level.id);
  EXPECT_NE(out.find(std::string(id) + shown + "\t" + std::to_string(level.archetype) + "\t"), std::string::npos)
      << out.substr(0, 400);
  EXPECT_EQ(
      std::count_if(out.begin(), out.end(), [](char c) { return c != '\t' && c != '\n' && (c < 0x20 || c > 0x7E); }),
      0);
}

TEST_F(ListCommandTest, MissingOrUnreadableImageIsOneErrorLine) {
  for (const char* path : {"nothing-here.smc", "GameConfig"}) {
    EXPECT_NE(Run(path), 0) << path;
    EXPECT_TRUE(out.empty()) << path;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  }
}

TEST_F(ListCommandTest, EmptyImageStillListsEveryLevel) {
  std::ofstream("empty.smc").close();
  ASSERT_EQ(Run("empty.smc"), 0);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 228);
  EXPECT_EQ(out.substr(0, 14), "0x00\t\t0\t8\t16\n0");
}

}  // namespace
