#include <gtest/gtest.h>

#include <set>

#include "tests/extract/extract_support.h"

namespace {

using namespace extract_test;

std::string Name(const char* prefix, int n, const char* suffix) {
  char text[64];
  std::snprintf(text, sizeof text, "%s-0x%02X%s", prefix, n, suffix);
  return text;
}

// Lines other than the warning that the image is not the supported one; each
// must be the program's own one-line message.
std::vector<std::string> Complaints(const RunResult& run) {
  std::vector<std::string> lines;
  for (const std::string& line : run.err) {
    EXPECT_EQ(line.rfind("qbrre: ", 0), 0u) << line;
    if (line.rfind("qbrre: warning:", 0) != 0) lines.push_back(line);
  }
  return lines;
}

std::size_t CountContaining(const std::vector<std::string>& lines, const std::string& part) {
  std::size_t n = 0;
  for (const std::string& line : lines) n += line.find(part) != std::string::npos;
  return n;
}

TEST(ExtractDamagedTest, TruncatedImageWritesWhatItHoldsAndNamesTheRest) {
  // Cut at 3 MiB: the tile maps (0x200000-0x23FFFF), graphics and tile sets stay;
  // palettes (bank 0x39), sprites and object maps (0x3B-0x3E) are gone.
  const DemoImage demo = BuildDemoImage(1);
  TempFolder folder("extract-truncated");
  PlaceDemo(demo, folder.path());
  std::vector<unsigned char> cut(demo.rom.begin(), demo.rom.begin() + 0x300000);
  WriteFile(folder.path() / "demo.smc", cut);
  const RunResult run = Qbrre(folder.path(), "--extract all --output out demo.smc");
  ASSERT_EQ(run.status, 0);
  const fs::path out = folder.path() / "out";
  const std::vector<std::string> lines = Complaints(run);

  // Every palette is named once as skipped, and none is written.
  EXPECT_EQ(CountContaining(lines, "palette does not lie inside the image"), 228u);
  EXPECT_EQ(lines.size(), 228u) << (lines.empty() ? "" : lines.back());
  EXPECT_TRUE(FilesLike(out, "palette-0x", "").empty());
  EXPECT_TRUE(FilesLike(out, "sprite-0x", "").empty());
  // What the image still holds is written exactly. The theme table and the
  // camera records were cut off too: every level reads as archetype 0, 8 x 16
  // tiles from that archetype's first map entry, where level 0x16 begins.
  EXPECT_EQ(FilesLike(out, "level-0x", ".png").size(), 228u);
  EXPECT_EQ(FilesLike(out, "tileset-0x", ".png").size(), 228u);
  EXPECT_EQ(FilesLike(out, "gfx-0x", ".bin"), std::vector<std::string>{"gfx-0x00.bin"});
  EXPECT_EQ(ReadFile(out / "gfx-0x00.bin"), demo.archetypes.front().characters);
  const DemoLevel& first = *demo.Level(0x16);
  const std::vector<std::string> maps = FilesLike(out, "tilemap-0x", ".bin");
  EXPECT_EQ(maps.size(), 228u);
  for (const std::string& name : maps) {
    SCOPED_TRACE(name);
    const std::vector<unsigned char> bytes = ReadFile(out / name);
    ASSERT_EQ(bytes.size(), 2u * 8 * 16);
    int differing = 0;
    for (int c = 0; c < 8; ++c)
      for (int r = 0; r < 16; ++r) differing += WordAt(bytes, 2u * (16 * c + r)) != first.MapAt(c, r);
    EXPECT_EQ(differing, 0);
  }
}

TEST(ExtractDamagedTest, RandomImageWritesWhatItCanWithoutCrashing) {
  TempFolder folder("extract-random");
  std::vector<unsigned char> image(0x400000);
  std::uint32_t x = 0x5EED1234;
  for (auto& b : image) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    b = static_cast<unsigned char>(x);
  }
  WriteFile(folder.path() / "random.smc", image);
  // Every kind but the level pictures, which are `--export all`'s own and take
  // minutes here: random camera records make levels up to 65760 pixels wide.
  // No game configuration: the defaults place every palette at 0x39A1DC.
  std::vector<std::string> lines;
  // The sprite survey walks every object's scripts; on this image none gives a
  // sprite, so sprite-data (the same survey) would only repeat it.
  for (const char* kind : {"tilesets", "sprites", "gfx", "tileset-data", "tilemaps", "palettes"}) {
    const RunResult run = Qbrre(folder.path(), std::string("--extract ") + kind + " --output out random.smc");
    ASSERT_EQ(run.status, 0) << kind;
    for (const std::string& line : Complaints(run)) lines.push_back(line);
  }
  const fs::path out = folder.path() / "out";
  const std::vector<unsigned char> stored(image.begin() + 0x39A1DC, image.begin() + 0x39A1DC + 256);
  const std::vector<std::string> palettes = FilesLike(out, "palette-0x", ".bin");
  EXPECT_EQ(palettes.size(), 228u);
  for (const std::string& name : palettes) EXPECT_EQ(ReadFile(out / name), stored) << name;
  EXPECT_EQ(FilesLike(out, "palette-0x", ".gpl").size(), 228u);
  // Every level has its tile-set sheet, and its tile map or one line that names it.
  for (int id = 0; id <= 229; ++id) {
    if (id == 0x5C || id == 0x5E) continue;
    char level[32];
    std::snprintf(level, sizeof level, "level 0x%02X", id);
    const bool map = fs::exists(out / Name("tilemap", id, ".bin"));
    EXPECT_EQ(CountContaining(lines, level), map ? 0u : 1u) << level;
    EXPECT_TRUE(fs::exists(out / Name("tileset", id, ".png"))) << level;
  }
  EXPECT_TRUE(FilesLike(out, "sprite-0x", "").empty());
  EXPECT_EQ(CountContaining(lines, "sprite"), 0u);
  EXPECT_TRUE(FilesLike(out, ".", "").empty());
}

}  // namespace
