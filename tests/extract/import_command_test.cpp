#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "codec/char_codec.h"
#include "demo/demo_art.h"
#include "tests/common/test_png.h"
#include "tests/extract/extract_support.h"

// --import: an extracted folder goes back into the image; only what a changed file describes changes.

namespace {

using namespace extract_test;
using Bytes = std::vector<unsigned char>;

std::string Name(const char* prefix, int n, const char* suffix) {
  char text[64];
  std::snprintf(text, sizeof text, "%s-0x%02X%s", prefix, n, suffix);
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The line of `file` in a run's output ("" when there is none).
std::string LineOf(const RunResult& run, const std::string& file) {
  for (const std::string& line : Lines(run.out))
    if (line.rfind(file + ": ", 0) == 0) return line.substr(file.size() + 2);
  return "";
}

// Pixel (x, y) of character n of planar characters.
int PixelOf(const Bytes& chars, std::size_t n, int x, int y) {
  const unsigned char* c = chars.data() + 32 * n;
  const int bit = 7 - x;
  return ((c[2 * y] >> bit) & 1) | ((c[2 * y + 1] >> bit) & 1) << 1 | ((c[2 * y + 16] >> bit) & 1) << 2 |
         ((c[2 * y + 17] >> bit) & 1) << 3;
}

// The sheet of characters as the exchange folder lays it out: 16 to a row, 8-bit indexes.
TestPng Sheet(const Bytes& chars) {
  const std::size_t count = chars.size() / 32;
  TestPng png;
  png.w = 128;
  png.h = static_cast<int>((count + 15) / 16 * 8);
  png.samples.assign(static_cast<std::size_t>(png.w) * png.h, 0);
  for (std::size_t n = 0; n < count; ++n)
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        png.samples[(n / 16 * 8 + y) * 128 + n % 16 * 8 + x] = static_cast<std::uint32_t>(PixelOf(chars, n, x, y));
  return png;
}

// Characters of a sheet (whole rows of them).
Bytes Characters(const TestPng& png, std::size_t count) {
  Bytes chars(32 * count, 0);
  for (std::size_t n = 0; n < count; ++n)
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        const unsigned v = png.samples[(n / 16 * 8 + y) * 128 + n % 16 * 8 + x];
        for (int p = 0; p < 4; ++p)
          chars[32 * n + (p < 2 ? 2 * y + p : 2 * y + 16 + p - 2)] |= static_cast<unsigned char>(((v >> p) & 1) << (7 - x));
      }
  return chars;
}

Bytes Decompress(const Bytes& rom, long at, CharBlockEnd* end = nullptr) {
  Bytes out;
  const CharBlockEnd e = QBR1_DecompressCharacters(rom.data() + at, rom.size() - static_cast<std::size_t>(at), out);
  if (end) *end = e;
  return out;
}

// Offsets at which two images differ.
std::vector<std::size_t> Differences(const Bytes& a, const Bytes& b) {
  std::vector<std::size_t> at;
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    if (a[i] != b[i]) at.push_back(i);
  return at;
}

// A demo or generated image extracted with `all`, in a folder of the test's own. The extraction takes
// seconds under the sanitizers, so it runs once per image for the suite and each test gets a copy.
class ImportTest : public ::testing::TestWithParam<std::uint32_t> {
 protected:
  struct Extracted {
    DemoImage demo;
    std::unique_ptr<TempFolder> folder;
  };
  static void TearDownTestSuite() { extracted_.clear(); }
  void SetUp() override {
    Extracted& shared = extracted_[GetParam()];
    if (shared.folder == nullptr) {
      shared.demo = BuildDemoImage(GetParam());
      auto made = std::make_unique<TempFolder>("import-all");
      PlaceDemo(shared.demo, made->path());
      ASSERT_EQ(Qbrre(made->path(), "--extract all --output out demo.smc").status, 0);
      shared.folder = std::move(made);
    }
    demo = shared.demo;
    folder = std::make_unique<TempFolder>("import");
    PlaceDemo(demo, folder->path());
    out = folder->path() / "out";
    fs::copy(shared.folder->path() / "out", out, fs::copy_options::recursive);
  }
  // A copy of the extracted folder named `name`.
  fs::path CopyOut(const std::string& name) {
    const fs::path copy = folder->path() / name;
    fs::copy(out, copy, fs::copy_options::recursive);
    return copy;
  }
  DemoImage demo;
  std::unique_ptr<TempFolder> folder;
  fs::path out;
  static std::map<std::uint32_t, Extracted> extracted_;
};
std::map<std::uint32_t, ImportTest::Extracted> ImportTest::extracted_;

TEST_P(ImportTest, TheUntouchedFolderGivesTheInputBack) {
  const RunResult run = Qbrre(folder->path(), "--import out --output same.smc demo.smc");
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(ReadFile(folder->path() / "same.smc"), demo.rom);
  const std::vector<std::string> lines = Lines(run.out);
  // Characters (.png and .bin) and tile sets of each archetype, maps and palettes (.bin, .gpl) of each level.
  EXPECT_EQ(lines.size(), 3 * demo.archetypes.size() + 3 * (230 - 2));
  for (const std::string& line : lines) EXPECT_NE(line.find(": unchanged"), std::string::npos) << line;
}

TEST_P(ImportTest, OnlyWhatTheChangedFilesDescribeChanges) {
  const fs::path changed = CopyOut("changed");
  // One pixel of archetype 0's sheet: the first change whose characters still fit the stored block.
  const DemoArchetype& a = demo.archetypes.front();
  ASSERT_EQ(a.archetype, 0);
  CharBlockEnd stored;
  ASSERT_EQ(Decompress(demo.rom, a.gfx, &stored), a.characters);
  TestPng sheet = Sheet(a.characters);
  Bytes chars;
  for (std::size_t p = 64; p < sheet.samples.size(); ++p) {
    TestPng trial = sheet;
    trial.samples[p] = (trial.samples[p] + 1) % 16;
    chars = Characters(trial, a.characters.size() / 32);
    if (chars != a.characters && QBR1_CompressCharacters(chars).size() <= stored.length) {
      sheet = trial;
      break;
    }
  }
  ASSERT_NE(chars, a.characters);
  WriteFile(changed / Name("gfx", 0, ".png"), MakeTestPng(sheet));
  // One word of level 0x16's map (column 3, row 5), and colour 20 of its palette.
  const DemoLevel& level = *demo.Level(0x16);
  Bytes map = ReadFile(changed / Name("tilemap", 0x16, ".bin"));
  const std::size_t k = 2 * (3 * static_cast<std::size_t>(level.tile_h) + 5);
  const unsigned word = (WordAt(map, k) + 0x4001) & 0xFFFF;
  map[k] = static_cast<unsigned char>(word), map[k + 1] = static_cast<unsigned char>(word >> 8);
  WriteFile(changed / Name("tilemap", 0x16, ".bin"), map);
  std::ifstream gpl(changed / Name("palette", 0x16, ".gpl"));
  std::stringstream text;
  int colour = -1;
  for (std::string line; std::getline(gpl, line);) {
    if (line.find("palette 1 colour 4") != std::string::npos) line = "  8 200  99\tchanged", colour = 20;
    text << line << "\n";
  }
  gpl.close();
  ASSERT_EQ(colour, 20);
  std::ofstream(changed / Name("palette", 0x16, ".gpl"), std::ios::binary) << text.str();

  const RunResult run = Qbrre(folder->path(), "--import changed --output new.smc demo.smc");
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(ReadFile(folder->path() / "demo.smc"), demo.rom) << "the ROM itself is left alone";
  const Bytes result = ReadFile(folder->path() / "new.smc");
  ASSERT_EQ(result.size(), demo.rom.size());
  EXPECT_EQ(LineOf(run, Name("gfx", 0, ".png")).rfind("written (", 0), 0u) << run.out;
  EXPECT_EQ(LineOf(run, Name("gfx", 0, ".bin")), "unchanged");
  EXPECT_EQ(LineOf(run, Name("tilemap", 0x16, ".bin")), "written (2 bytes at 0x" + [&] {
    char t[16];
    std::snprintf(t, sizeof t, "%06lX", level.mapOffset + 2L * (16 * 3 + 5));
    return std::string(t);
  }() + ")");
  EXPECT_EQ(LineOf(run, Name("palette", 0x16, ".bin")), "unchanged");

  // The decoded characters, the map word and the palette word are the changed files' ...
  EXPECT_EQ(Decompress(result, a.gfx), chars);
  const std::size_t map_at = static_cast<std::size_t>(level.mapOffset) + 2 * (16 * 3 + 5);
  EXPECT_EQ(WordAt(result, map_at), word);
  const std::size_t colour_at = static_cast<std::size_t>(level.paletteOffset) + 2 * 20;
  EXPECT_EQ(WordAt(result, colour_at), (1u | 25u << 5 | 12u << 10) | (level.palette[20] & 0x8000u));
  // ... and nothing else differs: the bytes of that graphics block, that map word and that colour only.
  for (std::size_t at : Differences(result, demo.rom)) {
    const bool in_block = at >= static_cast<std::size_t>(a.gfx) && at < a.gfx + stored.length;
    EXPECT_TRUE(in_block || at == map_at || at == map_at + 1 || at == colour_at || at == colour_at + 1) << at;
  }
  // The other archetypes' identical characters stay where they are.
  for (const DemoArchetype& other : demo.archetypes)
    if (other.archetype != 0 && (other.archetype & 15) != 12) {
      EXPECT_EQ(Decompress(result, other.gfx), other.characters);
    }

  // Importing into the ROM itself replaces it with the same result.
  const RunResult in_place = Qbrre(folder->path(), "--import changed --output demo.smc demo.smc");
  EXPECT_EQ(in_place.status, 0) << in_place.out;
  EXPECT_EQ(ReadFile(folder->path() / "demo.smc"), result);
}

INSTANTIATE_TEST_SUITE_P(DemoAndGenerated, ImportTest, ::testing::Values(1u, 3u));

TEST(ImportCommandTest, RefusedFilesChangeNothingAndTheOthersGoIn) {
  const DemoImage demo = BuildDemoImage(1);
  TempFolder folder("import-refused");
  PlaceDemo(demo, folder.path());
  const fs::path in = folder.path() / "in";
  fs::create_directories(in);
  const DemoArchetype& a0 = demo.archetypes[0];
  TestPng sheet = Sheet(a0.characters);
  // A sheet too narrow; a pixel value of 16; a map too short; characters that do not fit once compressed.
  TestPng narrow = sheet;
  narrow.w = 120, narrow.samples.resize(static_cast<std::size_t>(120) * narrow.h);
  WriteFile(in / Name("gfx", 0x00, ".png"), MakeTestPng(narrow));
  TestPng sixteen = sheet;
  sixteen.samples[3 * 128 + 9] = 16;
  sixteen.palette_size = 17;
  WriteFile(in / Name("gfx", 0x06, ".png"), MakeTestPng(sixteen));
  WriteFile(in / Name("tilemap", 0x16, ".bin"), Bytes(10, 1));
  Bytes noise(a0.characters.size());
  DemoRng rng(9);
  for (unsigned char& b : noise) b = static_cast<unsigned char>(rng.Next());
  WriteFile(in / Name("gfx", 0x07, ".bin"), noise);
  // And one file that goes in: a palette word of level 0x16.
  const DemoLevel& level = *demo.Level(0x16);
  Bytes palette(256);
  for (int i = 0; i < 128; ++i) palette[2 * i] = level.palette[i] & 0xFF, palette[2 * i + 1] = level.palette[i] >> 8;
  palette[2 * 7] ^= 0x21;
  WriteFile(in / Name("palette", 0x16, ".bin"), palette);
  // Not an exchange file: not read, no line.
  WriteFile(in / "notes.txt", {'x'});

  const RunResult run = Qbrre(folder.path(), "--import in --output out.smc demo.smc");
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> want = {
      "gfx-0x00.png: refused: the picture is 120 pixels wide, a character sheet 128",
      "gfx-0x06.png: refused: pixel (9, 3) has the value 16; characters hold 0-15",
      "gfx-0x07.bin: refused: needs ",
      "palette-0x16.bin: written (1 byte at 0x",
      "tilemap-0x16.bin: refused: holds 10 bytes, the level's map of ",
  };
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), want.size()) << run.out;
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(lines[i].rfind(want[i], 0), 0u) << lines[i];
  EXPECT_NE(lines[2].find(" bytes, the original holds "), std::string::npos) << lines[2];
  const Bytes result = ReadFile(folder.path() / "out.smc");
  const std::vector<std::size_t> changed = Differences(result, demo.rom);
  EXPECT_EQ(changed, std::vector<std::size_t>{static_cast<std::size_t>(level.paletteOffset) + 14});
}

TEST(ImportCommandTest, APreferredFormWinsOverADifferentBin) {
  const DemoImage demo = BuildDemoImage(1);
  TempFolder folder("import-pairs");
  PlaceDemo(demo, folder.path());
  const fs::path in = folder.path() / "in";
  fs::create_directories(in);
  const DemoLevel& level = *demo.Level(0x16);
  Bytes bin(256);
  for (int i = 0; i < 128; ++i) bin[2 * i] = level.palette[i] & 0xFF, bin[2 * i + 1] = level.palette[i] >> 8;
  bin[2] ^= 1;  // colour 1 differs in the .bin ...
  WriteFile(in / Name("palette", 0x16, ".bin"), bin);
  std::string gpl = "GIMP Palette\n";
  for (int i = 0; i < 128; ++i) {
    const unsigned c = i == 2 ? 0x7FFF : level.palette[i];  // ... and colour 2 in the .gpl
    gpl += std::to_string((c & 31) * 8) + " " + std::to_string((c >> 5 & 31) * 8) + " " + std::to_string((c >> 10 & 31) * 8) + "\n";
  }
  std::ofstream(in / Name("palette", 0x16, ".gpl"), std::ios::binary) << gpl;
  const RunResult run = Qbrre(folder.path(), "--import in --output out.smc demo.smc");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(LineOf(run, "palette-0x16.bin"), "refused: palette-0x16.gpl differs from it and wins");
  const std::string gpl_line = LineOf(run, "palette-0x16.gpl");
  EXPECT_EQ(gpl_line.rfind("written (2 bytes at 0x", 0), 0u) << gpl_line;
  EXPECT_NE(gpl_line.find("; palette-0x16.bin differs from it and was left out"), std::string::npos) << gpl_line;
  const Bytes result = ReadFile(folder.path() / "out.smc");
  EXPECT_EQ(WordAt(result, static_cast<std::size_t>(level.paletteOffset) + 4), 0x7FFFu | (level.palette[2] & 0x8000u));
  EXPECT_EQ(WordAt(result, static_cast<std::size_t>(level.paletteOffset) + 2), level.palette[1]);
}

TEST(ImportCommandTest, Failures) {
  const DemoImage demo = BuildDemoImage(1);
  TempFolder folder("import-failures");
  PlaceDemo(demo, folder.path());
  struct Case {
    const char* args;
    const char* says;
  };
  const Case cases[] = {
      {"--import missing --output out.smc demo.smc", "cannot read the folder"},
      {"--import . --output out.smc missing.smc", "cannot read ROM image"},
      {"--import . x out.smc demo.smc", "needs --output"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const RunResult run = Qbrre(folder.path(), c.args);
    EXPECT_NE(run.status, 0);
    ASSERT_FALSE(run.err.empty());
    const std::string& line = run.err[0].rfind("qbrre: warning:", 0) == 0 && run.err.size() > 1 ? run.err[1] : run.err[0];
    EXPECT_NE(line.find(c.says), std::string::npos) << line;
  }
  EXPECT_FALSE(fs::exists(folder.path() / "out.smc"));
  EXPECT_EQ(ReadFile(folder.path() / "demo.smc"), demo.rom);
}

// OUT may be the image itself, never a file of the folder the import reads (under any name): refused
// before anything is printed or written.
TEST(ImportCommandTest, OutputThatIsAnImportedFileIsRefused) {
  const DemoImage demo = BuildDemoImage(1);
  TempFolder folder("import-output");
  PlaceDemo(demo, folder.path());
  ASSERT_EQ(Qbrre(folder.path(), "--extract palettes --output out demo.smc").status, 0);
  const Bytes palette = ReadFile(folder.path() / "out" / "palette-0x16.gpl");
  ASSERT_FALSE(palette.empty());
  fs::create_symlink("out/palette-0x16.gpl", folder.path() / "link.gpl");
  for (const char* output : {"out/palette-0x16.gpl", "out/../out/palette-0x16.gpl", "link.gpl"}) {
    SCOPED_TRACE(output);
    const RunResult run = Qbrre(folder.path(), std::string("--import out --output ") + output + " demo.smc");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    ASSERT_FALSE(run.err.empty());
    EXPECT_NE(run.err.back().find("is the input"), std::string::npos) << run.err.back();
    EXPECT_EQ(ReadFile(folder.path() / "out" / "palette-0x16.gpl"), palette);
  }
  EXPECT_TRUE(fs::is_symlink(folder.path() / "link.gpl"));
  const RunResult in_place = Qbrre(folder.path(), "--import out --output demo.smc demo.smc");
  EXPECT_EQ(in_place.status, 0);
  EXPECT_EQ(ReadFile(folder.path() / "demo.smc"), demo.rom);
}

}  // namespace
