// Loading, the open-file dialog and saving: exact bytes, recorded CRC-32, and refusals that leave the
// channel as it was whatever the path names.
#include "tests/bfa/bfa_fixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>

namespace {

std::vector<char> RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<char> out(size);
  for (char& c : out) c = static_cast<char>(rng());
  return out;
}

std::string Cwd() { return std::filesystem::current_path().string(); }

}  // namespace

TEST_F(BfaTest, LoadThenSaveReproducesTheFileAndAllCrcsAgree) {
  const std::string in = Scratch("image.smc");
  const std::string out = Scratch("copy.smc");
  const std::vector<char> bytes = RandomBytes(4194304, 7);
  WriteFileBytes(in, bytes);
  BFA_Activate(0x10, 1);
  ASSERT_TRUE(BFA_Load(in.c_str()));
  EXPECT_EQ(QBR1.size(), 4194304u);
  EXPECT_TRUE(QBR1 == bytes);
  const std::uint32_t expected = ZlibCrc32(bytes.data(), bytes.size());
  EXPECT_EQ(BFA_OpenedCRC32[0x10], expected);
  EXPECT_EQ(BFA_GetCRC32(), expected);
  EXPECT_EQ(BFA_LoadCRC32(in.c_str()), expected);
  BFA_SetRead(12345);
  BFA_get_int(32);
  BFA_get_str(8);
  ASSERT_TRUE(BFA_Save(out.c_str()));
  EXPECT_TRUE(ReadFileBytes(out) == bytes);
  EXPECT_EQ(BFA_OpenedCRC32[0x10], expected);  // saving leaves the CRC entry
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(BfaTest, LoadingKeepsPositionsAndAnEmptyFileGivesAnEmptyBuffer) {
  const std::string empty = Scratch("empty.bin");
  WriteFileBytes(empty, {});
  Channel(0x03, 1, std::vector<char>(10, 'x'));
  BFA_SetRead(17);
  BFA_SetWrte(40);
  BFA_OpenedCRC32[3] = 0xDEAD;
  ASSERT_TRUE(BFA_Load(empty.c_str()));
  EXPECT_TRUE(BFA_FileBuffer[3].empty());
  EXPECT_EQ(BFA_OpenedCRC32[3], 0u);
  EXPECT_EQ(BFA_GetRead(), 17u);
  EXPECT_EQ(BFA_GetWrte(), 40u);
}

TEST_F(BfaTest, PathsThatAreNotReadableRegularFilesAreRefusedAndChangeNothing) {
  const std::string fifo = Scratch("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string huge = Scratch("huge.bin");  // sparse: one byte more than a channel may hold
  {
    const int fd = ::open(huge.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(BFA_MAX_FILE_SIZE) + 1), 0);
    ::close(fd);
  }
  const std::string paths[] = {Scratch("missing.smc"), dir_, fifo, "/dev/null", huge, ""};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    Channel(0x10, 1, {1, 2, 3});
    BFA_ReadPos[0x10] = 5;
    BFA_OpenedCRC32[0x10] = 0xABCD;
    boxes_.clear();
    EXPECT_FALSE(BFA_Load(path.c_str()));
    EXPECT_EQ(OnlyBox().title, "Error opening file!");
    EXPECT_EQ(QBR1, (std::vector<char>{1, 2, 3}));
    EXPECT_EQ(BFA_ReadPos[0x10], 5u);
    EXPECT_EQ(BFA_OpenedCRC32[0x10], 0xABCDu);
    EXPECT_EQ(BFA_LoadCRC32(path.c_str()), 0u);
    EXPECT_EQ(OnlyBox().title, "Error opening file!");
  }
}

TEST_F(BfaTest, ChecksumOfAFileNeedsWriteAccess) {
  const std::string path = Scratch("readonly.smc");
  WriteFileBytes(path, {'1', '2', '3', '4', '5', '6', '7', '8', '9'});
  EXPECT_EQ(BFA_LoadCRC32(path.c_str()), 0xCBF43926u);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  if (access(path.c_str(), W_OK) == 0) GTEST_SKIP() << "running with the right to write read-only files";
  EXPECT_EQ(BFA_LoadCRC32(path.c_str()), 0u);
  EXPECT_EQ(OnlyBox().title, "Error opening file!");
}

TEST_F(BfaTest, OpenFileDialogPassesTheFilterListAndKeepsTheWorkingDirectory) {
  const std::string before = Cwd();
  std::vector<DialogRecord> seen;
  PlatformUseScriptedDialogs([&](const DialogRecord& record) {
    seen.push_back(record);
    EXPECT_EQ(::chdir("/"), 0);  // a dialog that navigates away
    return dialogAnswer_;
  });
  dialogAnswer_ = Scratch("chosen.smc");
  const char filter[] = "Quarbo v1.0 US-NTSC\0*.smc\0All files\0*.*\0";
  EXPECT_EQ(OpenFileDialog(filter, "Open QBR image..."), dialogAnswer_);
  EXPECT_EQ(Cwd(), before);
  dialogAnswer_ = "cancel";
  EXPECT_EQ(OpenFileDialog(filter, "Open QBR image..."), "NO_FILE_SELECTED");
  EXPECT_EQ(Cwd(), before);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].kind, BoxKind::Open);
  EXPECT_EQ(seen[0].title, "Open QBR image...");
  EXPECT_EQ(seen[0].text, "Quarbo v1.0 US-NTSC (*.smc)\nAll files (*.*)");
}

TEST_F(BfaTest, OpenResultCodes) {
  const std::string rom = Scratch("rom.smc");
  WriteFileBytes(rom, {'1', '2', '3', '4', '5', '6', '7', '8', '9'});
  const char filter[] = "Quarbo v1.0 US-NTSC\0*.smc\0";
  struct Case {
    const char* what;
    int mode;  // -1: channel not activated
    std::string answer;
    int result;
    std::string title;  // of the error box, empty for none
  };
  const Case cases[] = {
      {"cancelled", 1, "cancel", 2, ""},
      {"loaded", 1, rom, 0, ""},
      {"not activated", -1, rom, 1, "Channel Not Activated"},
      {"mode 2", 2, rom, 1, "Load Operation Denied"},
      {"missing file", 0, Scratch("gone.smc"), 1, "Error opening file!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BFA_ResetAll();
    if (c.mode >= 0) Channel(0x10, c.mode, {42});
    boxes_.clear();
    dialogAnswer_ = c.answer;
    EXPECT_EQ(BFA_Open(filter, "Open QBR image..."), c.result);
    ASSERT_FALSE(boxes_.empty());
    EXPECT_EQ(boxes_.front().kind, BoxKind::Open);
    boxes_.erase(boxes_.begin());
    if (c.title.empty()) {
      EXPECT_TRUE(boxes_.empty());
    } else {
      const DialogRecord box = OnlyBox();
      EXPECT_EQ(box.title, c.title);
      EXPECT_NE(box.text.find("\"" + c.answer + "\""), std::string::npos) << box.text;
    }
    if (c.result == 0) {
      EXPECT_EQ(BFA_OpenedCRC32[0x10], 0xCBF43926u);
      EXPECT_EQ(QBR1.size(), 9u);
    } else if (c.mode >= 0) {
      EXPECT_EQ(QBR1, std::vector<char>{42});
      EXPECT_EQ(BFA_OpenedCRC32[0x10], 0u);
    }
  }
}

// A caller can try a file before giving up the image a channel holds, and install it afterwards.
TEST_F(BfaTest, ReadFileThenLoadFromReplacesTheImageOnlyOnSuccess) {
  const std::string rom = Scratch("new.smc");
  WriteFileBytes(rom, {'1', '2', '3', '4', '5', '6', '7', '8', '9'});
  Channel(0x10, 1, {1, 2, 3});
  BFA_OpenedCRC32[0x10] = 0x1111;

  BFA_LoadedFile file;
  file.bytes = {9};
  EXPECT_FALSE(BFA_ReadFile(Scratch("missing").c_str(), file));
  EXPECT_EQ(OnlyBox().title, "Error opening file!");
  EXPECT_EQ(file.bytes, std::vector<char>{9});
  EXPECT_EQ(QBR1, (std::vector<char>{1, 2, 3}));

  ASSERT_TRUE(BFA_ReadFile(rom.c_str(), file));
  EXPECT_EQ(file.crc, 0xCBF43926u);
  EXPECT_EQ(QBR1, (std::vector<char>{1, 2, 3}));  // the channel is not touched yet

  BFA_Activate(0x10, 2);  // a mode that may not load: refused, file kept
  EXPECT_FALSE(BFA_LoadFrom(rom.c_str(), std::move(file)));
  EXPECT_EQ(OnlyBox().title, "Load Operation Denied");
  EXPECT_EQ(file.bytes.size(), 9u);

  BFA_Activate(0x10, 1);
  ASSERT_TRUE(BFA_LoadFrom(rom.c_str(), std::move(file)));
  EXPECT_EQ(QBR1, (std::vector<char>{'1', '2', '3', '4', '5', '6', '7', '8', '9'}));
  EXPECT_EQ(BFA_OpenedCRC32[0x10], 0xCBF43926u);
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(BfaTest, SavingRefusesWhatCannotTakeTheWholeBuffer) {
  const std::string fifo = Scratch("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  struct Case {
    std::string path;
    const char* title;
  };
  const Case cases[] = {{Scratch("no/dir/out.bin"), "Error saving file!"},
                        {dir_, "Error saving file!"},
                        {fifo, "Error saving file!"},  // no reader: must not hang
                        {"/dev/full", "Error saving file!"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    Channel(0x02, 1, std::vector<char>(100, 'q'));
    boxes_.clear();
    EXPECT_FALSE(BFA_Save(c.path.c_str()));
    const DialogRecord box = OnlyBox();
    EXPECT_EQ(box.title, c.title);
    EXPECT_EQ(box.text, "Could not create \"" + c.path + "\".");
  }
}
