#include <gtest/gtest.h>

#include "tests/platform/dialog_fixture.h"

namespace {

// Chooses the stderr backend for one test; the fixture restores the desktop
// backend after it, also when an assertion fails.
class StderrChosenTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    PlatformUseStderrDialogs();
  }
};

// A command without a window prints its boxes and takes their defaults even when
// an answer script is named (the start-up chose it), which stays unread for the
// program that owns it.
TEST_F(StderrChosenTest, BoxesArePrintedAndLoggedWithTheirDefaultsAndTheScriptIsLeft) {
  UseScript("yes\n/roms/a.smc\n");
  PlatformUseStderrDialogs();
  testing::internal::CaptureStderr();
  const std::string question = PlatformShowBox(BoxKind::Question, "Q", "Go on?");
  const std::string open = PlatformOpenFileDialog("Open", {{"ROM image", "*.smc"}});
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(question, "no");
  EXPECT_EQ(open, "");
  EXPECT_EQ(printed, "[question] Q\nGo on?\n(answered: no)\n[open] Open\nROM image (*.smc)\n(answered: cancel)\n");
  const std::vector<std::string> expected = {
      R"({"kind": "question", "title": "Q", "text": "Go on?", "answer": "no"})",
      R"x({"kind": "open", "title": "Open", "text": "ROM image (*.smc)", "answer": "cancel"})x",
  };
  EXPECT_EQ(LogLines(), expected);

  PlatformChooseDialogBackend();
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "Q", "Go on?"), "yes");
}

TEST_F(StderrChosenTest, ChoosingTheScriptedBackendReplacesIt) {
  PlatformUseScriptedDialogs([](const DialogRecord&) { return std::string("yes"); });
  testing::internal::CaptureStderr();
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "Q", "Go on?"), "yes");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
