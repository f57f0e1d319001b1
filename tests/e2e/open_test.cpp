#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "tests/common/file_bytes.h"
#include "tests/rom/crc_forge.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned long kKnownCrc = 0xC946DCA0;
constexpr std::size_t kImageSize = 0x400000;

std::vector<char> ReadFile(const fs::path& path) {
  return ReadFileBytes<std::vector<char>>(path);
}

void WriteFile(const fs::path& path, const std::vector<char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Images live outside the program's folder, so the test can check them after it is gone.
class OpenEndToEnd : public e2e::EndToEndTest {
 protected:
  void SetUp() override {
    e2e::EndToEndTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    known = ImageWithCrc(kImageSize, kKnownCrc);
    other = ImageWithCrc(kImageSize, 0x5EED1234);
    WriteFile(dir / "known.smc", known);
    WriteFile(dir / "other.smc", other);
  }
  std::vector<char> known, other;
};

// The automatic Open is cancelled; the toolbar's Open then offers an unknown
// image (declined) and the known one, which opens without a question.
TEST_F(OpenEndToEnd, CancelDeclineAndOpenThroughTheToolbar) {
  e2e::LaunchOptions options;
  options.dialog_answers = {"cancel", "ok", (dir / "other.smc").string(), "no", (dir / "known.smc").string(), "ok"};
  Launch(options);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app->WaitForDialogs(2)) << app->Stderr();
  auto log = app->DialogLog();
  EXPECT_EQ(log[0].kind, "open");
  EXPECT_EQ(log[1].kind, "error");
  EXPECT_EQ(log[1].title, "Notice");
  EXPECT_EQ(log[1].text, "No file was selected. You cannot use this tool without an appropriate ROM image.");

  int x = 0, y = 0, w = 0, h = 0;
  ASSERT_TRUE(app->Geometry(x, y, w, h));
  ASSERT_EQ(w, 520);
  e2e::MouseMove(x + 17, y + 47);
  e2e::Hold(150);
  e2e::Click(x + 17, y + 47);  // the toolbar's "Open"
  ASSERT_TRUE(app->WaitForDialogs(4)) << app->Stderr();
  log = app->DialogLog();
  EXPECT_EQ(log[2].title, "Open QBR image...");
  EXPECT_EQ(log[3].kind, "question");
  EXPECT_EQ(log[3].title, "ROM Not Identifiable");
  EXPECT_EQ(log[3].text.rfind("This ROM cannot be identified as having been an original version of QBR.\n", 0), 0u);
  e2e::Hold(300);
  ASSERT_TRUE(app->Geometry(x, y, w, h));
  EXPECT_EQ(w, 520);  // declined: still the start-up screen
  EXPECT_TRUE(app->Running());

  e2e::MouseMove(x + 40, y + 100);
  e2e::Hold(150);
  e2e::MouseMove(x + 17, y + 47);
  e2e::Hold(150);
  e2e::Click(x + 17, y + 47);
  ASSERT_TRUE(app->WaitForDialogs(6)) << app->Stderr();
  log = app->DialogLog();
  EXPECT_EQ(log[4].kind, "open");
  EXPECT_EQ(log[5].kind, "info");  // no question for the known image
  EXPECT_EQ(log[5].title, " IMPORTANT - READ THIS");

  if (app->Running()) {
    e2e::Hold(500);
    e2e::Key("Escape");
  }
  ASSERT_TRUE(app->WaitForExit(10.0).has_value());

  // The seeded view keys landed in the program's own file, once.
  std::ifstream config(fs::path(app->workdir()) / "Configuration.INI");
  const std::string text((std::istreambuf_iterator<char>(config)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Enable = Yes"), std::string::npos) << text;
  EXPECT_NE(text.find("FF = 00000000"), std::string::npos) << text;
  EXPECT_NE(text.find("\n00 = 00000000"), std::string::npos) << text;
  EXPECT_EQ(text.find("Enable"), text.rfind("Enable")) << text;
  // The images on disk are untouched.
  EXPECT_TRUE(ReadFile(dir / "known.smc") == known);
  EXPECT_TRUE(ReadFile(dir / "other.smc") == other);
}

}  // namespace
