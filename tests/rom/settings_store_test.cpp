#include "rom/settings_store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <filesystem>
#include <string>

#include "platform/allegro_include.h"
#include "platform/config_lock.h"
#include "rom/globaldata.h"
#include "tests/common/file_rights.h"
#include "tests/common/in_child.h"
#include "tests/rom/rom_support.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const char* section, const char* key) {
  ConfigGuard guard;
  return get_config_string(section, key, "(none)");
}

// The temporary files of the settings' writes left in the sandbox.
std::size_t TempFiles() {
  std::size_t n = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(fs::current_path()))
    n += e.path().filename().string().rfind(".qbrre-save-", 0) == 0;
  return n;
}

// Changes in several sections reach the settings file in one replacement (a second name of the old
// file keeps the old text) and Allegro's configuration in memory, also while a game configuration
// lies under it, which is not written.
TEST(SettingsStore, ChangesInSeveralSectionsAreOneReplacementAndReachMemory) {
  EventLog log;
  OpenSandbox sandbox(log);
  const std::string start = "[View]\nGrid = Yes\n\n[Music]\nFolder = /m\n\n[LevelDisplay]\n16 = 00000000\n";
  WriteText("GameConfig/game.INI", "[Engine]\nScale = 4\n");
  for (bool laid_over : {false, true}) {
    {
      ConfigGuard guard;
      override_config_file(nullptr);
      set_config_file("GameConfig/game.INI");
    }
    WriteText("Configuration.INI", start);
    fs::remove("old.INI");
    fs::create_hard_link("Configuration.INI", "old.INI");
    LoadSettings(laid_over ? SettingsLayer::OverGameConfig : SettingsLayer::Alone);
    std::string error;
    ASSERT_TRUE(StoreSettings(
        {{"View", {{"GridColour", "12EF34"}}}, {"Engine", {{"Scale", "2"}}}, {"Music", {{"Folder", std::nullopt}}}},
        error))
        << error;
    EXPECT_EQ(Read("View", "GridColour"), "12EF34") << laid_over;
    EXPECT_EQ(Read("Engine", "Scale"), "2") << laid_over;
    EXPECT_EQ(Read("Music", "Folder"), "(none)") << laid_over;
    EXPECT_EQ(
        ReadText("Configuration.INI"),
        "[View]\nGrid = Yes\nGridColour = 12EF34\n\n[Music]\n\n[LevelDisplay]\n16 = 00000000\n\n[Engine]\nScale = 2\n")
        << laid_over;
    EXPECT_EQ(ReadText("old.INI"), start) << laid_over;
    EXPECT_EQ(ReadText("GameConfig/game.INI"), "[Engine]\nScale = 4\n") << laid_over;
  }
  ConfigGuard guard;
  override_config_file(nullptr);
}

// A session that changes one setting (here the grid's colour, in [View]) keeps every other byte of
// the file the user wrote, and the program reads the other settings of such a file as it holds them.
TEST(SettingsStore, ChangingOneSettingKeepsEveryOtherByte) {
  EventLog log;
  OpenSandbox sandbox(log);
  // A '/' and 70,000 letters, built in place: g++ takes "/" + a long string for an overflow.
  std::string long_folder(70001, 'a');
  long_folder[0] = '/';
  struct Case {
    const char* name;
    std::string before;
    std::string after;
    const char* section;  // a setting the program reads from the file as it stands
    const char* key;
    std::string value;
  };
  const Case cases[] = {
      {"CRLF, comments and a bare key",
       "; mine\r\n# also mine\r\n[View]\r\nGrid = Yes\r\nBare\r\n\r\n[Emulator]\r\nCommand = emu %f\r\n",
       "; mine\r\n# also mine\r\n[View]\r\nGrid = Yes\r\nGridColour = 12EF34\r\nBare\r\n\r\n[Emulator]\r\nCommand = emu "
       "%f\r\n",
       "Emulator", "Command", "emu %f"},
      {"no blank lines between sections", "[Emulator]\nCommand = emu\n[View]\nGrid = No\n[Odd]\nKey=1\n",
       "[Emulator]\nCommand = emu\n[View]\nGrid = No\nGridColour = 12EF34\n[Odd]\nKey=1\n", "Odd", "Key", "1"},
      {"a Latin-1 byte at a line's end", "[Emulator]\nCommand = caf\xE9\n[View]\nGrid = No\n",
       "[Emulator]\nCommand = caf\xE9\n[View]\nGrid = No\nGridColour = 12EF34\n", "View", "Grid", "No"},
      {"a 70,000-character line", "[Music]\nFolder = " + long_folder + "\n[View]\nGrid = No\n",
       "[Music]\nFolder = " + long_folder + "\n[View]\nGrid = No\nGridColour = 12EF34\n", "Music", "Folder",
       long_folder},
      {"the key there already, and no line end at the file's end", "[View]\r\nGridColour = 000000\r\n[X]\r\nY = 1",
       "[View]\r\nGridColour = 12EF34\r\n[X]\r\nY = 1", "X", "Y", "1"},
      {"no such section, no line end at the end", "[Emulator]\r\nCommand = emu",
       "[Emulator]\r\nCommand = emu\r\n\r\n[View]\r\nGridColour = 12EF34\r\n", "Emulator", "Command", "emu"},
      {"no file", "", "[View]\nGridColour = 12EF34\n", "View", "Grid", "(none)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove("Configuration.INI");
    if (!c.before.empty()) WriteText("Configuration.INI", c.before);
    LoadSettings(SettingsLayer::Alone);
    EXPECT_EQ(Read(c.section, c.key), c.value);
    std::string error;
    ASSERT_TRUE(StoreSettings("View", {{"GridColour", "12EF34"}}, error)) << error;
    EXPECT_EQ(ReadText("Configuration.INI"), c.after);
    EXPECT_EQ(Read("View", "GridColour"), "12EF34");
    EXPECT_EQ(Read(c.section, c.key), c.value);
  }
  EXPECT_EQ(TempFiles(), 0u);
  EXPECT_TRUE(log.boxes.empty());
}

// A settings file that cannot be replaced (a full disk, here a file size limit below the new file's
// size; a read-only file; a read-only folder) stays whole and unchanged, the user is told once, and
// the changes hold in memory and reach the file with the first write that succeeds afterwards.
TEST(SettingsStore, AFileThatCannotBeWrittenStaysWholeAndTheUserIsToldOnce) {
  EventLog log;
  OpenSandbox sandbox(log);
  // As the file of the report: 4,090 bytes, ending in the entries of saved images.
  const std::string head = "; my settings\n[Emulator]\nCommand = emu %f\n[View]\nGrid = Yes\n[Music]\nFolder = /";
  const std::string tail = "\n[EditedImages]\n0BADF00D = QBR Demo.INI\n";
  const std::string before = head + std::string(4090 - head.size() - tail.size(), 'm') + tail;
  std::string want = before;
  want.replace(want.find("Grid = Yes"), 10, "Grid = No");
  want += "12345678 = QBR Demo.INI\n9ABCDEF0 = QBR Demo.INI\n";
  struct Case {
    const char* name;
    const char* folder;
    std::function<void()> refuse, allow;  // run in the child
    const char* says;
  };
  const Case cases[] = {
      {"full disk", "full",
       [] {
         std::signal(SIGXFSZ, SIG_IGN);
         rlimit r{4096, RLIM_INFINITY};
         setrlimit(RLIMIT_FSIZE, &r);
       },
       [] {
         rlimit r{RLIM_INFINITY, RLIM_INFINITY};
         setrlimit(RLIMIT_FSIZE, &r);
       },
       "writing failed"},
      {"read-only file", "file", [] { chmod("Configuration.INI", 0444); }, [] { chmod("Configuration.INI", 0644); },
       "read-only"},
      {"read-only folder", "folder",
       [] {
         chmod(".", 0555);
         DropFileOverrideRights();
       },
       [] { chmod(".", 0755); }, "temporary file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path folder = sandbox.dir() / c.folder;
    fs::create_directories(folder / "GameConfig");  // a portable folder: its own Configuration.INI
    fs::current_path(folder);
    WriteText("Configuration.INI", before);
    log.boxes.clear();
    const int code = InChild([&] {
      c.refuse();
      LoadSettings(SettingsLayer::Alone);
      RememberEditedImage(0x12345678, "GameConfig/QBR Demo.INI");
      RememberEditedImage(0x9ABCDEF0, "GameConfig/QBR Demo.INI");
      if (ReadText("Configuration.INI") != before || TempFiles() != 0) return 1;
      // Both entries in memory, one box that names the reason.
      if (Read("EditedImages", "12345678") != "QBR Demo.INI" || Read("EditedImages", "9ABCDEF0") != "QBR Demo.INI")
        return 2;
      if (log.boxes.size() != 1 || log.boxes[0].title != "Settings") return 3;
      const std::string& text = log.boxes[0].text;
      if (text.rfind("Configuration.INI could not be written:\n", 0) != 0 || text.find(c.says) == std::string::npos ||
          text.find("The file on disk was not changed") == std::string::npos)
        return 4;
      c.allow();
      std::string error;
      return StoreSettings("View", {{"Grid", "No"}}, error) ? 0 : 5;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadText("Configuration.INI"), want);
    EXPECT_EQ(TempFiles(), 0u);
    fs::current_path(sandbox.dir());
  }
}

// Two windows of the program on one folder, as two processes that each record saved images at once:
// every entry of both is on disk, whichever writes last; a window killed (kill -9) keeps on disk what
// it recorded and leaves no lock behind.
TEST(SettingsStore, TwoProcessesKeepEachOthersEntries) {
  EventLog log;
  OpenSandbox sandbox(log);
  WriteText("Configuration.INI", "[EditedImages]\r\n");
  constexpr unsigned kEach = 40;
  const pid_t other = fork();
  if (other == 0) {
    for (unsigned i = 0; i < kEach; ++i) RememberEditedImage(0x10000000 + i, "QBR Demo.INI");
    _exit(0);
  }
  for (unsigned i = 0; i < kEach; ++i) RememberEditedImage(0x20000000 + i, "QBR Demo.INI");
  int status = 0;
  ASSERT_EQ(waitpid(other, &status, 0), other);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // One that is killed while it holds the lock, after recording its entry.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t killed = fork();
  if (killed == 0) {
    RememberEditedImage(0x30000000, "QBR Demo.INI");
    SettingsFileLock lock("Configuration.INI");
    (void)!write(ready[1], "x", 1);
    pause();
    _exit(0);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  kill(killed, SIGKILL);
  waitpid(killed, &status, 0);
  close(ready[0]), close(ready[1]);
  RememberEditedImage(0x40000000, "QBR Demo.INI");

  const std::string text = ReadText("Configuration.INI");
  unsigned found = 0;
  for (unsigned i = 0; i < kEach; ++i) {
    for (unsigned base : {0x10000000u, 0x20000000u}) {
      char key[16];
      std::snprintf(key, sizeof key, "%08X", base + i);
      found += SettingValue(text, "EditedImages", key) == std::optional<std::string>("QBR Demo.INI");
    }
  }
  EXPECT_EQ(found, 2 * kEach);
  EXPECT_EQ(SettingValue(text, "EditedImages", "30000000"), "QBR Demo.INI");
  EXPECT_EQ(SettingValue(text, "EditedImages", "40000000"), "QBR Demo.INI");
  EXPECT_EQ(text.rfind("[EditedImages]\r\n", 0), 0u);
  EXPECT_TRUE(log.boxes.empty());
}

// Without the program (the commands without a window, code run on its own) changes stay in memory:
// no settings file is made or changed.
TEST(SettingsStore, WithoutFileWritesChangesStayInMemory) {
  EventLog log;
  OpenSandbox sandbox(log);
  UseSettingsFileWrites(false);
  std::string error;
  EXPECT_TRUE(StoreSettings("View", {{"Grid", "No"}}, error));
  EXPECT_EQ(Read("View", "Grid"), "No");
  EXPECT_FALSE(fs::exists("Configuration.INI"));
  EXPECT_TRUE(StoreNotedSettings(error));
  EXPECT_FALSE(fs::exists("Configuration.INI"));
}

}  // namespace
