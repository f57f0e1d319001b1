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

namespace {

// The PLTE entries (0xRRGGBB) of a PNG file, read chunk by chunk.
std::vector<std::uint32_t> PngColours(const Bytes& png) {
  std::vector<std::uint32_t> colours;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::size_t n = static_cast<std::size_t>(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
    if (std::string(png.begin() + static_cast<long>(at) + 4, png.begin() + static_cast<long>(at) + 8) == "PLTE")
      for (std::size_t i = 0; i + 2 < n && at + 8 + i + 2 < png.size(); i += 3)
        colours.push_back(static_cast<std::uint32_t>(png[at + 8 + i]) << 16 | png[at + 9 + i] << 8 | png[at + 10 + i]);
    at += 12 + n;
  }
  return colours;
}

void SetWord(Bytes& bytes, std::size_t at, unsigned w) {
  bytes[at] = static_cast<unsigned char>(w), bytes[at + 1] = static_cast<unsigned char>(w >> 8);
}

// A GIMP palette of `count` colours, the first 128 those of `palette` (128 words as stored).
std::string Gpl(const Bytes& palette, int count, const std::string& head = "GIMP Palette\n", bool alpha = false) {
  std::string text = head;
  for (int i = 0; i < count; ++i) {
    const unsigned c = i < 128 ? WordAt(palette, 2 * static_cast<std::size_t>(i)) : 0;
    text += std::to_string((c & 31) * 8) + " " + std::to_string((c >> 5 & 31) * 8) + " " +
            std::to_string((c >> 10 & 31) * 8) + (alpha ? " 255" : "") + "\tcolour\n";
  }
  return text;
}

// The import refuses or skips what would harm the image and says why, one case a row. Every case
// imports a folder of its own into an image edited since the extraction (colour 5 of level 0x16's
// palette), so that a file as extracted differs from the image.
class ImportCasesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    demo_ = new DemoImage(BuildDemoImage(1));
    folder_ = new TempFolder("import-cases");
    PlaceDemo(*demo_, folder_->path());
    for (const char* kind : {"gfx", "tilemaps", "palettes", "tileset-data"})
      ASSERT_EQ(Qbrre(folder_->path(), std::string("--extract ") + kind + " --output out demo.smc").status, 0);
    edited_ = new Bytes(demo_->rom);
    SetWord(*edited_, static_cast<std::size_t>(demo_->Level(0x16)->paletteOffset) + 10, 0x1234);
    WriteFile(folder_->path() / "edited.smc", *edited_);
  }
  static void TearDownTestSuite() {
    delete edited_;
    delete folder_;
    delete demo_;
  }
  static Bytes Extracted(const std::string& name) { return ReadFile(folder_->path() / "out" / name); }

  static DemoImage* demo_;
  static TempFolder* folder_;
  static Bytes* edited_;
};
DemoImage* ImportCasesTest::demo_ = nullptr;
TempFolder* ImportCasesTest::folder_ = nullptr;
Bytes* ImportCasesTest::edited_ = nullptr;

TEST_F(ImportCasesTest, ConflictsShortFilesPalettesCaseAndManifest) {
  const DemoImage& demo = *demo_;
  const DemoArchetype& a0 = demo.archetypes.front();
  const std::size_t chars = a0.characters.size() / 32;
  // Levels 0x00 and 0x01 are not built: they share the default palette and one map.
  const Bytes palette00 = Extracted("palette-0x00.bin"), map00 = Extracted("tilemap-0x00.bin");
  ASSERT_EQ(palette00, Extracted("palette-0x01.bin"));
  ASSERT_EQ(map00, Extracted("tilemap-0x01.bin"));
  const Bytes palette16 = Extracted("palette-0x16.bin");
  const Bytes sheet = Extracted("gfx-0x00.png");
  const std::vector<std::uint32_t> row = PngColours(sheet);
  ASSERT_EQ(row.size(), 16u);
  // Archetype 0's sheet with its palette reversed and every pixel following its colour.
  TestPng reversed = Sheet(a0.characters);
  reversed.depth = 4;
  reversed.colours.assign(row.rbegin(), row.rend());
  for (std::uint32_t& v : reversed.samples) v = 15 - v;
  TestPng stranger = reversed;
  stranger.colours.push_back(0x123457);
  stranger.samples[2 * 128 + 5] = 16;
  stranger.depth = 8;
  auto with = [](Bytes b, std::size_t at, unsigned w) {
    SetWord(b, at, w);
    return b;
  };
  std::string bom_rgba = Gpl(with(palette16, 18, 0x7C1F), 128, "\xEF\xBB\xBFGIMP Palette\nName: x\nChannels: RGBA\n", true);

  struct File {
    std::string name;
    Bytes bytes;
  };
  struct Case {
    const char* what;
    std::vector<File> files;
    bool manifest;
    const char* options;
    std::vector<std::string> lines;  // each output line starts with this, in name order
    int status;
    bool changes;
  };
  auto text = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
  const std::string same = " would write different bytes to the same place";
  const Case cases[] = {
      {"two levels that share a palette, changed differently",
       {{"palette-0x00.bin", with(palette00, 6, 0x0001)}, {"palette-0x01.bin", with(palette00, 6, 0x0002)}},
       false, "",
       {"palette-0x00.bin: refused: palette-0x01.bin (at 0x", "palette-0x01.bin: refused: palette-0x00.bin (at 0x"},
       1, false},
      {"two levels that share a palette, changed alike",
       {{"palette-0x00.bin", with(palette00, 6, 0x0001)}, {"palette-0x01.bin", with(palette00, 6, 0x0001)}},
       false, "",
       {"palette-0x00.bin: written (", "palette-0x01.bin: written ("},
       0, true},
      {"two levels that share a map, changed differently",
       {{"tilemap-0x00.bin", with(map00, 0, 0x0005)}, {"tilemap-0x01.bin", with(map00, 0, 0x0006)}},
       false, "",
       {"tilemap-0x00.bin: refused: tilemap-0x01.bin (at 0x", "tilemap-0x01.bin: refused: tilemap-0x00.bin (at 0x"},
       1, false},
      {"one name in two cases, different content",
       {{"PALETTE-0x16.BIN", with(palette16, 2, 0x0001)}, {"palette-0x16.bin", with(palette16, 4, 0x0001)}},
       false, "",
       {"PALETTE-0x16.BIN: refused: palette-0x16.bin" + same, "palette-0x16.bin: refused: PALETTE-0x16.BIN" + same},
       1, false},
      {"an upper-case name", {{"TILEMAP-0X16.BIN", with(Extracted("tilemap-0x16.bin"), 4, 0x0003)}}, false, "",
       {"TILEMAP-0X16.BIN: written ("}, 0, true},
      {"empty characters", {{"gfx-0x00.bin", {}}}, false, "",
       {"gfx-0x00.bin: refused: holds 0 characters, the 8x8 graphics of archetype 0x00 " + std::to_string(chars) +
        " characters"},
       1, false},
      {"cut characters", {{"gfx-0x00.bin", Bytes(a0.characters.begin(), a0.characters.begin() + 129)}}, false, "",
       {"gfx-0x00.bin: refused: holds 4 characters and 1 byte, the 8x8 graphics of archetype 0x00 "}, 1, false},
      {"a sheet a row of characters short",
       {{"gfx-0x00.png", MakeTestPng(Sheet(Bytes(a0.characters.begin(), a0.characters.end() - 32 * 16)))}}, false, "",
       {"gfx-0x00.png: refused: holds "}, 1, false},
      {"a tile set short", {{"tileset-0x00.bin", Bytes(32, 0)}}, false, "",
       {"tileset-0x00.bin: refused: holds 32 bytes, the tile set "}, 1, false},
      {"a palette of 127 colours", {{"palette-0x16.gpl", text(Gpl(palette16, 127))}}, false, "",
       {"palette-0x16.gpl: refused: holds 127 colours, a level palette 128"}, 1, false},
      {"a palette of 129 colours", {{"palette-0x16.gpl", text(Gpl(palette16, 129))}}, false, "",
       {"palette-0x16.gpl: refused: holds 129 colours, a level palette 128"}, 1, false},
      {"a palette with a byte-order mark and RGBA channels", {{"palette-0x16.gpl", text(bom_rgba)}}, false, "",
       {"palette-0x16.gpl: written ("}, 0, true},
      {"a sheet whose palette was reordered", {{"gfx-0x00.png", MakeTestPng(reversed)}}, false, "",
       {"gfx-0x00.png: unchanged"}, 0, false},
      {"a sheet with a colour its row does not hold", {{"gfx-0x00.png", MakeTestPng(stranger)}}, false, "",
       {"gfx-0x00.png: refused: pixel (5, 2) has the colour #123457, which is not one of the sheet's 16 palette colours"},
       1, false},
      {"a file as extracted, with the manifest", {{"palette-0x16.bin", palette16}, {"palette-0x16.gpl", Extracted("palette-0x16.gpl")}},
       true, "", {"palette-0x16.bin: unchanged since extraction", "palette-0x16.gpl: unchanged since extraction"}, 0,
       false},
      {"a file as extracted, with the manifest and --all", {{"palette-0x16.bin", palette16}}, true, "--all ",
       {"palette-0x16.bin: written (2 bytes at 0x"}, 0, true},
      {"a file as extracted, without a manifest", {{"palette-0x16.bin", palette16}}, false, "",
       {"palette-0x16.bin: written (2 bytes at 0x"}, 0, true},
      {"a file changed since the extraction, with the manifest", {{"palette-0x16.bin", with(palette16, 20, 0x0421)}},
       true, "", {"palette-0x16.bin: written ("}, 0, true},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path in = folder_->path() / ("case" + std::to_string(++n));
    fs::create_directories(in);
    for (const File& f : c.files) WriteFile(in / f.name, f.bytes);
    if (c.manifest) fs::copy_file(folder_->path() / "out" / "qbrre-extract.txt", in / "qbrre-extract.txt");
    const RunResult run =
        Qbrre(folder_->path(), std::string("--import ") + c.options + in.filename().string() + " --output result.smc edited.smc");
    EXPECT_EQ(run.status, c.status) << run.out;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), c.lines.size()) << run.out;
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].rfind(c.lines[i], 0), 0u) << lines[i];
    const Bytes result = ReadFile(folder_->path() / "result.smc");
    ASSERT_EQ(result.size(), edited_->size());
    EXPECT_EQ(result != *edited_, c.changes);
  }
}

// An empty folder, or one without a file the import takes, is said so: exit 1, nothing written.
TEST(ImportCommandTest, AFolderWithNothingToImportIsSaidSo) {
  const DemoImage demo = BuildDemoImage(1);
  TempFolder folder("import-nothing");
  PlaceDemo(demo, folder.path());
  fs::create_directories(folder.path() / "empty");
  fs::create_directories(folder.path() / "notes");
  WriteFile(folder.path() / "notes" / "notes.txt", {'x'});
  WriteFile(folder.path() / "notes" / "gfx-0x0G.png", {'x'});
  for (const char* dir : {"empty", "notes"}) {
    SCOPED_TRACE(dir);
    const RunResult run = Qbrre(folder.path(), std::string("--import ") + dir + " --output out.smc demo.smc");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    ASSERT_FALSE(run.err.empty());
    EXPECT_NE(run.err.back().find("holds no file to import"), std::string::npos) << run.err.back();
    EXPECT_FALSE(fs::exists(folder.path() / "out.smc"));
  }
}

// A whole folder extracted before the image was edited, put back untouched: the later edits stay,
// byte for byte, and every line says why nothing was written.
TEST(ImportCommandTest, AnUntouchedOldFolderChangesNothing) {
  const DemoImage demo = BuildDemoImage(1);
  TempFolder folder("import-old");
  PlaceDemo(demo, folder.path());
  ASSERT_EQ(Qbrre(folder.path(), "--extract all --output old demo.smc").status, 0);
  // Edits made since: a map word and a colour of level 0x16, one character of archetype 6.
  fs::create_directories(folder.path() / "edit");
  const fs::path old = folder.path() / "old";
  Bytes map = ReadFile(old / "tilemap-0x16.bin");
  SetWord(map, 6, WordAt(map, 6) ^ 0x0401);
  WriteFile(folder.path() / "edit" / "tilemap-0x16.bin", map);
  Bytes palette = ReadFile(old / "palette-0x16.bin");
  SetWord(palette, 30, 0x2A5F);
  WriteFile(folder.path() / "edit" / "palette-0x16.bin", palette);
  ASSERT_EQ(Qbrre(folder.path(), "--import edit --output edited.smc demo.smc").status, 0);
  const Bytes edited = ReadFile(folder.path() / "edited.smc");
  ASSERT_NE(edited, demo.rom);

  const RunResult run = Qbrre(folder.path(), "--import old --output result.smc edited.smc");
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(ReadFile(folder.path() / "result.smc"), edited);
  for (const std::string& line : Lines(run.out)) {
    const std::string outcome = line.substr(line.find(": ") + 2);
    EXPECT_TRUE(outcome == "unchanged" || outcome == "unchanged since extraction") << line;
  }
  EXPECT_EQ(LineOf(run, "tilemap-0x16.bin"), "unchanged since extraction");
  EXPECT_EQ(LineOf(run, "palette-0x16.gpl"), "unchanged since extraction");
}

}  // namespace
