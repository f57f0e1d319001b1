#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/crash.h"
#include "tests/platform/dialog_fixture.h"

namespace {

// Each crash runs in a child process (a death test), with the handler
// installed there and the scripted backend answering.
class CrashDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    // Forked without re-running the test, so the child uses this test's files.
    GTEST_FLAG_SET(death_test_style, "fast");
  }
};

std::string CrashLine(const std::string& answer) {
  return std::string(R"({"kind": "crash", "title": "QBRRE - Program Crash!!", "text": )") +
         R"("While running, an unknown exception has occured.\nQBRRE will terminate execution once this )" +
         R"(dialog is closed.\n\nYou may attempt one of the following recovery options:", "answer": ")" + answer +
         "\"}";
}

void WriteThroughNull() {
  volatile int* volatile nowhere = nullptr;
  *nowhere = 1;
}

// Recurses until the stack runs out; the handler then runs on its own stack.
// The frame is used after the call, so no compiler turns this into a loop.
volatile bool keepRecursing = true;

__attribute__((noinline)) void Recurse(volatile char* caller) {
  volatile char frame[512];
  frame[0] = static_cast<char>(caller != nullptr ? caller[0] + 1 : 0);
  if (!keepRecursing) return;
  Recurse(frame);
  frame[1] = frame[0];
}

void OverflowTheStack() { Recurse(nullptr); }

TEST_F(CrashDialogTest, FatalSignalsShowTheDialogUntilQuitWithoutSaving) {
  struct Case {
    const char* name;
    void (*crash)();
    int sig;  // the exit code is 128 + this
  };
  const Case cases[] = {
      {"SIGSEGV", [] { raise(SIGSEGV); }, SIGSEGV},       {"SIGBUS", [] { raise(SIGBUS); }, SIGBUS},
      {"SIGFPE", [] { raise(SIGFPE); }, SIGFPE},          {"SIGILL", [] { raise(SIGILL); }, SIGILL},
      {"abort", [] { std::abort(); }, SIGABRT},           {"terminate", [] { std::terminate(); }, SIGABRT},
      {"null write", WriteThroughNull, SIGSEGV},          {"stack overflow", OverflowTheStack, SIGSEGV},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UseScript("Save Changes to IPS patch and... Restart\nwhatever\nQuit Without Saving\nok\n");
    std::remove(Path("log.jsonl").c_str());
    EXPECT_EXIT(
        {
          InstallCrashHandler();
          c.crash();
        },
        ::testing::ExitedWithCode(128 + c.sig), "");
    const std::vector<std::string> expected = {CrashLine("Save Changes to IPS patch and... Restart"),
                                               CrashLine("whatever"), CrashLine("Quit Without Saving")};
    EXPECT_EQ(LogLines(), expected);
  }
}

TEST_F(CrashDialogTest, AnswersRunningOutQuitWithoutSaving) {
  UseScript("");
  EXPECT_EXIT(
      {
        InstallCrashHandler();
        raise(SIGSEGV);
      },
      ::testing::ExitedWithCode(128 + SIGSEGV), "");
  EXPECT_EQ(LogLines(), std::vector<std::string>{CrashLine("Quit Without Saving")});
}

TEST_F(CrashDialogTest, WithoutDisplayOrScriptTheDialogIsPrintedAndQuits) {
  unsetenv("DISPLAY");
  setenv("QBRRE_DIALOG_LOG", Path("log.jsonl").c_str(), 1);
  EXPECT_EXIT(
      {
        InstallCrashHandler();
        raise(SIGSEGV);
      },
      ::testing::ExitedWithCode(128 + SIGSEGV), "QBRRE - Program Crash!!\nWhile running");
  EXPECT_EQ(LogLines(), std::vector<std::string>{CrashLine("Quit Without Saving")});
}

// The keeper runs once, before the dialog asks anything: a dialog that never returns keeps the work all
// the same.
TEST_F(CrashDialogTest, TheWorkKeeperRunsBeforeTheDialog) {
  UseScript("Quit Without Saving\n");
  static std::string marker, log;
  marker = Path("kept");
  log = Path("log.jsonl");
  std::remove(marker.c_str());
  std::remove(Path("log.jsonl").c_str());
  EXPECT_EXIT(
      {
        SetCrashWorkKeeper([] {
          // The log has no line yet: the dialog has not been shown.
          const bool before = !std::ifstream(log).good();
          if (FILE* f = std::fopen(marker.c_str(), "a")) {
            std::fputs(before ? "before\n" : "after\n", f);
            std::fclose(f);
          }
        });
        InstallCrashHandler();
        raise(SIGBUS);
      },
      ::testing::ExitedWithCode(128 + SIGBUS), "");
  std::ifstream kept(marker);
  std::stringstream text;
  text << kept.rdbuf();
  EXPECT_EQ(text.str(), "before\n");
  EXPECT_EQ(LogLines(), std::vector<std::string>{CrashLine("Quit Without Saving")});
}

}  // namespace
