#include <gtest/gtest.h>

#include <functional>

#include "platform/dialog_backend.h"
#include "tests/platform/dialog_fixture.h"

// The boxes that return text (list, save, folder, colour, one line of text) and
// the three-way question, through every backend but the desktop's.

namespace {

using ChooserDialogTest = DialogTest;

// One call of each new box, with fixed arguments.
struct Chooser {
  BoxKind kind;
  std::function<std::string()> show;
};

const std::vector<Chooser>& Choosers() {
  static const std::vector<Chooser> choosers = {
      {BoxKind::List,
       [] {
         return PlatformChooseFromList("Levels", "Pick one", {"Id", "Name"}, {{"0x16", "Jungle"}, {"0x17"}});
       }},
      {BoxKind::Save,
       [] {
         return PlatformSaveFileDialog("Save As", {{"ROM", "*.smc;*.sfc"}}, "game.smc");
       }},
      {BoxKind::Folder, [] { return PlatformChooseFolder("Output"); }},
      {BoxKind::Colour, [] { return PlatformChooseColour("Colour", "#10a0FF"); }},
      {BoxKind::Text, [] { return PlatformAskText("Name", "New name:", "old"); }},
      {BoxKind::YesNoCancel, [] { return PlatformAskYesNoCancel("Unsaved", "Save first?"); }},
  };
  return choosers;
}

const Chooser& Find(BoxKind kind) {
  for (const Chooser& c : Choosers()) {
    if (c.kind == kind) return c;
  }
  throw std::logic_error("no chooser");
}

TEST_F(ChooserDialogTest, SeamSeesWhatEachBoxShowsAndItsAnswerIsNormalised) {
  struct Case {
    BoxKind kind;
    std::string seamAnswer, returned, kindName, shownText;
  };
  const Case cases[] = {
      {BoxKind::List, "0x17", "0x17", "list", "Pick one\n0x16\tJungle\n0x17"},
      {BoxKind::List, "cancel", "", "list", "Pick one\n0x16\tJungle\n0x17"},
      {BoxKind::List, "", "", "list", "Pick one\n0x16\tJungle\n0x17"},
      {BoxKind::List, "300", "300", "list", "Pick one\n0x16\tJungle\n0x17"},  // a typed answer is not checked here
      {BoxKind::Save, "/out/a b.smc", "/out/a b.smc", "save", "ROM (*.smc;*.sfc)\nFile name: game.smc"},
      {BoxKind::Save, "cancel", "", "save", "ROM (*.smc;*.sfc)\nFile name: game.smc"},
      {BoxKind::Folder, "/out", "/out", "folder", ""},
      {BoxKind::Colour, "#a1b2c3", "#A1B2C3", "colour", "#10a0FF"},
      {BoxKind::Colour, "a1b2c3", "", "colour", "#10a0FF"},
      {BoxKind::Colour, "#a1b2c", "", "colour", "#10a0FF"},
      {BoxKind::Colour, "#a1b2c3d", "", "colour", "#10a0FF"},
      {BoxKind::Colour, "#g1b2c3", "", "colour", "#10a0FF"},
      {BoxKind::Text, "new name", "new name", "text", "New name:\nInitial: old"},
      {BoxKind::Text, "cancel", "", "text", "New name:\nInitial: old"},
      {BoxKind::YesNoCancel, "yes", "yes", "yesnocancel", "Save first?"},
      {BoxKind::YesNoCancel, "no", "no", "yesnocancel", "Save first?"},
      {BoxKind::YesNoCancel, "cancel", "cancel", "yesnocancel", "Save first?"},
      {BoxKind::YesNoCancel, "ok", "cancel", "yesnocancel", "Save first?"},
  };
  for (const Case& c : cases) {
    std::vector<DialogRecord> seen;
    PlatformUseScriptedDialogs([&](const DialogRecord& record) {
      seen.push_back(record);
      return c.seamAnswer;
    });
    EXPECT_EQ(Find(c.kind).show(), c.returned) << c.kindName << " answered " << c.seamAnswer;
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, c.kind);
    EXPECT_EQ(BoxKindName(seen[0].kind), c.kindName);
    EXPECT_EQ(seen[0].text, c.shownText);
  }
}

TEST_F(ChooserDialogTest, ScriptAnswersEachKindAndTheLogNamesItsKind) {
  UseScript("0x16\n/out/x y.smc\n/out\n#00ff00\nhello world\nno\ncancel\ncancel\ncancel\nrgb(0,255,0)\ncancel\nyes\n");
  const BoxKind order[] = {BoxKind::List,   BoxKind::Save, BoxKind::Folder,
                           BoxKind::Colour, BoxKind::Text, BoxKind::YesNoCancel};
  const std::string firstRound[] = {"0x16", "/out/x y.smc", "/out", "#00FF00", "hello world", "no"};
  // zenity's rgb() notation is read too, so a script can replay what the desktop printed.
  const std::string secondRound[] = {"", "", "", "#00FF00", "", "yes"};
  for (std::size_t i = 0; i < std::size(order); ++i) EXPECT_EQ(Find(order[i]).show(), firstRound[i]) << i;
  for (std::size_t i = 0; i < std::size(order); ++i) EXPECT_EQ(Find(order[i]).show(), secondRound[i]) << i;
  // Answers ran out: every new kind cancels.
  for (BoxKind kind : order) EXPECT_EQ(Find(kind).show(), kind == BoxKind::YesNoCancel ? "cancel" : "");

  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(lines[0],
            R"({"kind": "list", "title": "Levels", "text": "Pick one\n0x16\tJungle\n0x17", "answer": "0x16"})");
  EXPECT_EQ(lines[1], R"({"kind": "save", "title": "Save As", "text": "ROM (*.smc;*.sfc)\nFile name: game.smc", )"
                      R"("answer": "/out/x y.smc"})");
  EXPECT_EQ(lines[2], R"({"kind": "folder", "title": "Output", "text": "", "answer": "/out"})");
  EXPECT_EQ(lines[3], R"({"kind": "colour", "title": "Colour", "text": "#10a0FF", "answer": "#00FF00"})");
  EXPECT_EQ(lines[4],
            R"({"kind": "text", "title": "Name", "text": "New name:\nInitial: old", "answer": "hello world"})");
  EXPECT_EQ(lines[5], R"({"kind": "yesnocancel", "title": "Unsaved", "text": "Save first?", "answer": "no"})");
  // A cancelled text box logs "cancel", not an empty answer.
  EXPECT_EQ(lines[6],
            R"({"kind": "list", "title": "Levels", "text": "Pick one\n0x16\tJungle\n0x17", "answer": "cancel"})");
  EXPECT_EQ(lines[17], R"({"kind": "yesnocancel", "title": "Unsaved", "text": "Save first?", "answer": "cancel"})");
}

TEST_F(ChooserDialogTest, WithoutDisplayEachKindPrintsAndCancels) {
  unsetenv("DISPLAY");
  for (const Chooser& c : Choosers()) {
    ::testing::internal::CaptureStderr();
    std::string answer = c.show();
    std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, c.kind == BoxKind::YesNoCancel ? "cancel" : "") << BoxKindName(c.kind);
    EXPECT_EQ(printed.rfind(std::string("[") + BoxKindName(c.kind) + "] ", 0), 0u) << printed;
    EXPECT_NE(printed.find("(answered: cancel)\n"), std::string::npos) << printed;
  }
  EXPECT_EQ(PlatformAskYesNoCancel("Unsaved", "Save first?"), "cancel");
}

TEST(ZenityChooserArgs, EachBoxBuildsItsArgumentVector) {
  struct Case {
    const char* what;
    std::vector<std::string> built, expected;
  };
  const Case cases[] = {
      {"list: one cell per column, short rows padded, cells after --",
       ZenityListArgs("Levels", "Pick", {"Id", "Name"}, {{"0x16", "--help"}, {"0x17"}}),
       {"zenity", "--list", "--title=Levels", "--text=Pick", "--print-column=1", "--width=560", "--height=480",
        "--column=Id", "--column=Name", "--", "0x16", "--help", "0x17", ""}},
      {"list without columns still has one",
       ZenityListArgs("L", "", {}, {{"a", "b"}}),
       {"zenity", "--list", "--title=L", "--text=", "--print-column=1", "--width=560", "--height=480",
        "--column=", "--", "a"}},
      {"save: relative name in the folder",
       ZenitySaveArgs("Save", {{"ROM", "*.smc;*.sfc"}}, "/home/u", "a b.smc"),
       {"zenity", "--file-selection", "--save", "--confirm-overwrite", "--title=Save", "--filename=/home/u/a b.smc",
        "--file-filter=ROM | *.smc *.sfc"}},
      {"save: absolute name wins",
       ZenitySaveArgs("Save", {}, "/home/u", "/tmp/x.smc"),
       {"zenity", "--file-selection", "--save", "--confirm-overwrite", "--title=Save", "--filename=/tmp/x.smc"}},
      {"folder",
       ZenityFolderArgs("Out", "/w"),
       {"zenity", "--file-selection", "--directory", "--title=Out", "--filename=/w/"}},
      {"colour with a valid start",
       ZenityColourArgs("C", "#abcdef"),
       {"zenity", "--color-selection", "--title=C", "--color=#ABCDEF"}},
      {"colour with an invalid start", ZenityColourArgs("C", "abcdef"), {"zenity", "--color-selection", "--title=C"}},
      {"entry",
       ZenityTextArgs("T", "Name:", "-x"),
       {"zenity", "--entry", "--title=T", "--text=Name:", "--entry-text=-x"}},
      {"yes/no/cancel: closing the window is not No",
       ZenityBoxArgs(BoxKind::YesNoCancel, "T", "Q"),
       {"zenity", "--title=T", "--text=Q", "--no-markup", "--question", "--ok-label=Yes", "--cancel-label=Cancel",
        "--extra-button=No", "--icon-name=dialog-warning"}},
      {"yes/no/cancel on xmessage",
       XmessageBoxArgs(BoxKind::YesNoCancel, "T"),
       {"xmessage", "-title", "T", "-buttons", "Yes:10,No:11,Cancel:12", "-default", "Cancel", "-center", "-file",
        "-"}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.built, c.expected) << c.what;
}

TEST(ZenityChooserAnswers, ExitCodeAndOutputMapToTheAnswer) {
  struct Case {
    BoxKind kind;
    int status;
    std::string output, answer;
  };
  const Case cases[] = {
      {BoxKind::List, 0, "0x16\n", "0x16"},
      {BoxKind::List, 0, "", "cancel"},  // OK with no row chosen
      {BoxKind::List, 1, "0x16\n", "cancel"},
      {BoxKind::Save, 0, "/a/b c.smc\n", "/a/b c.smc"},
      {BoxKind::Folder, 1, "", "cancel"},
      {BoxKind::Text, 0, "typed text\n", "typed text"},
      {BoxKind::Colour, 0, "rgb(255,0,16)\n", "#FF0010"},
      {BoxKind::Colour, 0, "rgba(1,2,3,0.5)\n", "#010203"},
      {BoxKind::Colour, 0, "#00aaff\n", "#00AAFF"},
      {BoxKind::Colour, 0, "rgb(256,0,0)\n", "cancel"},
      {BoxKind::Colour, 0, "rgb(1,2)\n", "cancel"},
      {BoxKind::Colour, 0, "rgb(1,2,3)x\n", "cancel"},
      {BoxKind::Colour, 1, "rgb(1,2,3)\n", "cancel"},
      {BoxKind::YesNoCancel, 0, "", "yes"},
      {BoxKind::YesNoCancel, 1, "No\n", "no"},
      {BoxKind::YesNoCancel, 1, "", "cancel"},   // Cancel button or the window closed
      {BoxKind::YesNoCancel, 5, "", "cancel"},   // timeout
      {BoxKind::YesNoCancel, -1, "", "cancel"},  // killed
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ZenityAnswer(c.kind, c.status, c.output), c.answer) << BoxKindName(c.kind) << " " << c.output;
  }
  EXPECT_EQ(XmessageAnswer(BoxKind::YesNoCancel, 10), "yes");
  EXPECT_EQ(XmessageAnswer(BoxKind::YesNoCancel, 11), "no");
  EXPECT_EQ(XmessageAnswer(BoxKind::YesNoCancel, 12), "cancel");
  EXPECT_EQ(XmessageAnswer(BoxKind::YesNoCancel, 0), "cancel");
  EXPECT_EQ(XmessageAnswer(BoxKind::YesNoCancel, 1), "cancel");
}

}  // namespace

TEST_F(ChooserDialogTest, FormTakesOneValuePerFieldAndKeepsTheEmptyOnes) {
  struct Case {
    std::string answer;
    bool accepted;
    std::vector<std::string> values;
  };
  const Case cases[] = {
      {"snes9x|3|#00FF00", true, {"snes9x", "3", "#00FF00"}},
      {"|4|", true, {"emu %s", "4", "40FF40"}},  // empty fields keep the current values
      {"a b|c d|e|", false, {"emu %s", "2", "40FF40"}},  // one value too many
      {"x|y", false, {"emu %s", "2", "40FF40"}},         // one value too few
      {"cancel", false, {"emu %s", "2", "40FF40"}},
      {"", false, {"emu %s", "2", "40FF40"}},
  };
  for (const Case& c : cases) {
    std::vector<DialogRecord> seen;
    PlatformUseScriptedDialogs([&](const DialogRecord& record) {
      seen.push_back(record);
      return c.answer;
    });
    std::vector<FormField> fields = {{"Emulator", "emu %s"}, {"Scale", "2"}, {"Colour", "40FF40"}};
    EXPECT_EQ(PlatformAskForm("Settings", "Change:", fields), c.accepted) << c.answer;
    std::vector<std::string> values;
    for (const FormField& field : fields) values.push_back(field.value);
    EXPECT_EQ(values, c.values) << c.answer;
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(BoxKindName(seen[0].kind), std::string("form"));
    EXPECT_EQ(seen[0].text, "Change:\nEmulator: emu %s\nScale: 2\nColour: 40FF40");
  }
}

TEST_F(ChooserDialogTest, FormFromScriptLinesIsLoggedAndWithoutDisplayCancels) {
  UseScript("one|two\ncancel\n");
  std::vector<FormField> fields = {{"A", "1"}, {"B", "2"}};
  EXPECT_TRUE(PlatformAskForm("F", "", fields));
  EXPECT_EQ(fields[1].value, "two");
  EXPECT_FALSE(PlatformAskForm("F", "", fields));
  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], R"({"kind": "form", "title": "F", "text": "A: 1\nB: 2", "answer": "one|two"})");
  EXPECT_EQ(lines[1], R"({"kind": "form", "title": "F", "text": "A: one\nB: two", "answer": "cancel"})");

  PlatformUseStderrDialogs();
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(PlatformAskForm("F", "", fields));
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("[form] F\nA: one\nB: two\n(answered: cancel)"),
            std::string::npos);
  EXPECT_EQ(ZenityFormArgs("F", "Change:", fields),
            (std::vector<std::string>{"zenity", "--forms", "--title=F", "--text=Change:", "--separator=|",
                                      "--add-entry=A (now: one)", "--add-entry=B (now: two)"}));
}

// The question of labelled buttons: zenity's OK, extra and Cancel buttons (or
// xmessage's buttons) give the label chosen, a script answers a label in any
// case, and anything else (the window closed, no display) is the last button.
TEST_F(ChooserDialogTest, AChoiceAnswersTheLabelOfItsButton) {
  const std::vector<std::string> buttons = {"All", "This level", "Cancel"};
  EXPECT_EQ(ZenityChoiceArgs("Shared", "Change?", buttons),
            (std::vector<std::string>{"zenity", "--question", "--title=Shared", "--text=Change?", "--no-markup",
                                      "--icon-name=dialog-question", "--ok-label=All", "--cancel-label=Cancel",
                                      "--extra-button=This level"}));
  EXPECT_EQ(XmessageChoiceArgs("Shared", buttons),
            (std::vector<std::string>{"xmessage", "-title", "Shared", "-buttons", "All:10,This level:11,Cancel:12",
                                      "-default", "Cancel", "-center", "-file", "-"}));
  struct Desktop {
    int status;
    std::string output, answer;
  };
  for (const Desktop& d : {Desktop{0, "", "All"}, Desktop{1, "This level\n", "This level"}, Desktop{1, "", "Cancel"},
                           Desktop{1, "Other\n", "Cancel"}, Desktop{-1, "", "Cancel"}}) {
    EXPECT_EQ(ZenityChoiceAnswer(buttons, d.status, d.output), d.answer) << d.status << " " << d.output;
  }
  EXPECT_EQ(XmessageChoiceAnswer(buttons, 11), "This level");
  EXPECT_EQ(XmessageChoiceAnswer(buttons, 1), "Cancel");

  struct Scripted {
    std::string answer, returned;
  };
  for (const Scripted& s : {Scripted{"this LEVEL", "This level"}, Scripted{"all", "All"}, Scripted{"yes", "Cancel"},
                            Scripted{"", "Cancel"}}) {
    std::vector<DialogRecord> seen;
    PlatformUseScriptedDialogs([&](const DialogRecord& record) {
      seen.push_back(record);
      return s.answer;
    });
    EXPECT_EQ(PlatformAskChoice("Shared", "Change?", buttons), s.returned) << s.answer;
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(BoxKindName(seen[0].kind), std::string("choice"));
    EXPECT_EQ(seen[0].text, "Change?\nButtons: All / This level / Cancel");
  }
  UseScript("This level\n");
  EXPECT_EQ(PlatformAskChoice("Shared", "Change?", buttons), "This level");
  const std::vector<std::string> lines = LogLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), R"({"kind": "choice", "title": "Shared", "text": "Change?\nButtons: All / This level / Cancel", )"
                          R"("answer": "This level"})");
  unsetenv("DISPLAY");
  PlatformUseDesktopDialogs();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(PlatformAskChoice("Shared", "Change?", buttons), "Cancel");
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("[choice] Shared"), std::string::npos);
}
