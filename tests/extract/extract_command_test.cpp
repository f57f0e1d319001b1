#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "level/png_indexed.h"
#include "tests/extract/extract_support.h"

namespace {

using namespace extract_test;

std::string Name(const char* prefix, int n, int digits, const char* suffix) {
  char text[64];
  std::snprintf(text, sizeof text, "%s-0x%0*X%s", prefix, digits, n, suffix);
  return text;
}

std::uint32_t Rgba(unsigned c) {
  return 0xFF000000u | ((c & 0x1Fu) << 19) | (((c >> 5) & 0x1Fu) << 11) | (((c >> 10) & 0x1Fu) << 3);
}

constexpr std::uint32_t kClear = 0x00FF00FF;
constexpr unsigned char kPlte[] = {'P', 'L', 'T', 'E'};

bool HiddenLevel(int id) { return id == 0x5C || id == 0x5E; }
constexpr int kViewableLevels = 230 - 2;

// The lines of a run's stderr other than the warning that the image is not the supported one.
std::vector<std::string> Complaints(const RunResult& run) {
  std::vector<std::string> lines;
  for (const std::string& line : run.err)
    if (line.rfind("qbrre: warning:", 0) != 0) lines.push_back(line);
  return lines;
}

// The demo image extracted once with `all`; the tests read the folder.
class ExtractDemoTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    demo_ = new DemoImage(BuildDemoImage(1));
    folder_ = new TempFolder("extract");
    PlaceDemo(*demo_, folder_->path());
    run_ = new RunResult(Qbrre(folder_->path(), "--extract all --output out demo.smc"));
    out_ = folder_->path() / "out";
  }
  static void TearDownTestSuite() {
    delete run_;
    delete folder_;
    delete demo_;
  }
  static DemoImage* demo_;
  static TempFolder* folder_;
  static RunResult* run_;
  static fs::path out_;
};
DemoImage* ExtractDemoTest::demo_ = nullptr;
TempFolder* ExtractDemoTest::folder_ = nullptr;
RunResult* ExtractDemoTest::run_ = nullptr;
fs::path ExtractDemoTest::out_;

TEST_F(ExtractDemoTest, AllWritesEveryKindAndSkipsNothing) {
  ASSERT_EQ(run_->status, 0);
  EXPECT_EQ(Complaints(*run_), std::vector<std::string>{});
  struct Case {
    const char* prefix;
    const char* suffix;
    std::size_t count;
  };
  const std::size_t sprites = 4, archetypes = demo_->archetypes.size();
  const Case cases[] = {
      {"level-0x", ".png", kViewableLevels},   {"tileset-0x", ".png", kViewableLevels},
      {"sprite-0x", ".png", sprites},          {"gfx-0x", ".bin", archetypes}, {"gfx-0x", ".png", archetypes},
      {"tileset-0x", ".bin", archetypes},      {"tilemap-0x", ".bin", kViewableLevels},
      {"palette-0x", ".bin", kViewableLevels}, {"palette-0x", ".gpl", kViewableLevels},
      {"sprite-0x", ".bin", sprites},
  };
  std::size_t total = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(FilesLike(out_, c.prefix, c.suffix).size(), c.count) << c.prefix << "*" << c.suffix;
    total += c.count;
  }
  // Nothing else but the manifest: no temporary file is left behind.
  EXPECT_TRUE(fs::is_regular_file(out_ / "qbrre-extract.txt"));
  EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(out_), fs::directory_iterator())), total + 1);
  EXPECT_FALSE(fs::exists(out_ / "level-0x5C.png"));
  EXPECT_FALSE(fs::exists(out_ / "tilemap-0x5E.bin"));
}

TEST_F(ExtractDemoTest, TerrainsAreTheLevelPicturesOfExport) {
  // Built levels, the level with two maps, and unbuilt levels, which share one picture.
  for (int id : {0x16, 0x27, 0x2E, 0x41, 0x00, 0x5D, 0xE5}) {
    SCOPED_TRACE(id);
    const std::string name = Name("export", id, 2, ".png");
    const RunResult run = Qbrre(folder_->path(), "--export " + std::to_string(id) + " --output " + name + " demo.smc");
    ASSERT_EQ(run.status, 0);
    const std::vector<unsigned char> exported = ReadFile(folder_->path() / name);
    ASSERT_FALSE(exported.empty());
    EXPECT_TRUE(ReadFile(out_ / Name("level", id, 2, ".png")) == exported);
  }
}

TEST_F(ExtractDemoTest, TileMapsHoldTheBuildersMapsColumnByColumn) {
  for (const DemoLevel& level : demo_->levels) {
    SCOPED_TRACE(level.id);
    const std::vector<unsigned char> bytes = ReadFile(out_ / Name("tilemap", level.id, 2, ".bin"));
    ASSERT_EQ(bytes.size(), 2u * level.tile_w * level.tile_h);
    int differing = 0;
    for (int c = 0; c < level.tile_w; ++c)
      for (int r = 0; r < level.tile_h; ++r)
        differing += WordAt(bytes, 2u * (static_cast<std::size_t>(c) * level.tile_h + r)) != level.MapAt(c, r);
    EXPECT_EQ(differing, 0);
  }
}

TEST_F(ExtractDemoTest, PalettesHoldTheBuildersColours) {
  for (const DemoLevel& level : demo_->levels) {
    SCOPED_TRACE(level.id);
    const std::vector<unsigned char> bytes = ReadFile(out_ / Name("palette", level.id, 2, ".bin"));
    ASSERT_EQ(bytes.size(), 256u);
    for (int i = 0; i < 128; ++i) EXPECT_EQ(WordAt(bytes, 2u * i), level.palette[i]) << i;

    std::ifstream gpl(out_ / Name("palette", level.id, 2, ".gpl"));
    std::string line;
    ASSERT_TRUE(std::getline(gpl, line));
    EXPECT_EQ(line, "GIMP Palette");
    std::vector<std::uint32_t> colours;
    while (std::getline(gpl, line)) {
      unsigned r = 0, g = 0, b = 0;
      if (line.empty() || line[0] == '#' || line.find(':') != std::string::npos) continue;
      ASSERT_EQ(std::sscanf(line.c_str(), "%u %u %u", &r, &g, &b), 3) << line;
      colours.push_back(0xFF000000u | r << 16 | g << 8 | b);
    }
    ASSERT_EQ(colours.size(), 128u);
    for (int i = 0; i < 128; ++i) EXPECT_EQ(colours[i], Rgba(level.palette[i])) << i;
  }
}

TEST_F(ExtractDemoTest, TileSetSheetsShowTheBuildersTilesSixteenToARow) {
  for (const DemoLevel& level : demo_->levels) {
    SCOPED_TRACE(level.id);
    const DemoPicture sheet = ReadPngRgba(out_ / Name("tileset", level.id, 2, ".png"));
    const int count = static_cast<int>(level.tiles.size());
    ASSERT_EQ(sheet.w, 16 * 32);
    ASSERT_EQ(sheet.h, (count + 15) / 16 * 32);
    int differing = 0;
    for (int y = 0; y < sheet.h; ++y)
      for (int x = 0; x < sheet.w; ++x) {
        const int t = (y / 32) * 16 + x / 32;
        const std::uint32_t want = t < count ? level.tiles[t].At(x % 32, y % 32) : kClear;
        const std::uint32_t got = sheet.At(x, y);
        // Transparent pixels need only alpha 0; the others their exact colour.
        differing += want == kClear ? (got >> 24) != 0 : got != want;
      }
    EXPECT_EQ(differing, 0);
  }
}

TEST_F(ExtractDemoTest, CharactersAndTileSetDataEqualWhatTheBuilderStored) {
  for (const DemoArchetype& a : demo_->archetypes) {
    SCOPED_TRACE(a.archetype);
    EXPECT_EQ(ReadFile(out_ / Name("gfx", a.archetype, 2, ".bin")), a.characters);
    const std::vector<unsigned char> words = ReadFile(out_ / Name("tileset", a.archetype, 2, ".bin"));
    ASSERT_EQ(words.size(), 2 * a.tileWords.size());
    for (std::size_t k = 0; k < a.tileWords.size(); ++k) ASSERT_EQ(WordAt(words, 2 * k), a.tileWords[k]) << k;
  }
}

TEST_F(ExtractDemoTest, CharacterSheetsAreIndexedInTheMostUsedRowOfTheFirstLevel) {
  for (const DemoArchetype& a : demo_->archetypes) {
    SCOPED_TRACE(a.archetype);
    const std::vector<unsigned char> file = ReadFile(out_ / Name("gfx", a.archetype, 2, ".png"));
    ASSERT_GT(file.size(), 33u);
    EXPECT_EQ(file[24], 4) << "bit depth";
    EXPECT_EQ(file[25], 3) << "colour type";
    IndexedPicture sheet;
    std::string reason;
    ASSERT_TRUE(QBR1_ReadIndexedPng(file.data(), file.size(), 1 << 20, sheet, reason)) << reason;
    const std::size_t count = a.characters.size() / 32;
    ASSERT_EQ(sheet.w, 128);
    ASSERT_EQ(sheet.h, static_cast<int>((count + 15) / 16 * 8));
    int differing = 0;
    for (std::size_t n = 0; n < (count + 15) / 16 * 16; ++n)
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
          int want = 0;
          if (n < count)
            for (int p = 0; p < 4; ++p)
              want |= ((a.characters[32 * n + (p < 2 ? 2 * y + p : 2 * y + 14 + p)] >> (7 - x)) & 1) << p;
          differing += sheet.At(static_cast<int>(n % 16 * 8 + x), static_cast<int>(n / 16 * 8 + y)) != want;
        }
    EXPECT_EQ(differing, 0);
    // The palette: the row the tile words name most, of the first level of the archetype (levels
    // the builder did not make have archetype 0).
    int uses[8] = {};
    for (std::uint16_t w : a.tileWords) ++uses[(w >> 10) & 7];
    const int row = static_cast<int>(std::max_element(uses, uses + 8) - uses);
    int first = 0;
    while (HiddenLevel(first) || (demo_->Level(first) ? demo_->Level(first)->archetype : 0) != a.archetype) ++first;
    const std::vector<unsigned char> palette = ReadFile(out_ / Name("palette", first, 2, ".bin"));
    const auto plte = std::search(file.begin(), file.end(), std::begin(kPlte), std::end(kPlte));
    ASSERT_NE(plte, file.end());
    for (int i = 0; i < 16; ++i) {
      const std::uint32_t want = Rgba(WordAt(palette, 2u * (16 * row + i))) & 0xFFFFFF;
      const auto at = plte + 4 + 3 * i;
      EXPECT_EQ(static_cast<std::uint32_t>(at[0] << 16 | at[1] << 8 | at[2]), want) << i;
    }
  }
}

// Every sprite an object draws, with the picture of its first use (level order, then map order).
std::map<int, const DemoObject*> FirstUses(const DemoImage& demo) {
  std::map<int, const DemoObject*> first;
  for (const DemoLevel& level : demo.levels)
    for (const DemoObject& o : level.objects)
      if (o.spr != 0) first.try_emplace(o.spr, &o);
  return first;
}

// The smallest rectangle around the picture's visible pixels: x, y, w, h.
std::array<int, 4> VisibleBox(const DemoPicture& p) {
  int x0 = p.w, y0 = p.h, x1 = -1, y1 = -1;
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x)
      if (p.At(x, y) != kClear) x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
  return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

TEST_F(ExtractDemoTest, SpritesAreCroppedInThePaletteOfTheirFirstUse) {
  const auto first = FirstUses(*demo_);
  ASSERT_EQ(first.size(), 4u);
  std::vector<std::string> want_png, want_bin;
  for (const auto& [spr, object] : first) {
    SCOPED_TRACE(spr);
    want_png.push_back(Name("sprite", spr, 4, ".png"));
    want_bin.push_back(Name("sprite", spr, 4, ".bin"));
    const auto [bx, by, bw, bh] = VisibleBox(object->sprite);
    const DemoPicture got = ReadPngRgba(out_ / want_png.back());
    ASSERT_EQ(got.w, bw);
    ASSERT_EQ(got.h, bh);
    const std::vector<unsigned char> bin = ReadFile(out_ / want_bin.back());
    ASSERT_EQ(bin.size(), 4u + static_cast<std::size_t>(bw) * bh);
    EXPECT_EQ(WordAt(bin, 0), static_cast<unsigned>(bw));
    EXPECT_EQ(WordAt(bin, 2), static_cast<unsigned>(bh));
    int differing = 0;
    for (int y = 0; y < bh; ++y)
      for (int x = 0; x < bw; ++x) {
        const std::uint32_t want = object->sprite.At(bx + x, by + y);
        const unsigned index = bin[4 + static_cast<std::size_t>(y) * bw + x];
        // The index names the colour the builder stored at the first use's palette.
        const std::uint32_t of_index =
            index == 0 ? kClear : Rgba(WordAt(demo_->rom, static_cast<std::size_t>(object->pal) + 2 * (index - 1)));
        differing += want == kClear ? (got.At(x, y) >> 24) != 0 : got.At(x, y) != want;
        differing += of_index != want || index > 15;
      }
    EXPECT_EQ(differing, 0);
  }
  EXPECT_EQ(FilesLike(out_, "sprite-0x", ".png"), want_png);
  EXPECT_EQ(FilesLike(out_, "sprite-0x", ".bin"), want_bin);
}

TEST(ExtractCommandTest, EachKindWritesOnlyItsOwnFiles) {
  const DemoImage demo = BuildDemoImage(1);
  TempFolder folder("extract-kinds");
  PlaceDemo(demo, folder.path());
  struct Case {
    const char* kind;
    std::vector<std::pair<std::string, std::string>> patterns;  // prefix, suffix
    std::size_t files;
  };
  const Case cases[] = {
      {"terrains", {{"level-0x", ".png"}}, kViewableLevels},
      {"tilesets", {{"tileset-0x", ".png"}}, kViewableLevels},
      {"sprites", {{"sprite-0x", ".png"}}, 4},
      {"gfx", {{"gfx-0x", ".bin"}, {"gfx-0x", ".png"}}, 8},
      {"tileset-data", {{"tileset-0x", ".bin"}}, 4},
      {"tilemaps", {{"tilemap-0x", ".bin"}}, kViewableLevels},
      {"palettes", {{"palette-0x", ".bin"}, {"palette-0x", ".gpl"}}, 2 * kViewableLevels},
      {"sprite-data", {{"sprite-0x", ".bin"}}, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const std::string out = std::string("out-") + c.kind;
    const RunResult run = Qbrre(folder.path(), std::string("--extract ") + c.kind + " --output " + out + " demo.smc");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(Complaints(run), std::vector<std::string>{});
    std::size_t matching = 0;
    for (const auto& [prefix, suffix] : c.patterns) matching += FilesLike(folder.path() / out, prefix, suffix).size();
    EXPECT_EQ(matching, c.files);
    // The files and the manifest.
    EXPECT_EQ(
        static_cast<std::size_t>(std::distance(fs::directory_iterator(folder.path() / out), fs::directory_iterator())),
        c.files + 1);
  }
}

TEST(ExtractCommandTest, Failures) {
  const DemoImage demo = BuildDemoImage(1);
  TempFolder folder("extract-failures");
  PlaceDemo(demo, folder.path());
  WriteFile(folder.path() / "plain-file", {1, 2, 3});
  struct Case {
    const char* args;
    const char* says;
  };
  const Case cases[] = {
      {"--extract pictures --output x demo.smc", "is not something to extract"},
      {"--extract all --output x missing.smc", "cannot read ROM image"},
      {"--extract all --output plain-file demo.smc", "cannot write to the folder"},
      {"--extract all x y demo.smc", "needs --output"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const RunResult run = Qbrre(folder.path(), c.args);
    EXPECT_NE(run.status, 0);
    const std::vector<std::string> lines = Complaints(run);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].find(c.says), std::string::npos) << lines[0];
  }
  EXPECT_EQ(ReadFile(folder.path() / "plain-file"), (std::vector<unsigned char>{1, 2, 3}));
  EXPECT_FALSE(fs::exists(folder.path() / "x"));  // no folder for a run that wrote nothing
}

TEST(ExtractCommandTest, AFileThatCannotBeWrittenEndsTheRunWithOneError) {
  const DemoImage demo = BuildDemoImage(1);
  TempFolder folder("extract-refused");
  PlaceDemo(demo, folder.path());
  // A folder in the place of the third file: it cannot be replaced by a file.
  fs::create_directories(folder.path() / "out" / "palette-0x01.bin" / "inside");
  const RunResult run = Qbrre(folder.path(), "--extract palettes --output out demo.smc");
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> lines = Complaints(run);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("cannot write \""), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("palette-0x01.bin"), std::string::npos) << lines[0];
  // What came before stays; the run wrote nothing after it and left no temporary file.
  const std::vector<std::string> bins = {"palette-0x00.bin", "palette-0x01.bin"}, gpls = {"palette-0x00.gpl"};
  EXPECT_EQ(FilesLike(folder.path() / "out", "palette-0x", ".bin"), bins);
  EXPECT_EQ(FilesLike(folder.path() / "out", "palette-0x", ".gpl"), gpls);
  EXPECT_EQ(FilesLike(folder.path() / "out", ".", "").size(), 0u);
  EXPECT_TRUE(fs::is_directory(folder.path() / "out" / "palette-0x01.bin" / "inside"));
}

// A name of the output folder that is a symbolic link is written through (the link stays, the file it
// names gets the content); one that reaches the image being read ends the run before it is written.
TEST(ExtractCommandTest, LinksAreWrittenThroughButNeverOverTheImage) {
  const DemoImage demo = BuildDemoImage(1);
  TempFolder folder("extract-links");
  PlaceDemo(demo, folder.path());
  WriteFile(folder.path() / "mine.bin", {1, 2, 3});
  fs::create_directories(folder.path() / "out");
  fs::create_symlink("../mine.bin", folder.path() / "out" / "palette-0x00.bin");
  fs::create_symlink("../demo.smc", folder.path() / "out" / "palette-0x01.bin");
  const RunResult run = Qbrre(folder.path(), "--extract palettes --output out demo.smc");
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> lines = Complaints(run);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("palette-0x01.bin\": it is the input \"demo.smc\""), std::string::npos) << lines[0];
  EXPECT_EQ(ReadFile(folder.path() / "demo.smc"), demo.rom);
  EXPECT_TRUE(fs::is_symlink(folder.path() / "out" / "palette-0x00.bin"));
  EXPECT_TRUE(fs::is_symlink(folder.path() / "out" / "palette-0x01.bin"));
  EXPECT_EQ(ReadFile(folder.path() / "mine.bin").size(), 256u);  // the level's 128 colour words
  EXPECT_EQ(FilesLike(folder.path() / "out", ".", "").size(), 0u);
}

}  // namespace
