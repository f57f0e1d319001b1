#include "platform/process_spawn.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

TEST(SplitCommand, WordsQuotesAndEscapes) {
  struct Case {
    const char* line;
    bool ok;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"", true, {}},
      {"   \t ", true, {}},
      {"emu %f", true, {"emu", "%f"}},
      {"  emu\t-a   b  ", true, {"emu", "-a", "b"}},
      {"'my emu' %f", true, {"my emu", "%f"}},
      {"\"a \\\"b\\\" \\\\ \\c\"", true, {"a \"b\" \\ \\c"}},
      {"x'y z'\"w\"v", true, {"xy zwv"}},
      {"a\\ b c", true, {"a b", "c"}},
      {"''", true, {""}},
      {"emu ''", true, {"emu", ""}},
      {"'it''s'", true, {"its"}},
      {"emu 'open", false, {}},
      {"emu \"open", false, {}},
      {"emu \"open\\\"", false, {}},
      {"emu trailing\\", false, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> words{"left over"};
    EXPECT_EQ(PlatformSplitCommand(c.line, words), c.ok) << c.line;
    EXPECT_EQ(words, c.words) << c.line;
  }
}

// A folder with programs, removed afterwards; PATH is put back.
class SpawnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qbrre-spawn-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    const char* path = std::getenv("PATH");
    if (path) saved_path_ = path;
  }
  void TearDown() override {
    if (saved_path_) setenv("PATH", saved_path_->c_str(), 1);
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  fs::path Script(const std::string& name, const std::string& body, mode_t mode = 0755) {
    const fs::path p = dir_ / name;
    std::ofstream(p) << "#!/bin/sh\n" << body;
    chmod(p.c_str(), mode);
    return p;
  }
  fs::path dir_;
  std::optional<std::string> saved_path_;
};

TEST_F(SpawnTest, FindsProgramsThroughPathOrAsGiven) {
  const fs::path tool = Script("tool", "exit 0\n");
  Script("plain", "exit 0\n", 0644);
  fs::create_directories(dir_ / "folder");
  setenv("PATH", ("/nonexistent::" + dir_.string()).c_str(), 1);
  EXPECT_EQ(PlatformFindProgram("tool"), tool.string());
  EXPECT_EQ(PlatformFindProgram(tool.string()), tool.string());
  EXPECT_EQ(PlatformFindProgram("plain"), "");   // not executable
  EXPECT_EQ(PlatformFindProgram("folder"), "");  // not a file
  EXPECT_EQ(PlatformFindProgram("missing"), "");
  EXPECT_EQ(PlatformFindProgram((dir_ / "missing").string()), "");
  EXPECT_EQ(PlatformFindProgram(""), "");
}

// The child runs without waiting for it; the watcher reports its exit status,
// or 128 + the signal that ended it; a program that cannot run is reported at once.
TEST_F(SpawnTest, ReportsTheEndOfTheChildOrWhyItDidNotStart) {
  struct Case {
    std::string body;
    int status;
  };
  const Case cases[] = {{"exit 0\n", 0}, {"exit 3\n", 3}, {"kill -TERM $$\n", 128 + 15}};
  int n = 0;
  for (const Case& c : cases) {
    const fs::path p = Script("child" + std::to_string(n++), c.body);
    std::mutex m;
    std::condition_variable cv;
    std::optional<int> status;
    std::string error;
    ASSERT_TRUE(PlatformSpawnDetached({p.string()},
                                      [&](int s) {
                                        std::lock_guard<std::mutex> hold(m);
                                        status = s;
                                        cv.notify_all();
                                      },
                                      error))
        << error;
    std::unique_lock<std::mutex> hold(m);
    ASSERT_TRUE(cv.wait_for(hold, std::chrono::seconds(20), [&] { return status.has_value(); })) << c.body;
    EXPECT_EQ(*status, c.status) << c.body;
  }
  // Not found, not executable, not a program the system can run.
  const fs::path plain = Script("plain", "exit 0\n", 0644);
  const fs::path garbage = dir_ / "garbage";
  std::ofstream(garbage) << "\x7f" "ELF not really";
  chmod(garbage.c_str(), 0755);
  for (const std::string& program : {(dir_ / "missing").string(), plain.string(), garbage.string()}) {
    std::string error;
    bool ran = false;
    EXPECT_FALSE(PlatformSpawnDetached({program}, [&](int) { ran = true; }, error)) << program;
    EXPECT_NE(error.find(program), std::string::npos) << error;
    EXPECT_FALSE(ran);
  }
}

}  // namespace
