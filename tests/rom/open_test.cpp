#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "platform/config_lock.h"
#include "rom/settings_store.h"
#include "rom/AppMenu.h"
#include "rom/globaldata.h"
#include "rom/headless_open.h"
#include "rom/image_edits.h"
#include "platform/allegro_include.h"
#include "shell/base/variables.h"
#include "tests/rom/rom_support.h"

#define crc32 zlib_crc32
#include <zlib.h>
#undef crc32

namespace fs = std::filesystem;

namespace {

// Large enough to hold every corrected byte.
constexpr std::size_t kImageSize = 0x3CA800;

const char kAlphaNotice[] =
    "This is an alpha version of QBRRE: the tile map, objects and bananas can be edited and saved, and\n"
    "menu items that do nothing yet are shown unavailable.\n\n"
    "You can use PAGE UP and PAGE DOWN to switch between levels.\n"
    "Arrow Keys Navigate through levels, or you can use the scrollbars.";

class Open : public ::testing::Test {
 protected:
  EventLog log;
  OpenSandbox sandbox{log};

  // Writes an image file and queues its path as the file dialog's answer.
  fs::path Offer(const std::string& name, const std::vector<char>& bytes) {
    const fs::path path = sandbox.dir() / name;
    WriteWholeFile(path, bytes);
    log.answers.push_back(path.string());
    return path;
  }

  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const DialogRecord& r : log.boxes) titles.push_back(r.title);
    return titles;
  }

  static std::string Config(const char* section, const char* key) {
    ConfigGuard guard;
    return get_config_string(section, key, "<none>");
  }

  // What the program's own file holds (every change is written when it is made).
  static std::string Flushed() {
    CloseGameConfig();
    return ReadText("Configuration.INI");
  }
};

TEST_F(Open, IdentifiedImageOpensWithoutAQuestionAndIsCorrectedInMemoryOnly) {
  const std::vector<char> bytes = ImageWithCrc(kImageSize, kQBR1KnownCRC32);
  const fs::path path = Offer("game.smc", bytes);

  const bool opened = AppMenuOpenImage();

  ASSERT_EQ(log.boxes.size(), 2u);
  EXPECT_EQ(log.boxes[0].kind, BoxKind::Open);
  EXPECT_EQ(log.boxes[0].title, "Open QBR image...");
  EXPECT_EQ(log.boxes[1].kind, BoxKind::Info);
  EXPECT_EQ(log.boxes[1].title, " IMPORTANT - READ THIS");
  EXPECT_EQ(log.boxes[1].text, kAlphaNotice);

  ASSERT_EQ(QBR1.size(), kImageSize);
  EXPECT_TRUE(BFA_IsActive(0x10));
  EXPECT_EQ(BFA_ChanID, 0x10);
  EXPECT_EQ(BFA_OpenedCRC32[0x10], kQBR1KnownCRC32);  // of the file as loaded
  EXPECT_EQ(static_cast<unsigned char>(QBR1[0x3C983B]), 0xAB);
  std::size_t differing = 0;
  for (std::size_t i = 0; i < kImageSize; ++i) differing += QBR1[i] != bytes[i];
  EXPECT_LE(differing, 17u);
  EXPECT_GE(differing, 10u);  // random filler rarely already holds a corrected value
  EXPECT_EQ(ReadWholeFile(path), bytes);

  EXPECT_TRUE(opened);  // the application then enters the mode that shows it
  EXPECT_EQ(ENGINE_STATE, 0u);  // Open itself requests no mode
  EXPECT_EQ(qbr1gbl.LvlStackTable, 0x18B94u);  // no game configuration file: defaults
  EXPECT_EQ(qbr1gbl.BananaPalette, 0x3C86F2u);
}

TEST_F(Open, SeedsTheLevelViewKeysOnceAndKeepsLaterValues) {
  const std::vector<char> bytes = ImageWithCrc(kImageSize, kQBR1KnownCRC32);
  Offer("game.smc", bytes);
  AppMenuOpenImage();
  EXPECT_EQ(Config("LevelDisplay", "Enable"), "Yes");
  EXPECT_EQ(Config("LevelDisplay", "FF"), "00000000");

  // The level view stores a position while the game configuration is selected.
  std::string error;
  ASSERT_TRUE(StoreSettings("LevelDisplay", {{"16", "00400120"}}, error)) << error;
  Offer("game.smc", bytes);
  AppMenuOpenImage();
  EXPECT_EQ(Config("LevelDisplay", "16"), "00400120");
  EXPECT_EQ(Config("LevelDisplay", "17"), "00000000");

  const std::string saved = Flushed();
  EXPECT_EQ(saved.find("[LevelDisplay]"), saved.rfind("[LevelDisplay]"));
  EXPECT_NE(saved.find("Enable = Yes"), std::string::npos);
  for (int level = 0; level < 256; ++level) {
    char line[32];
    std::snprintf(line, sizeof line, "\n%02X = %s\n", level, level == 0x16 ? "00400120" : "00000000");
    EXPECT_NE(saved.find(line), std::string::npos) << line;
  }
  EXPECT_FALSE(fs::exists("GameConfig/QBR v10U.INI"));  // writes go to the program's own file
}

TEST_F(Open, ProgramConfigurationWinsOverTheGameConfiguration) {
  WriteText("GameConfig/QBR v10U.INI",
            "[Global_Offsets]\nLevelStackPtrTable = 11111\nLevelNameBank = 2A0000\n[LevelDisplay]\nEnable = Yes\n");
  WriteText("Configuration.INI", "[Global_Offsets]\nLevelStackPtrTable = 22222\n");
  {
    ConfigGuard guard;
    LoadSettings(SettingsLayer::Alone);
  }
  Offer("game.smc", ImageWithCrc(kImageSize, kQBR1KnownCRC32));
  AppMenuOpenImage();
  EXPECT_EQ(qbr1gbl.LvlStackTable, 0x22222u);
  EXPECT_EQ(qbr1gbl.LvlNameBank, 0x2A0000u);
  // "Enable" found in the game configuration counts as present: nothing is seeded.
  EXPECT_EQ(Config("LevelDisplay", "00"), "<none>");
}

// Opening an image removes the temporary files that a killed save left beside it; those of a writer
// that still runs stay.
TEST_F(Open, RemovesTheTemporaryFilesOfEndedWritersBesideTheImage) {
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  waitpid(ended, nullptr, 0);
  const std::string stale = ".qbrre-save-" + std::to_string(ended) + "-3";
  const std::string running = ".qbrre-save-" + std::to_string(getpid()) + "-9";
  WriteText(stale, "half a save");
  WriteText(running, "a save under way");
  Offer("game.smc", ImageWithCrc(kImageSize, kQBR1KnownCRC32));
  ASSERT_TRUE(AppMenuOpenImage());
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(running));
}

// A file of whole 32 KiB blocks plus 512 bytes is split only when the whole file is not a known image:
// 512 bytes appended to an image are not a header in front of it. Open and the commands without a
// window decide alike.
TEST_F(Open, CopierHeaderIsSplitOnlyWhenTheWholeFileIsNotKnown) {
  constexpr std::size_t kBlocks = 4u << 20;
  std::vector<char> headered(512, 0x11);
  const std::vector<char> image = ImageWithCrc(kBlocks, kQBR1KnownCRC32);
  headered.insert(headered.end(), image.begin(), image.end());
  struct Case {
    const char* name;
    std::vector<char> bytes;
    std::size_t header;
  };
  const Case cases[] = {
      {"known image with 512 bytes at its end", ImageWithCrc(kBlocks + 512, kQBR1KnownCRC32), 0},
      {"header in front of the known image", headered, 512},
  };
  for (const Case& c : cases) {
    const fs::path path = Offer("game.smc", c.bytes);
    AppMenuOpenImage();
    EXPECT_EQ(Titles().back(), " IMPORTANT - READ THIS") << c.name;  // identified: no question
    EXPECT_EQ(QBR1_HeaderSize(), c.header) << c.name;
    ASSERT_EQ(QBR1.size(), c.bytes.size() - c.header) << c.name;
    EXPECT_EQ(QBR1[0x100], c.bytes[c.header + 0x100]) << c.name;
    EXPECT_EQ(BFA_OpenedCRC32[0x10], kQBR1KnownCRC32) << c.name;

    QBR1.clear();
    testing::internal::CaptureStderr();
    ASSERT_TRUE(LoadRomHeadless(path.string())) << c.name;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.name;  // no "not the supported image"
    ASSERT_EQ(QBR1.size(), c.bytes.size() - c.header) << c.name;
    EXPECT_EQ(QBR1[0x100], c.bytes[c.header + 0x100]) << c.name;
  }
}

TEST_F(Open, UnidentifiedImageAsksAndNoLeavesEverythingAsItWas) {
  // The supported image with a 512-byte copier header in front.
  std::vector<char> bytes(512, 0);
  const std::vector<char> image = ImageWithCrc(kImageSize, kQBR1KnownCRC32);
  bytes.insert(bytes.end(), image.begin(), image.end());
  Offer("headered.smc", bytes);
  log.answers.push_back("no");

  const bool opened = AppMenuOpenImage();

  ASSERT_EQ(log.boxes.size(), 2u);
  EXPECT_EQ(log.boxes[1].kind, BoxKind::Question);
  EXPECT_EQ(log.boxes[1].title, "ROM Not Identifiable");
  EXPECT_EQ(log.boxes[1].text, unidmsg);
  EXPECT_FALSE(BFA_IsActive(0x10));
  EXPECT_TRUE(QBR1.empty());
  EXPECT_EQ(ENGINE_STATE, 0u);
  EXPECT_FALSE(STATEOVER);
  EXPECT_FALSE(opened);
  EXPECT_EQ(qbr1gbl.LvlStackTable, 0u);
  EXPECT_EQ(Config("LevelDisplay", "Enable"), "<none>");
}

TEST_F(Open, UnidentifiedImageAcceptedOpensLikeTheKnownOne) {
  const std::vector<char> bytes = ImageWithCrc(kImageSize, 0x12345678);
  Offer("other.smc", bytes);
  log.answers.push_back("yes");
  const bool opened = AppMenuOpenImage();
  EXPECT_EQ(Titles(),
            (std::vector<std::string>{"Open QBR image...", "ROM Not Identifiable", " IMPORTANT - READ THIS"}));
  EXPECT_EQ(BFA_OpenedCRC32[0x10], 0x12345678u);
  EXPECT_EQ(static_cast<unsigned char>(QBR1[0x3CA7E5]), 0x31);
  EXPECT_TRUE(opened);
}

TEST_F(Open, AcceptedShortImageIsCorrectedOnlyInsideItself) {
  const std::size_t size = 0x3C9C63;  // ends between two corrected bytes
  const std::vector<char> bytes = ImageWithCrc(size, 0x0BADF00D);
  Offer("short.smc", bytes);
  log.answers.push_back("yes");
  const bool opened = AppMenuOpenImage();
  ASSERT_EQ(QBR1.size(), size);
  EXPECT_EQ(static_cast<unsigned char>(QBR1[0x3C9C62]), 0x00);
  EXPECT_TRUE(opened);
}

TEST_F(Open, CancelledDialogShowsNoticeAndChangesNothing) {
  log.answers.push_back("");
  const bool opened = AppMenuOpenImage();
  ASSERT_EQ(log.boxes.size(), 2u);
  EXPECT_EQ(log.boxes[1].kind, BoxKind::Error);
  EXPECT_EQ(log.boxes[1].title, "Notice");
  EXPECT_EQ(log.boxes[1].text, "No file was selected. You cannot use this tool without an appropriate ROM image.");
  EXPECT_FALSE(BFA_IsActive(0x10));
  EXPECT_EQ(ENGINE_STATE, 0u);
  EXPECT_FALSE(STATEOVER);
  EXPECT_FALSE(opened);
}

TEST_F(Open, UnreadableFileIsReportedTwice) {
  fs::create_directory(sandbox.dir() / "folder.smc");
  log.answers.push_back((sandbox.dir() / "folder.smc").string());
  const bool opened = AppMenuOpenImage();
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Open QBR image...", "Error opening file!", "Unable to Open Game"}));
  EXPECT_EQ(log.boxes[2].text, "An error occured when trying to open the ROM image.");
  EXPECT_FALSE(BFA_IsActive(0x10));
  EXPECT_EQ(ENGINE_STATE, 0u);
  EXPECT_FALSE(opened);
}

TEST_F(Open, FailedReopenKeepsTheImageInUse) {
  const std::vector<char> first = ImageWithCrc(kImageSize, kQBR1KnownCRC32);
  Offer("first.smc", first);
  AppMenuOpenImage();
  ASSERT_EQ(QBR1.size(), kImageSize);
  const std::vector<char> in_use = QBR1;
  const unsigned long crc = BFA_OpenedCRC32[0x10];

  struct Attempt {
    const char* what;
    std::vector<std::string> answers;
  };
  fs::create_directory(sandbox.dir() / "folder.smc");
  WriteWholeFile(sandbox.dir() / "other.smc", ImageWithCrc(4096, 0x01020304));
  const Attempt attempts[] = {
      {"cancelled", {""}},
      {"unreadable", {(sandbox.dir() / "folder.smc").string()}},
      {"declined", {(sandbox.dir() / "other.smc").string(), "no"}},
  };
  for (const Attempt& a : attempts) {
    ENGINE_STATE = 1;
    STATEOVER = false;
    log.answers = a.answers;
    EXPECT_FALSE(AppMenuOpenImage()) << a.what;  // the level view keeps running on the same image
    EXPECT_TRUE(BFA_IsActive(0x10)) << a.what;
    EXPECT_TRUE(QBR1 == in_use) << a.what;
    EXPECT_EQ(BFA_OpenedCRC32[0x10], crc) << a.what;
    EXPECT_FALSE(STATEOVER) << a.what;
  }

  // A successful reopen replaces the image.
  log.answers = {(sandbox.dir() / "other.smc").string(), "yes"};
  EXPECT_TRUE(AppMenuOpenImage());
  EXPECT_EQ(QBR1.size(), 4096u);
  EXPECT_EQ(BFA_OpenedCRC32[0x10], 0x01020304u);
  EXPECT_FALSE(STATEOVER);  // which mode shows it is the application's request
}

TEST_F(Open, CommandLinePathAnswersOnlyTheFirstOpen) {
  const fs::path path = sandbox.dir() / "named.smc";
  WriteWholeFile(path, ImageWithCrc(kImageSize, kQBR1KnownCRC32));
  StartupRomPath = path.string();
  AppMenuOpenImage();
  EXPECT_EQ(Titles(), std::vector<std::string>{" IMPORTANT - READ THIS"});
  EXPECT_TRUE(StartupRomPath.empty());
  EXPECT_EQ(QBR1.size(), kImageSize);

  log.answers.push_back("");
  AppMenuOpenImage();
  EXPECT_EQ(Titles(), (std::vector<std::string>{" IMPORTANT - READ THIS", "Open QBR image...", "Notice"}));
}

// The demo image of `--demo` comes in through a startup opener: it answers the
// first Open without a dialog, and every later Open asks again.
int startup_opens = 0;
bool CountingOpener() {
  ++startup_opens;
  return true;
}

TEST_F(Open, StartupOpenerAnswersOnlyTheFirstOpen) {
  startup_opens = 0;
  SetStartupImageOpener(CountingOpener);
  AppMenuOpenImage();
  SetStartupImageOpener(nullptr);  // also when the first Open did not consume it
  EXPECT_EQ(startup_opens, 1);
  EXPECT_TRUE(log.boxes.empty());

  log.answers.push_back("");
  AppMenuOpenImage();
  EXPECT_EQ(startup_opens, 1);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Open QBR image...", "Notice"}));
}

TEST(ImageWithCrc, ForgedTailGivesTheAskedChecksum) {
  for (unsigned long crc : {0xC946DCA0ul, 0x00000000ul, 0xFFFFFFFFul, 0x12345678ul}) {
    for (std::size_t size : {std::size_t{4}, std::size_t{5}, std::size_t{4096}}) {
      const std::vector<char> bytes = ImageWithCrc(size, crc);
      EXPECT_EQ(crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()), crc) << size;
    }
  }
}

}  // namespace
