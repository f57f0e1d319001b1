#include <gtest/gtest.h>

#include "tests/platform/dialog_fixture.h"

namespace {

using InProcessScriptTest = DialogTest;

TEST_F(InProcessScriptTest, SeesEveryBoxInPlaceOfTheScriptFile) {
  UseScript("yes\n");
  std::vector<DialogRecord> seen;
  PlatformUseScriptedDialogs([&](const DialogRecord& record) {
    seen.push_back(record);
    return record.kind == BoxKind::Open ? "/x.smc" : "yes";
  });
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "Title", "Text"), "yes");
  EXPECT_EQ(PlatformShowBox(BoxKind::Error, "E", "e"), "ok");  // a plain box only knows ok
  EXPECT_EQ(PlatformOpenFileDialog("Open", {{"ROM", "*.smc"}}), "/x.smc");
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].kind, BoxKind::Question);
  EXPECT_EQ(seen[0].title, "Title");
  EXPECT_EQ(seen[0].text, "Text");
  EXPECT_EQ(seen[0].answer, "");
  EXPECT_EQ(seen[2].kind, BoxKind::Open);
  // The script file was not touched, and the log still has every box.
  PlatformChooseDialogBackend();
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "T", "X"), "yes");
  EXPECT_EQ(LogLines().size(), 4u);
}

TEST_F(InProcessScriptTest, EmptyAnswerCancelsTheFileDialog) {
  PlatformUseScriptedDialogs([](const DialogRecord&) { return std::string(); });
  EXPECT_EQ(PlatformOpenFileDialog("Open", {}), "");
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "T", "X"), "no");
}

TEST_F(InProcessScriptTest, DesktopBackendTakesAnUnreachableDisplayForNone) {
  setenv("DISPLAY", ":9999", 1);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "Q", "Go on?"), "no");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[question] Q\nGo on?\n(answered: no)\n");
}

TEST_F(InProcessScriptTest, DesktopBackendWithoutDisplayPrintsBoxesOnStderrWithTheirDefault) {
  unsetenv("DISPLAY");
  setenv("QBRRE_DIALOG_LOG", Path("log.jsonl").c_str(), 1);
  struct Case {
    BoxKind kind;
    std::string answer, printed;
  };
  const Case cases[] = {
      {BoxKind::Error, "ok", "[error] Load Error\nNo file.\n(answered: ok)\n"},
      {BoxKind::Question, "no", "[question] Q\nGo on?\n(answered: no)\n"},
  };
  for (const Case& c : cases) {
    ::testing::internal::CaptureStderr();
    std::string title = c.kind == BoxKind::Error ? "Load Error" : "Q";
    std::string text = c.kind == BoxKind::Error ? "No file." : "Go on?";
    EXPECT_EQ(PlatformShowBox(c.kind, title, text), c.answer);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.printed);
  }
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(PlatformOpenFileDialog("Open", {}), "");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[open] Open\n\n(answered: cancel)\n");
  EXPECT_EQ(LogLines().size(), 3u);
}

}  // namespace
