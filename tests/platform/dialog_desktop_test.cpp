#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/dialog_backend.h"
#include "tests/platform/dialog_fixture.h"

namespace {

// Stands in fake zenity / xmessage programs (PATH holds nothing else) that
// record their arguments and stdin and answer with a given exit code and output.
class DesktopDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    if (!DisplayAvailable()) GTEST_SKIP() << "needs an X display (DISPLAY)";
    std::filesystem::create_directory(Path("bin"));
    setenv("PATH", Path("bin").c_str(), 1);
  }

  void FakeProgram(const std::string& name, int status, const std::string& output) {
    std::string file = Path("bin/" + name);
    WriteTextFile(file, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + Path(name + ".args") + "'\n/bin/cat > '" +
                            Path(name + ".stdin") + "'\nprintf '%s' '" + output + "'\nexit " + std::to_string(status) +
                            "\n");
    chmod(file.c_str(), 0755);
  }

  std::vector<std::string> Args(const std::string& name) {
    std::vector<std::string> lines;
    std::string all = ReadTextFile(Path(name + ".args"));
    std::size_t start = 0;
    for (std::size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1) {
      lines.push_back(all.substr(start, end - start));
    }
    return lines;
  }
};

TEST_F(DesktopDialogTest, ZenityGetsTheTextVerbatimAndItsExitCodeIsTheAnswer) {
  const std::string text = "Go on? $(touch pwned) `touch pwned2` \"q\" 'a' <b>&amp;";
  FakeProgram("zenity", 0, "");
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "Unknown ROM", text), "yes");
  const std::vector<std::string> expected = {
      "--title=Unknown ROM",       "--text=" + text, "--no-markup", "--question", "--ok-label=Yes", "--cancel-label=No",
      "--icon-name=dialog-warning"};
  EXPECT_EQ(Args("zenity"), expected);
  EXPECT_FALSE(std::filesystem::exists("pwned"));
  EXPECT_FALSE(std::filesystem::exists("pwned2"));

  FakeProgram("zenity", 1, "");
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "Unknown ROM", text), "no");
  FakeProgram("zenity", 1, "");
  EXPECT_EQ(PlatformShowBox(BoxKind::Error, "E", "e"), "ok");
}

TEST_F(DesktopDialogTest, FileChooserGetsOneFilterPerEntryAndKeepsTheWorkingDirectory) {
  auto before = std::filesystem::current_path();
  FakeProgram("zenity", 0, "/picked/rom file.smc\n");
  EXPECT_EQ(PlatformOpenFileDialog("Open a ROM", {{"SNES ROM", "*.smc;*.sfc"}, {"All files", "*"}}),
            "/picked/rom file.smc");
  const std::vector<std::string> expected = {"--file-selection", "--title=Open a ROM",
                                             "--filename=" + before.string() + "/",
                                             "--file-filter=SNES ROM | *.smc *.sfc", "--file-filter=All files | *"};
  EXPECT_EQ(Args("zenity"), expected);
  EXPECT_EQ(std::filesystem::current_path(), before);

  FakeProgram("zenity", 1, "");
  EXPECT_EQ(PlatformOpenFileDialog("Open a ROM", {}), "");
}

TEST_F(DesktopDialogTest, WithoutZenityXmessageReadsTheTextFromStdin) {
  FakeProgram("xmessage", 1, "");
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "-title", "-fn x\nsecond line"), "no");
  const std::vector<std::string> expected = {"-title", "-title",  "-buttons", "Yes:0,No:1", "-default",
                                             "No",     "-center", "-file",    "-"};
  EXPECT_EQ(Args("xmessage"), expected);
  EXPECT_EQ(ReadTextFile(Path("xmessage.stdin")), "-fn x\nsecond line");
  FakeProgram("xmessage", 0, "");
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "Q", "q"), "yes");
}

TEST_F(DesktopDialogTest, ListRowsArriveAsArgumentsAndTheChosenFirstColumnComesBack) {
  FakeProgram("zenity", 0, "0x17\n");
  const std::string cell = "$(touch pwned) 'q\"";
  EXPECT_EQ(PlatformChooseFromList("Levels", "Pick", {"Id", "Name"}, {{"0x16", "--version"}, {"0x17", cell}}), "0x17");
  const std::vector<std::string> expected = {"--list",      "--title=Levels", "--text=Pick", "--print-column=1",
                                             "--width=560", "--height=480",   "--column=Id", "--column=Name",
                                             "--",          "0x16",           "--version",   "0x17",
                                             cell};
  EXPECT_EQ(Args("zenity"), expected);
  EXPECT_FALSE(std::filesystem::exists("pwned"));
  FakeProgram("zenity", 1, "");
  EXPECT_EQ(PlatformChooseFromList("Levels", "Pick", {"Id"}, {{"0x16"}}), "");
}

TEST_F(DesktopDialogTest, TextBoxesHaveNoXmessageFormButYesNoCancelHas) {
  FakeProgram("xmessage", 11, "");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(PlatformAskText("T", "Name:", ""), "");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[text] T\nName:\n(answered: cancel)\n");
  EXPECT_FALSE(std::filesystem::exists(Path("xmessage.args")));
  EXPECT_EQ(PlatformAskYesNoCancel("Unsaved", "Save first?"), "no");
  EXPECT_EQ(ReadTextFile(Path("xmessage.stdin")), "Save first?");
}

TEST_F(DesktopDialogTest, WithNeitherProgramTheBoxFallsBackToStderr) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "Q", "q"), "no");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[question] Q\nq\n(answered: no)\n");
}

TEST(DesktopAnswers, CrashButtonsMapFromExitCodesAndOutput) {
  const std::vector<std::string>& choices = CrashChoices();
  ASSERT_EQ(choices.size(), 5u);
  EXPECT_EQ(choices.back(), "Quit Without Saving");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(XmessageAnswer(BoxKind::Crash, 10 + i), choices[static_cast<std::size_t>(i)]);
  EXPECT_EQ(XmessageAnswer(BoxKind::Crash, 1), "");
  EXPECT_EQ(ZenityAnswer(BoxKind::Crash, 0, choices[1] + "\n"), choices[1]);
  EXPECT_EQ(ZenityAnswer(BoxKind::Crash, 1, ""), "");
  std::vector<std::string> args = ZenityBoxArgs(BoxKind::Crash, "T", "X");
  EXPECT_EQ(std::vector<std::string>(args.end() - 5, args.end()), choices);
}

}  // namespace
