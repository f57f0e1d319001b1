#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "bfa/bfa.h"
#include "tests/extract/extract_support.h"

// What the commands without a window write: --import decides the copier header as Open does and
// prints its lines once its output is in place; a file size limit fails a write with a message.

namespace {

using namespace extract_test;
using Bytes = std::vector<unsigned char>;

// Level 0x16's palette as palette-0x16.bin holds it, with one byte changed.
Bytes ChangedPalette(const DemoImage& demo) {
  const DemoLevel& level = *demo.Level(0x16);
  Bytes palette(256);
  for (int i = 0; i < 128; ++i) palette[2 * i] = level.palette[i] & 0xFF, palette[2 * i + 1] = level.palette[i] >> 8;
  palette[2 * 7] ^= 0x21;
  return palette;
}

std::vector<std::size_t> Differences(const Bytes& a, const Bytes& b) {
  std::vector<std::size_t> at;
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    if (a[i] != b[i]) at.push_back(i);
  return at;
}

// A file of whole 32 KiB blocks plus 512 bytes whose whole checksum is known (an entry of saved images
// names it) is an image with 512 bytes at its end, not one behind a copier header: the import writes
// at the image's own offsets, the ones its line names. The same bytes in front of the image are a
// header, and everything moves by 512.
TEST(ImportHeaderTest, TheWholeFilesChecksumDecidesAsOpenDoes) {
  const DemoImage demo = BuildDemoImage(1);
  ASSERT_EQ(demo.rom.size() % 0x8000, 0u);
  const std::size_t offset = static_cast<std::size_t>(demo.Level(0x16)->paletteOffset) + 14;
  char line[64];
  std::snprintf(line, sizeof line, "palette-0x16.bin: written (1 byte at 0x%06zX)\n", offset);
  struct Case {
    const char* name;
    bool header_in_front;
    std::size_t at;
  };
  for (const Case& c : {Case{"known file with 512 bytes at its end", false, offset},
                        Case{"header in front of the image", true, offset + 512}}) {
    SCOPED_TRACE(c.name);
    TempFolder folder("import-header");
    PlaceDemo(demo, folder.path());
    Bytes file = demo.rom;
    file.insert(c.header_in_front ? file.begin() : file.end(), 512, 0xEE);
    WriteFile(folder.path() / "game.smc", file);
    if (!c.header_in_front) {
      const unsigned long crc = CharArray_Get_CRC32(reinterpret_cast<const char*>(file.data()), static_cast<int>(file.size()));
      char entry[64];
      std::snprintf(entry, sizeof entry, "[EditedImages]\n%08lX = QBR v10U.INI\n", crc);
      std::ofstream(folder.path() / "Configuration.INI") << entry;
    }
    fs::create_directories(folder.path() / "in");
    WriteFile(folder.path() / "in" / "palette-0x16.bin", ChangedPalette(demo));
    const RunResult run = Qbrre(folder.path(), "--import in --output out.smc game.smc");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, line);
    const Bytes out = ReadFile(folder.path() / "out.smc");
    ASSERT_EQ(out.size(), file.size());
    EXPECT_EQ(Differences(out, file), std::vector<std::size_t>{c.at});
  }
}

// Under a file size limit (ulimit -f) smaller than their output, the commands say they could not
// write it, end with a non-zero status (not killed by the limit's signal) and leave no temporary file;
// --import prints no line that claims a write.
TEST(FileSizeLimitTest, ACommandReportsTheFailedWriteAndLeavesNoTemporaryFile) {
  const DemoImage demo = BuildDemoImage(1);
  TempFolder folder("file-size-limit");
  PlaceDemo(demo, folder.path());
  fs::create_directories(folder.path() / "in");
  WriteFile(folder.path() / "in" / "palette-0x16.bin", ChangedPalette(demo));
  ASSERT_EQ(Qbrre(folder.path(), "--make-ips demo.smc demo.smc --output same.ips").status, 0);
  struct Case {
    const char* args;
    const char* says;
  };
  const Case cases[] = {
      {"--import in --output out.smc demo.smc", "nothing was written"},
      {"--apply-ips same.ips demo.smc --output out.smc", "out.smc"},
      {"--export 0x16 --output out.png demo.smc", "out.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    // The limit is the test's own while the program runs; the program and the shell inherit it.
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit limit{4096, before.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    const RunResult run = Qbrre(folder.path(), c.args);
    setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_GT(run.status, 0);  // -1 when a signal ended it
    EXPECT_EQ(run.out, "");
    ASSERT_FALSE(run.err.empty());
    const std::string& said = run.err.back();
    EXPECT_NE(said.find("cannot write"), std::string::npos) << said;
    EXPECT_NE(said.find(c.says), std::string::npos) << said;
    EXPECT_EQ(FilesLike(folder.path(), ".qbrre-save-", "").size(), 0u);
    EXPECT_FALSE(fs::exists(folder.path() / "out.smc"));
    EXPECT_FALSE(fs::exists(folder.path() / "out.png"));
  }
}

}  // namespace
