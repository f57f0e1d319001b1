#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "tests/common/temp_folder.h"
#include "tests/rom/crc_forge.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned long kKnownCrc = 0xC946DCA0;
constexpr std::size_t kImageSize = 0x400000;

// The start-up screen's File menu with two recent images: "Open..." (rows 38-57), "Recover..."
// (59-78), a separator (80), the first entry (rows 82-101), the second (103-122), "Exit" (124-143);
// labels start near x 26.
constexpr int kLabelLeft = 20, kLabelRight = 250;
constexpr int kFirstTop = 82, kSecondTop = 103, kRowHeight = 20;
// The menu font's colours: greyed, and an entry that can be chosen (not highlighted).
constexpr uint32_t kGreyedText = 0x282828, kNormalText = 0x808080;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class RecentImagesEndToEnd : public e2e::EndToEndTest {
 protected:
  // Pixels of `colour` in the label area of the entry row starting at window row `top`.
  int CountInRow(const e2e::Screenshot& shot, int top, uint32_t colour) const {
    int count = 0;
    for (int y = top; y < top + kRowHeight; ++y) {
      for (int x = kLabelLeft; x < kLabelRight; ++x) count += shot.Pixel(wx + x, wy + y) == colour;
    }
    return count;
  }
};

// Configuration.INI lists an image that is gone and one that is there: the gone one is greyed,
// choosing it takes it off the list (and the file) with a message, and choosing the other opens it.
TEST_F(RecentImagesEndToEnd, AGoneImageIsGreyedAndDroppedAndAPresentOneOpens) {
  const std::string known = (dir / "known.smc").string(), gone = (dir / "gone.smc").string();
  const std::vector<char> bytes = ImageWithCrc(kImageSize, kKnownCrc);
  std::ofstream(known, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  e2e::LaunchOptions options;
  options.dialog_answers = {"cancel", "ok", "ok", "ok"};  // Open cancelled, its notice, the gone file, the alpha notice
  options.configuration_ini =
      "# kept\n[Elsewhere]\nKey = kept\n\n[Recent]\nImage1 = " + gone + "\nImage2 = " + known + "\n";
  Launch(options);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app->WaitForDialogs(2)) << app->Stderr();
  ASSERT_TRUE(app->WaitForSize(520, 176)) << app->Stderr();
  ASSERT_TRUE(app->Geometry(wx, wy, ww, wh));

  e2e::Chord("alt", "f");
  ASSERT_TRUE(WaitUntil([&] {
    e2e::Screenshot shot;
    return e2e::TakeScreenshot(shot) && CountInRow(shot, kFirstTop, kGreyedText) > 20 &&
           CountInRow(shot, kSecondTop, kNormalText) > 20;
  })) << "File does not show the gone image greyed above the present one";
  e2e::Screenshot shot;
  ASSERT_TRUE(e2e::TakeScreenshot(shot));
  EXPECT_EQ(CountInRow(shot, kFirstTop, kNormalText), 0);
  EXPECT_EQ(CountInRow(shot, kSecondTop, kGreyedText), 0);

  e2e::Key("Down");  // from "Open..." past "Recover..." to the greyed entry, which can still be chosen
  e2e::Key("Down");
  e2e::Key("Return");
  ASSERT_TRUE(app->WaitForDialogs(3)) << app->Stderr();
  auto log = app->DialogLog();
  EXPECT_EQ(log[2].kind, "error");
  EXPECT_EQ(log[2].title, "Recent Image Gone");
  EXPECT_EQ(log[2].text, "\"" + gone + "\" is not there any more.\n\nIt was taken off the list of recent images.");
  const fs::path ini = fs::path(app->workdir()) / "Configuration.INI";
  const std::string after = ReadText(ini);
  EXPECT_EQ(after.find(gone), std::string::npos) << after;
  EXPECT_NE(after.find("[Recent]\nImage1 = " + known + "\n"), std::string::npos) << after;
  EXPECT_NE(after.find("# kept\n[Elsewhere]\nKey = kept\n"), std::string::npos) << after;

  // The menu now lists the present image alone, first.
  e2e::Chord("alt", "f");
  ASSERT_TRUE(WaitUntil([&] {
    e2e::Screenshot now;
    return e2e::TakeScreenshot(now) && CountInRow(now, kFirstTop, kNormalText) > 20;
  })) << "File does not show the present image first";
  e2e::Key("Down");
  e2e::Key("Down");
  e2e::Key("Return");
  ASSERT_TRUE(app->WaitForDialogs(4)) << app->Stderr();
  log = app->DialogLog();
  EXPECT_EQ(log[3].kind, "info");
  EXPECT_EQ(log[3].title, " IMPORTANT - READ THIS");
  EXPECT_TRUE(app->WaitForMode(1)) << app->Stderr();
  EXPECT_EQ(ReadText(ini).find(gone), std::string::npos);
  EXPECT_NE(ReadText(ini).find("Image1 = " + known + "\n"), std::string::npos);
}

}  // namespace
