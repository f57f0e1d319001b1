#include "rom/image_save.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "platform/config_lock.h"
#include "rom/AppMenu.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "rom/ips_patch.h"
#include "shell/base/functions.h"
#include "platform/allegro_include.h"
#include "tests/rom/rom_support.h"

namespace fs = std::filesystem;

namespace {

// Large enough to hold every corrected byte, and a whole number of 32 KiB blocks.
constexpr std::size_t kImageSize = 0x3D0000;
// A byte the corrections change (0x3C983B reads 0xAB in memory whatever the file holds).
constexpr std::size_t kCorrected = 0x3C983B;

class ImageSave : public ::testing::Test {
 protected:
  EventLog log;
  OpenSandbox sandbox{log};

  // Writes an image file and opens it through the Open command.
  fs::path OpenFile(const std::string& name, const std::vector<char>& bytes) {
    const fs::path path = sandbox.dir() / name;
    WriteWholeFile(path, bytes);
    log.answers.push_back(path.string());
    AppMenuOpenImage();
    log.boxes.clear();
    return path;
  }
  static std::vector<char> Chars(const std::vector<unsigned char>& b) { return std::vector<char>(b.begin(), b.end()); }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const DialogRecord& r : log.boxes) titles.push_back(r.title);
    return titles;
  }
};

TEST_F(ImageSave, SaveWritesEditsNotCorrectionsAndKeepsTheFirstOriginalAsBak) {
  const std::vector<char> original = ImageWithCrc(kImageSize, kQBR1KnownCRC32);
  const fs::path path = OpenFile("game.smc", original);
  ASSERT_NE(static_cast<unsigned char>(original[kCorrected]), 0xAB);  // the file does not hold the correction
  ASSERT_EQ(static_cast<unsigned char>(QBR1[kCorrected]), 0xAB);

  QBR1_WriteWord(0x1000, 0xBEEF);
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
  ASSERT_TRUE(SaveImage());
  EXPECT_TRUE(log.boxes.empty());
  std::vector<char> expected = original;
  expected[0x1000] = static_cast<char>(0xEF);
  expected[0x1001] = static_cast<char>(0xBE);
  EXPECT_TRUE(ReadWholeFile(path) == expected);
  EXPECT_TRUE(ReadWholeFile(path.string() + ".bak") == original);
  EXPECT_FALSE(QBR1_HasUnsavedEdits());

  // A second Save leaves the backup as the first one made it.
  QBR1_WriteByte(0x1002, 0x42);
  ASSERT_TRUE(SaveImage());
  expected[0x1002] = 0x42;
  EXPECT_TRUE(ReadWholeFile(path) == expected);
  EXPECT_TRUE(ReadWholeFile(path.string() + ".bak") == original);
  // Undoing everything and saving gives the original back.
  while (QBR1_Undo(nullptr)) {
  }
  ASSERT_TRUE(SaveImage());
  EXPECT_TRUE(ReadWholeFile(path) == original);
}

TEST_F(ImageSave, CopierHeaderIsLeftOutOfTheImageAndSavedUnchanged) {
  std::vector<char> file(512, 0);
  for (std::size_t i = 0; i < 512; ++i) file[i] = static_cast<char>(i * 7);
  const std::vector<char> image = ImageWithCrc(kImageSize, kQBR1KnownCRC32);
  file.insert(file.end(), image.begin(), image.end());
  const fs::path path = sandbox.dir() / "headered.smc";
  WriteWholeFile(path, file);
  log.answers.push_back(path.string());
  AppMenuOpenImage();
  // Identified by the rest: no question, just the notice.
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Open QBR image...", " IMPORTANT - READ THIS"}));
  ASSERT_EQ(QBR1.size(), kImageSize);
  EXPECT_EQ(QBR1[0x10], image[0x10]);
  EXPECT_EQ(QBR1_HeaderSize(), 512u);
  EXPECT_TRUE(Chars(QBR1_OpenedFile()) == file);

  QBR1_WriteByte(0x20, static_cast<unsigned char>(~image[0x20]));  // image offset: header not counted
  ASSERT_TRUE(SaveImage());
  std::vector<char> expected = file;
  expected[512 + 0x20] = static_cast<char>(~image[0x20]);
  EXPECT_TRUE(ReadWholeFile(path) == expected);

  // The patch counts offsets from the start of the file as opened.
  std::vector<unsigned char> patch;
  std::string error;
  ASSERT_TRUE(MakeIpsPatch(QBR1_OpenedFile(), QBR1_SavedFileBytes(), patch, error));
  std::vector<IpsRecord> records;
  ASSERT_TRUE(ReadIpsPatch(patch, records, error));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].offset, 512u + 0x20);
}

TEST_F(ImageSave, SavedEditOfTheKnownImageOpensWithoutTheQuestion) {
  const fs::path path = OpenFile("game.smc", ImageWithCrc(kImageSize, kQBR1KnownCRC32));
  QBR1_WriteWord(0x500, 0x1234);
  ASSERT_TRUE(SaveImage());
  const std::vector<char> saved = ReadWholeFile(path);
  const crc32 crc = CharArray_Get_CRC32(saved.data(), static_cast<int>(saved.size()));
  {
    ConfigGuard guard;
    EXPECT_STREQ(get_config_string("EditedImages", int2hexstr(static_cast<int>(crc), 8).c_str(), ""), "QBR v10U.INI");
  }
  EXPECT_EQ(KnownImageConfig(crc), kGameConfigPath);
  log.answers.push_back(path.string());
  AppMenuOpenImage();
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Open QBR image...", " IMPORTANT - READ THIS"}));

  // An unidentified image accepted by the user is not remembered when saved.
  const fs::path other = OpenFile("other.smc", ImageWithCrc(kImageSize, 0x12345678));
  QBR1_WriteWord(0x500, 0x1234);
  ASSERT_TRUE(SaveImage());
  const std::vector<char> other_saved = ReadWholeFile(other);
  EXPECT_EQ(KnownImageConfig(CharArray_Get_CRC32(other_saved.data(), static_cast<int>(other_saved.size()))), "");
}

// An entry names a configuration file of GameConfig/; the supported image's checksum, as older
// entries hold, names the game configuration; anything leading out of the folder names nothing.
TEST_F(ImageSave, EditedImagesEntriesNameTheGameConfiguration) {
  struct Case {
    const char* key;
    const char* value;
    std::string config;
  };
  const Case cases[] = {
      {"11111111", "QBR Demo.INI", kDemoGameConfigPath},
      {"22222222", "C946DCA0", kGameConfigPath},
      {"33333333", "../Configuration.INI", ""},
      {"44444444", "..", ""},
      {"55555555", "", ""},
  };
  for (const Case& c : cases) {
    {
      ConfigGuard guard;
      set_config_string("EditedImages", c.key, c.value);
    }
    EXPECT_EQ(KnownImageConfig(std::stoul(c.key, nullptr, 16)), c.config) << c.value;
  }
  EXPECT_EQ(KnownImageConfig(kQBR1KnownCRC32), kGameConfigPath);
}

TEST_F(ImageSave, FileChangedOnDiskIsOverwrittenOnlyWhenTheUserSaysSo) {
  const fs::path path = OpenFile("game.smc", ImageWithCrc(kImageSize, kQBR1KnownCRC32));
  QBR1_WriteByte(0x10, 0x55);
  WriteText(path, "another program wrote this");
  log.answers = {"no"};
  EXPECT_FALSE(SaveImage());
  EXPECT_EQ(Titles(), std::vector<std::string>{"File Changed on Disk"});
  EXPECT_EQ(ReadText(path), "another program wrote this");
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
  log.answers = {"yes"};
  EXPECT_TRUE(SaveImage());
  EXPECT_EQ(fs::file_size(path), kImageSize);
  EXPECT_FALSE(QBR1_HasUnsavedEdits());
  // Written by us: the next Save asks nothing.
  log.boxes.clear();
  QBR1_WriteByte(0x10, 0x56);
  EXPECT_TRUE(SaveImage());
  EXPECT_TRUE(log.boxes.empty());
}

TEST_F(ImageSave, SaveAsAndSaveIpsAskForAPathAndCancelWritesNothing) {
  const std::vector<char> original = ImageWithCrc(kImageSize, kQBR1KnownCRC32);
  const fs::path path = OpenFile("game.smc", original);
  QBR1_WriteWord(0x3000, 0xCAFE);

  log.answers = {"cancel"};
  EXPECT_FALSE(SaveImageAs());
  log.answers = {"cancel"};
  EXPECT_FALSE(SaveImagePatch());
  for (const auto& entry : fs::directory_iterator(sandbox.dir())) {
    const std::string ext = entry.path().extension().string();
    EXPECT_TRUE(entry.path() == path || (ext != ".smc" && ext != ".ips")) << entry.path();
  }

  const fs::path copy = sandbox.dir() / "copy.smc";
  log.answers = {copy.string()};
  ASSERT_TRUE(SaveImageAs());
  EXPECT_EQ(log.boxes.back().kind, BoxKind::Save);
  EXPECT_EQ(ImageFilePath(), copy.string());
  EXPECT_TRUE(ReadWholeFile(path) == original);
  EXPECT_FALSE(fs::exists(copy.string() + ".bak"));  // nothing was replaced

  const fs::path ips = sandbox.dir() / "changes.ips";
  log.answers = {ips.string()};
  ASSERT_TRUE(SaveImagePatch());
  std::vector<char> p = ReadWholeFile(ips);
  std::vector<unsigned char> patched(original.begin(), original.end());
  std::string error;
  ASSERT_TRUE(ApplyIpsPatch(std::vector<unsigned char>(p.begin(), p.end()), patched, error)) << error;
  EXPECT_TRUE(Chars(patched) == ReadWholeFile(copy));
}

TEST_F(ImageSave, ImageWithoutAFileSavesAs) {
  const std::vector<char> original = ImageWithCrc(kImageSize, kQBR1KnownCRC32);
  OpenFile("game.smc", original);
  SetImageFile("", "");  // as an image without a file
  QBR1_WriteByte(7, 1);
  const fs::path target = sandbox.dir() / "demo-copy.smc";
  log.answers = {target.string()};
  ASSERT_TRUE(SaveImage());
  ASSERT_EQ(log.boxes.size(), 1u);
  EXPECT_EQ(log.boxes[0].kind, BoxKind::Save);
  EXPECT_EQ(ImageFilePath(), target.string());
}

// The title names the file (or the name of an image without one) and carries a
// star exactly while there are unsaved edits.
TEST_F(ImageSave, TheWindowTitleNamesTheImageAndItsUnsavedEdits) {
  const std::vector<char> original = ImageWithCrc(kImageSize, kQBR1KnownCRC32);
  OpenFile("game.smc", original);
  EXPECT_EQ(ImageWindowTitle(), "QBRRE - game.smc");
  QBR1_WriteByte(7, 1);
  EXPECT_EQ(ImageWindowTitle(), "QBRRE - game.smc *");
  ASSERT_TRUE(SaveImage());
  EXPECT_EQ(ImageWindowTitle(), "QBRRE - game.smc");
  QBR1_WriteByte(7, 2);
  int level = -1;
  ASSERT_TRUE(QBR1_Undo(&level));
  EXPECT_EQ(ImageWindowTitle(), "QBRRE - game.smc") << "undone back to the saved bytes";
  SetImageFile("", "", "QBRRE demo image");
  EXPECT_EQ(ImageWindowTitle(), "QBRRE - QBRRE demo image");
}

TEST_F(ImageSave, QuestionBeforeLosingEdits) {
  const fs::path path = OpenFile("game.smc", ImageWithCrc(kImageSize, kQBR1KnownCRC32));
  EXPECT_TRUE(ConfirmUnsavedEdits());  // nothing to lose: no question
  EXPECT_TRUE(log.boxes.empty());
  struct Case {
    const char* answer;
    bool go_on;
    bool saved;
  };
  const Case cases[] = {{"cancel", false, false}, {"no", true, false}, {"yes", true, true}};
  for (const Case& c : cases) {
    QBR1_WriteByte(0x99, static_cast<unsigned char>(QBR1[0x99] + 1));
    log.boxes.clear();
    log.answers = {c.answer};
    EXPECT_EQ(ConfirmUnsavedEdits(), c.go_on) << c.answer;
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_EQ(log.boxes[0].kind, BoxKind::YesNoCancel);
    EXPECT_EQ(log.boxes[0].text, "Save changes to \"game.smc\"?");
    EXPECT_EQ(QBR1_HasUnsavedEdits(), !c.saved) << c.answer;
    EXPECT_EQ(ReadWholeFile(path)[0x99] == QBR1[0x99], c.saved) << c.answer;
  }
  // Opening another image asks first; Cancel keeps the image.
  QBR1_WriteByte(0x99, static_cast<unsigned char>(QBR1[0x99] + 1));
  log.boxes.clear();
  log.answers = {"cancel"};
  AppMenuOpenImage();
  EXPECT_EQ(Titles(), std::vector<std::string>{"Unsaved Changes"});
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
}

TEST_F(ImageSave, FailedSaveSaysSoAndKeepsTheEditsUnsaved) {
  const fs::path path = OpenFile("game.smc", ImageWithCrc(kImageSize, kQBR1KnownCRC32));
  QBR1_WriteByte(0x10, 0x55);
  const fs::path target = sandbox.dir() / "gone" / "game.smc";
  log.answers = {target.string()};
  EXPECT_FALSE(SaveImageAs());
  ASSERT_EQ(log.boxes.size(), 2u);
  EXPECT_EQ(log.boxes[1].kind, BoxKind::Error);
  EXPECT_EQ(log.boxes[1].title, "Error saving file!");
  EXPECT_NE(log.boxes[1].text.find("The file on disk was not changed."), std::string::npos);
  EXPECT_EQ(ImageFilePath(), path.string());
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
}

}  // namespace
