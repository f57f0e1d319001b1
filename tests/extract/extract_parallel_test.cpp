#include <gtest/gtest.h>

#include <map>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "extract/extract.h"
#include "platform/config_lock.h"
#include "rom/globaldata.h"
#include "platform/allegro_include.h"
#include "tests/common/headless_allegro.h"
#include "tests/extract/extract_support.h"

// An extraction on several worker threads writes the same files, byte for
// byte, and reports the same lines in the same order as one worker does.

namespace {

using namespace extract_test;

// Every file of a folder with its bytes.
std::map<std::string, std::vector<unsigned char>> Contents(const fs::path& folder) {
  std::map<std::string, std::vector<unsigned char>> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadFile(entry.path());
  return files;
}

// An image in channel 0x10 with the demo's configuration in force; put back afterwards.
class ExtractParallelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartHeadlessAllegro());
    {
      ConfigGuard guard;
      set_config_data(demo_.config.data(), static_cast<int>(demo_.config.size()));
    }
    saved_offsets_ = qbr1gbl;
    ReadGlobalOffsets(qbr1gbl);
    saved_image_.assign(QBR1.begin(), QBR1.end());
  }
  void TearDown() override {
    QBR1.assign(saved_image_.begin(), saved_image_.end());
    qbr1gbl = saved_offsets_;
    ConfigGuard guard;
    set_config_data("", 0);
  }
  // Extracts `kind` into a new folder `name` with `workers` threads.
  ExtractReport Run(ExtractKind kind, const fs::path& folder, int workers) {
    fs::create_directories(folder);
    ExtractControl control;
    control.workers = workers;
    const ExtractReport report = QBR1_Extract(kind, folder.string(), "", &control);
    EXPECT_EQ(control.written.load(), report.written);
    return report;
  }
  // Every kind with one worker and with three; the folders and reports must agree.
  void ExpectSameWithThreeWorkers(const char* what) {
    TempFolder folder("extract-parallel");
    for (ExtractKind kind : kAllExtractKinds) {
      SCOPED_TRACE(std::string(what) + ": " + ExtractKindName(kind));
      const fs::path one = folder.path() / (std::string("one-") + ExtractKindName(kind));
      const fs::path three = folder.path() / (std::string("three-") + ExtractKindName(kind));
      const ExtractReport single = Run(kind, one, 1);
      const ExtractReport parallel = Run(kind, three, 3);
      EXPECT_EQ(parallel.written, single.written);
      EXPECT_EQ(parallel.skipped, single.skipped);
      EXPECT_EQ(parallel.failed_path.empty(), single.failed_path.empty());
      const auto want = Contents(one);
      // The files and, when there are any, the manifest.
      EXPECT_EQ(want.size(), static_cast<std::size_t>(single.written) + (single.written > 0 ? 1 : 0));
      EXPECT_TRUE(Contents(three) == want);
    }
  }

  static inline const DemoImage demo_ = BuildDemoImage(1);
  std::vector<char> saved_image_;
  globaldata saved_offsets_;
};

TEST_F(ExtractParallelTest, TheDemoImageGivesTheSameFiles) {
  QBR1.assign(demo_.rom.begin(), demo_.rom.end());
  ExpectSameWithThreeWorkers("demo");
}

TEST_F(ExtractParallelTest, ADamagedImageGivesTheSameFilesAndSkipLinesInOrder) {
  // Cut at 3 MiB: every palette and sprite is missing, so each kind names
  // what it skips (228 palette lines) while it writes the rest.
  QBR1.assign(demo_.rom.begin(), demo_.rom.begin() + 0x300000);
  ExpectSameWithThreeWorkers("truncated");
}

TEST_F(ExtractParallelTest, AFileThatCannotBeWrittenStopsBothAtTheSamePlace) {
  QBR1.assign(demo_.rom.begin(), demo_.rom.end());
  TempFolder folder("extract-parallel-refused");
  std::vector<ExtractReport> reports;
  for (int workers : {1, 3}) {
    const fs::path out = folder.path() / std::to_string(workers);
    // A folder in the place of the sixth level picture: it cannot be replaced by a file.
    fs::create_directories(out / "level-0x05.png" / "inside");
    reports.push_back(Run(ExtractKind::Terrains, out, workers));
    EXPECT_EQ(reports.back().failed_path, (out / "level-0x05.png").string());
    EXPECT_EQ(reports.back().written, 5);
  }
  EXPECT_TRUE(Contents(folder.path() / "1") == Contents(folder.path() / "3"));
  EXPECT_EQ(Contents(folder.path() / "3").size(), 5u);
}

TEST_F(ExtractParallelTest, ACancelledRunWritesNothingMore) {
  QBR1.assign(demo_.rom.begin(), demo_.rom.end());
  TempFolder folder("extract-parallel-cancel");
  for (int workers : {1, 3}) {
    ExtractControl control;
    control.workers = workers;
    control.cancel = true;
    const ExtractReport report = QBR1_Extract(ExtractKind::Palettes, folder.path().string(), "", &control);
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(report.written, 0);
    EXPECT_TRUE(fs::is_empty(folder.path()));
  }
}

}  // namespace
