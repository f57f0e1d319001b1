#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <exception>

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
  };
  const Case cases[] = {
      {"SIGSEGV", [] { raise(SIGSEGV); }}, {"SIGBUS", [] { raise(SIGBUS); }},
      {"SIGFPE", [] { raise(SIGFPE); }},   {"SIGILL", [] { raise(SIGILL); }},
      {"abort", [] { std::abort(); }},     {"terminate", [] { std::terminate(); }},
      {"null write", WriteThroughNull},    {"stack overflow", OverflowTheStack},
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
        ::testing::ExitedWithCode(0), "");
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
      ::testing::ExitedWithCode(0), "");
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
      ::testing::ExitedWithCode(0), "QBRRE - Program Crash!!\nWhile running");
  EXPECT_EQ(LogLines(), std::vector<std::string>{CrashLine("Quit Without Saving")});
}

}  // namespace
