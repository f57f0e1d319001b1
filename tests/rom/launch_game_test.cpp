#include "rom/launch_game.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bfa/bfa.h"
#include "platform/config_lock.h"
#include "platform/process_spawn.h"
#include "rom/image_edits.h"
#include "platform/allegro_include.h"
#include "tests/rom/rom_support.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

// An image opened in channel 0x10 (with the in-memory corrections' kind of
// difference from its file), a folder with spaces and quotes in its name as
// the temporary folder, and the environment and configuration put back after.
class LaunchGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tmp_ = sandbox_.dir() / "it's a \"tmp\" folder";
    fs::create_directories(tmp_);
    Remember("TMPDIR");
    Remember("PATH");
    setenv("TMPDIR", tmp_.c_str(), 1);
    file_.resize(0x8000);
    for (std::size_t i = 0; i < file_.size(); ++i) file_[i] = static_cast<unsigned char>(i * 7 + 3);
    BFA_Activate(0x10, 1);
    QBR1.assign(file_.begin(), file_.end());
    QBR1_ResetEdits(file_, 0);
    // A correction in memory only: Save (and so the launched game) leaves it out.
    QBR1[0x100] = 0xEE;
  }
  void TearDown() override {
    QBR1_ResetEdits({}, 0);
    BFA_ResetAll();
    for (const auto& [name, value] : saved_env_) {
      if (value.has_value()) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
    }
    SetCommand("");
  }
  void Remember(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    saved_env_.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
  }
  static void SetCommand(const std::string& command) {
    ConfigGuard guard;
    set_config_string("Emulator", "Command", command.empty() ? nullptr : command.c_str());
  }
  // A shell script at `path` that copies the game file to its second argument
  // (through a temporary name, so the copy appears whole) and notes how many
  // arguments it got and what the first was.
  static void WriteCopyScript(const fs::path& path) {
    WriteText(path,
              "#!/bin/sh\n"
              "printf '%s\\n' \"$#\" \"$1\" > \"$2.args\"\n"
              "cp \"$1\" \"$2.part\" && mv \"$2.part\" \"$2\"\n");
    chmod(path.c_str(), 0755);
  }
  static bool WaitFor(const std::function<bool()>& done) {
    const auto start = std::chrono::steady_clock::now();
    while (!done()) {
      if (std::chrono::steady_clock::now() - start > std::chrono::seconds(20)) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }
  bool TmpIsEmpty() const { return fs::is_empty(tmp_); }

  EventLog log_;
  OpenSandbox sandbox_{log_};
  fs::path tmp_;
  Bytes file_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_env_;
};

// The configured command gets the game file as one argument, whatever its path
// holds; the file is what Save would write (edits in, memory-only corrections
// out), and it is gone once the emulator has ended.
TEST_F(LaunchGameTest, CommandGetsTheSavedBytesAsOneArgumentAndTheFileGoesAfterwards) {
  const fs::path script = sandbox_.dir() / "copy game.sh";
  WriteCopyScript(script);
  const fs::path copy = sandbox_.dir() / "copy.smc";
  std::string command = "'";
  command += script.string();
  command += "' %f \"";
  command += copy.string();
  command += "\"";
  SetCommand(command);
  ASSERT_TRUE(QBR1_WriteByte(0x10, 0x42));
  ASSERT_TRUE(QBR1_WriteWord(0x7FFE, 0xBEEF));
  const std::vector<unsigned char> saved = QBR1_SavedFileBytes();
  ASSERT_NE(saved, file_);

  LaunchGame();
  ASSERT_TRUE(WaitFor([&] { return fs::exists(copy); })) << "the command never ran";
  const std::vector<char> copied = ReadWholeFile(copy);
  EXPECT_EQ(Bytes(copied.begin(), copied.end()), saved);
  EXPECT_EQ(static_cast<unsigned char>(copied[0x100]), file_[0x100]);
  EXPECT_EQ(static_cast<unsigned char>(copied[0x10]), 0x42);
  std::ifstream args(copy.string() + ".args");
  std::string count, first;
  std::getline(args, count);
  std::getline(args, first);
  EXPECT_EQ(count, "2");
  EXPECT_EQ(fs::path(first).parent_path().parent_path(), tmp_);
  EXPECT_TRUE(WaitFor([&] { return TmpIsEmpty(); })) << "the game file was not removed";
  EXPECT_TRUE(log_.boxes.empty());
}

// Without a configured command the first installed known emulator runs; with
// none installed, or a command that does not exist, a message says what to
// install and which key to set, and no file is left behind.
TEST_F(LaunchGameTest, EmulatorChoiceAndMessages) {
  const fs::path bin = sandbox_.dir() / "bin";
  fs::create_directories(bin);
  setenv("PATH", bin.c_str(), 1);

  LaunchGame();
  ASSERT_EQ(log_.boxes.size(), 1u);
  EXPECT_EQ(log_.boxes[0].title, "Launch Game");
  for (const char* word : {"mednafen", "ares", "Command", "[Emulator]", "Configuration.INI"})
    EXPECT_NE(log_.boxes[0].text.find(word), std::string::npos) << word;
  EXPECT_TRUE(TmpIsEmpty());

  SetCommand("/no/such/emulator --fullscreen %f");
  LaunchGame();
  ASSERT_EQ(log_.boxes.size(), 2u);
  EXPECT_EQ(log_.boxes[1].title, "Launch Game");
  EXPECT_NE(log_.boxes[1].text.find("/no/such/emulator"), std::string::npos) << log_.boxes[1].text;
  EXPECT_NE(log_.boxes[1].text.find("mednafen"), std::string::npos);
  EXPECT_TRUE(TmpIsEmpty());

  SetCommand("emulator 'unclosed %f");
  LaunchGame();
  ASSERT_EQ(log_.boxes.size(), 3u);
  EXPECT_NE(log_.boxes[2].text.find("quote"), std::string::npos) << log_.boxes[2].text;
  EXPECT_TRUE(TmpIsEmpty());

  // The second known emulator installed: it is the one chosen, the file its argument.
  SetCommand("");
  const fs::path copy = sandbox_.dir() / "copy.smc";
  WriteText(bin / kKnownEmulators[1], "#!/bin/sh\nPATH=/usr/bin:/bin exec '" + (sandbox_.dir() / "copy.sh").string() +
                                          "' \"$1\" '" + copy.string() + "'\n");
  chmod((bin / kKnownEmulators[1]).c_str(), 0755);
  WriteCopyScript(sandbox_.dir() / "copy.sh");
  std::string problem;
  const std::vector<std::string> command = EmulatorCommand("/x/game.smc", problem);
  EXPECT_EQ(command, (std::vector<std::string>{kKnownEmulators[1], "/x/game.smc"}));
  LaunchGame();
  ASSERT_TRUE(WaitFor([&] { return fs::exists(copy); }));
  const std::vector<char> copied = ReadWholeFile(copy);
  EXPECT_EQ(Bytes(copied.begin(), copied.end()), file_);
  EXPECT_TRUE(WaitFor([&] { return TmpIsEmpty(); }));
  EXPECT_EQ(log_.boxes.size(), 3u);
}

// %f is replaced inside words and everywhere it stands; a command without it
// gets the file as its last word.
TEST_F(LaunchGameTest, CommandWordsAndThePlaceOfTheFile) {
  struct Case {
    const char* command;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"emu %f", {"emu", "/t/g.smc"}},       {"emu --rom=%f -x", {"emu", "--rom=/t/g.smc", "-x"}},
      {"emu", {"emu", "/t/g.smc"}},          {"'my emu' \"-a b\" %f%f", {"my emu", "-a b", "/t/g.smc/t/g.smc"}},
      {"  emu\t %f  ", {"emu", "/t/g.smc"}},
  };
  for (const Case& c : cases) {
    SetCommand(c.command);
    std::string problem;
    EXPECT_EQ(EmulatorCommand("/t/g.smc", problem), c.words) << c.command;
  }
}

// The folder names the emulator once it runs, so that a folder it keeps past the editor's end is
// left alone while it runs; when it ends, the folder goes.
TEST_F(LaunchGameTest, TheGameFolderNamesTheRunningEmulator) {
  const fs::path script = sandbox_.dir() / "wait.sh";
  const fs::path pid_file = sandbox_.dir() / "pid", go = sandbox_.dir() / "go";
  WriteText(script,
            "#!/bin/sh\necho $$ > \"$2.part\" && mv \"$2.part\" \"$2\"\nwhile [ ! -e \"$3\" ]; do sleep 0.05; done\n");
  chmod(script.c_str(), 0755);
  // Built by append: g++ warns falsely (-Wrestrict) about a chain of operator+ on a literal.
  std::string command = "'";
  command.append(script.string()).append("' %f '").append(pid_file.string()).append("' '");
  command.append(go.string()).append("'");
  SetCommand(command);
  LaunchGame();
  ASSERT_TRUE(WaitFor([&] { return fs::exists(pid_file); })) << "the command never ran";
  const int pid = std::stoi(ReadText(pid_file));
  fs::path folder;
  for (const auto& entry : fs::directory_iterator(tmp_)) folder = entry.path();
  ASSERT_EQ(folder.filename().string().rfind("qbrre-game-", 0), 0u) << folder;
  EXPECT_TRUE(WaitFor([&] { return ReadText(folder / "emulator") == PlatformProcessIdentity(pid); }));
  RemoveEndedGameFiles();
  EXPECT_TRUE(fs::exists(folder / "game.smc"));
  WriteText(go, "");
  EXPECT_TRUE(WaitFor([&] { return TmpIsEmpty(); })) << "the game folder was not removed";
}

// What the next start removes: a game folder whose named process has ended (or whose number now
// belongs to a later process); never one whose process runs, one that names nothing, or another
// folder.
TEST_F(LaunchGameTest, AStartRemovesOnlyTheFoldersOfEndedEmulators) {
  const std::string me = PlatformProcessIdentity(getpid());
  ASSERT_FALSE(me.empty());
  // A process that has ended: started and waited for.
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  std::string ended_identity;
  {
    // Its identity while it waits to be reaped is "", so take the form from a running one.
    ended_identity = std::to_string(ended) + me.substr(me.find(' '));
    int status = 0;
    waitpid(ended, &status, 0);
  }
  struct Case {
    const char* name;
    std::string owner;  // "" writes no owner file
    bool stays;
  };
  const Case cases[] = {
      {"qbrre-game-running", me, true},
      {"qbrre-game-ended", ended_identity, false},
      {"qbrre-game-number-reused", std::to_string(getpid()) + " 1", false},
      {"qbrre-game-unnamed", "", true},
      {"other-ended", ended_identity, true},
  };
  for (const Case& c : cases) {
    fs::create_directories(tmp_ / c.name);
    WriteText(tmp_ / c.name / "game.smc", "game");
    if (!c.owner.empty()) WriteText(tmp_ / c.name / "emulator", c.owner);
  }
  RemoveEndedGameFiles();
  for (const Case& c : cases) EXPECT_EQ(fs::exists(tmp_ / c.name), c.stays) << c.name;
}

}  // namespace
