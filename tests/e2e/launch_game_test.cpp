#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "view_support.h"

namespace fs = std::filesystem;

// Launch Game (F5) on the demo image: the configured emulator command gets the
// image as Save would write it, and a command that cannot run is reported
// while the editor keeps running.

namespace {

class LaunchGameEndToEnd : public e2e::EndToEndTest {
 protected:
  void SetUp() override {
    e2e::EndToEndTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    dir_ = dir.path();
    // The program's temporary folder has blanks and quotes in its name.
    tmp_ = dir_ / "a \"quoted\" 'tmp' folder";
    fs::create_directories(tmp_);
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir) saved_tmpdir_ = tmpdir;
    setenv("TMPDIR", tmp_.c_str(), 1);
  }
  void TearDown() override {
    e2e::EndToEndTest::TearDown();
    if (saved_tmpdir_) setenv("TMPDIR", saved_tmpdir_->c_str(), 1);
    else if (!dir_.empty()) unsetenv("TMPDIR");
  }

  void Launch(const std::string& command) {
    e2e::LaunchOptions options;
    options.args = {"--demo"};
    options.configuration_ini = e2e::ConfigurationWith({}, "[Emulator]\nCommand = " + command + "\n");
    LaunchEditor(options);
  }

  static bool WaitFor(const std::function<bool()>& done) {
    const auto start = std::chrono::steady_clock::now();
    while (!done()) {
      if (std::chrono::steady_clock::now() - start > std::chrono::seconds(20)) return false;
      e2e::Hold(50);
    }
    return true;
  }

  fs::path dir_, tmp_;
  std::optional<std::string> saved_tmpdir_;
};

TEST_F(LaunchGameEndToEnd, F5HandsTheEmulatorTheImageAsSaveWouldWriteIt) {
  const fs::path script = dir_ / "emulator.sh";
  const fs::path copy = dir_ / "copy.smc";
  std::ofstream(script) << "#!/bin/sh\n"
                           "printf '%s\\n' \"$#\" \"$1\" > \"$2.args\"\n"
                           "cp \"$1\" \"$2.part\" && mv \"$2.part\" \"$2\"\n";
  chmod(script.c_str(), 0755);
  Launch(script.string() + " %f " + copy.string());
  if (HasFatalFailure()) return;
  e2e::Key("F5");
  ASSERT_TRUE(WaitFor([&] { return fs::exists(copy); })) << app->Stderr();
  std::ifstream in(copy, std::ios::binary);
  const std::vector<unsigned char> copied((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The demo has no edits: Save would write the image as built, without the
  // corrections the program makes in memory.
  EXPECT_TRUE(copied == e2e::Demo().rom) << "sizes " << copied.size() << " and " << e2e::Demo().rom.size();
  std::ifstream args(copy.string() + ".args");
  std::string count, first;
  std::getline(args, count);
  std::getline(args, first);
  EXPECT_EQ(count, "2");
  EXPECT_EQ(fs::path(first).parent_path().parent_path(), tmp_);
  // The game file goes once the emulator has ended; the editor runs on.
  EXPECT_TRUE(WaitFor([&] { return fs::is_empty(tmp_); }));
  EXPECT_TRUE(app->Running());
  e2e::Key("Escape");
  EXPECT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
}

// Closing the editor first leaves the game file to the emulator that still runs; the next start
// removes it once that emulator has ended.
TEST_F(LaunchGameEndToEnd, TheGameFileOutlivesTheEditorUntilTheEmulatorEnds) {
  const fs::path script = dir_ / "emulator.sh";
  const fs::path started = dir_ / "started", go = dir_ / "go";
  std::ofstream(script) << "#!/bin/sh\n"
                           "touch \"$2\"\n"
                           "while [ ! -e \"$3\" ]; do sleep 0.05; done\n";
  chmod(script.c_str(), 0755);
  Launch(script.string() + " %f " + started.string() + " " + go.string());
  if (HasFatalFailure()) return;
  e2e::Key("F5");
  ASSERT_TRUE(WaitFor([&] { return fs::exists(started); })) << app->Stderr();
  e2e::Key("Escape");
  EXPECT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
  std::vector<fs::path> folders;
  for (const auto& entry : fs::directory_iterator(tmp_)) folders.push_back(entry.path());
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_TRUE(fs::is_regular_file(folders[0] / "game.smc"));  // the emulator still has its game

  std::ofstream(go).close();  // the emulator ends with no editor to see it
  Launch(script.string() + " %f " + started.string() + " " + go.string());
  if (HasFatalFailure()) return;
  EXPECT_TRUE(WaitFor([&] { return fs::is_empty(tmp_); }));
  e2e::Key("Escape");
  EXPECT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
}

TEST_F(LaunchGameEndToEnd, AMissingCommandIsReportedAndTheEditorRunsOn) {
  Launch((dir_ / "no such emulator").string() + " %f");
  if (HasFatalFailure()) return;
  const size_t before = app->DialogLog().size();
  e2e::Key("F5");
  ASSERT_TRUE(app->WaitForDialogs(before + 1)) << app->Stderr();
  const e2e::DialogLogEntry box = app->DialogLog().back();
  EXPECT_EQ(box.kind, "error");
  EXPECT_EQ(box.title, "Launch Game");
  EXPECT_NE(box.text.find("mednafen"), std::string::npos) << box.text;
  EXPECT_TRUE(fs::is_empty(tmp_));
  EXPECT_TRUE(app->Running());
  e2e::Key("Escape");
  EXPECT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
}

}  // namespace
