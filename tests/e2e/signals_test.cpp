#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "e2e_support.h"

namespace fs = std::filesystem;

// SIGTERM, SIGINT and SIGHUP close the editor the way Escape does: through the
// close message and the main thread's handshake, with exit code 0 and the
// configuration written; never through Allegro's own handler and a crash.

namespace {

using Clock = std::chrono::steady_clock;

struct SignalCase {
  const char* name;
  int sig;
};
constexpr SignalCase kCloseSignals[] = {{"SIGTERM", SIGTERM}, {"SIGINT", SIGINT}, {"SIGHUP", SIGHUP}};

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

int Crashes(const e2e::App& app) {
  int n = 0;
  for (const e2e::DialogLogEntry& entry : app.DialogLog()) n += entry.kind == "crash";
  return n;
}

// Waits until the window has left its start-up size (the level editor is shown).
bool WaitForEditor(const e2e::App& app, double timeout_s = 15.0) {
  const auto start = Clock::now();
  do {
    int x = 0, y = 0, w = 0, h = 0;
    if (app.Geometry(x, y, w, h) && w > 520) return true;
    e2e::Sleep(50);
  } while (SecondsSince(start) < timeout_s);
  return false;
}

// True when the main thread of `pid` blocks `sig` (the SigBlk mask in /proc).
bool MainThreadHolds(pid_t pid, int sig) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("SigBlk:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (sig - 1) & 1) != 0;
  return false;
}

// Opens the answer FIFO for writing once the program has opened it for reading,
// that is once a message box is up and waiting for its answer; -1 on timeout.
int WaitForBoxReading(const fs::path& fifo, double timeout_s = 30.0) {
  const auto start = Clock::now();
  do {
    const int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) return fd;
    e2e::Sleep(20);
  } while (SecondsSince(start) < timeout_s);
  return -1;
}

TEST(CloseSignalE2E, TheEditorClosesThroughTheClosePath) {
  if (!e2e::HaveDisplay()) GTEST_SKIP() << "DISPLAY is not set";
  for (const SignalCase& c : kCloseSignals) {
    SCOPED_TRACE(c.name);
    e2e::LaunchOptions options;
    options.args = {"--demo"};
    e2e::App app(options);
    ASSERT_TRUE(app.WaitForWindow()) << app.Stderr();
    ASSERT_TRUE(app.WaitForDialog("info", 30.0)) << app.Stderr();
    ASSERT_TRUE(WaitForEditor(app)) << app.Stderr();
    ASSERT_EQ(kill(app.pid(), c.sig), 0);
    EXPECT_EQ(app.WaitForExit(3.0), 0) << app.Stderr();
    EXPECT_EQ(Crashes(app), 0);
    EXPECT_EQ(app.Stderr().find("Shutting down Allegro"), std::string::npos) << app.Stderr();
    // The Open wrote the seeded view keys to the settings file at once.
    const std::string ini = ReadFile(fs::path(app.workdir()) / "Configuration.INI");
    EXPECT_NE(ini.find("[LevelDisplay]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Enable = Yes"), std::string::npos) << ini;
  }
}

// A signal during start-up waits until the program is built, then closes it
// before the GUI and its automatic Open.
TEST(CloseSignalE2E, ASignalDuringStartUpEndsCleanly) {
  if (!e2e::HaveDisplay()) GTEST_SKIP() << "DISPLAY is not set";
  for (const SignalCase& c : kCloseSignals) {
    SCOPED_TRACE(c.name);
    e2e::LaunchOptions options;
    options.dialog_answers = {"cancel"};
    e2e::App app(options);
    const auto start = Clock::now();
    while (!MainThreadHolds(app.pid(), c.sig) && app.Running() && SecondsSince(start) < 10.0) e2e::Sleep(1);
    ASSERT_TRUE(MainThreadHolds(app.pid(), c.sig)) << app.Stderr();
    ASSERT_EQ(kill(app.pid(), c.sig), 0);
    EXPECT_EQ(app.WaitForExit(20.0), 0) << app.Stderr();
    EXPECT_TRUE(app.DialogLog().empty());  // neither a crash nor the Open's file dialog
  }
}

// The close waits for a message box the worker shows; answering it lets the close
// finish normally, and a second signal meanwhile ends the process at once.
TEST(CloseSignalE2E, CloseWaitsForAnOpenBoxAndASecondSignalEndsAtOnce) {
  if (!e2e::HaveDisplay()) GTEST_SKIP() << "DISPLAY is not set";
  const struct {
    const char* name;
    bool second_signal;
    int exit_code;
  } cases[] = {{"box answered", false, 0}, {"second signal", true, 128 + SIGTERM}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    e2e::LaunchOptions options;
    options.args = {"--demo"};
    e2e::App app(options);
    // The answers come through a FIFO, so the first box (the demo Open's alpha
    // notice) stays up until this test writes its answer.
    const fs::path script = fs::path(app.workdir()) / "dialog_script.txt";
    fs::remove(script);
    ASSERT_EQ(mkfifo(script.c_str(), 0600), 0);
    const int answers = WaitForBoxReading(script);
    ASSERT_GE(answers, 0) << app.Stderr();
    ASSERT_EQ(kill(app.pid(), SIGTERM), 0);
    e2e::Sleep(300);
    EXPECT_TRUE(app.Running());
    if (c.second_signal) {
      ASSERT_EQ(kill(app.pid(), SIGTERM), 0);
    } else {
      EXPECT_EQ(write(answers, "ok\n", 3), 3);
    }
    close(answers);
    EXPECT_EQ(app.WaitForExit(3.0), c.exit_code) << app.Stderr();
    const auto log = app.DialogLog();
    ASSERT_EQ(log.size(), c.second_signal ? 0u : 1u);
    if (!log.empty()) {
      EXPECT_EQ(log[0].kind, "info");
    }
  }
}

}  // namespace
