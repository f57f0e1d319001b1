#include <gtest/gtest.h>

#include "platform/dialog_backend.h"
#include "tests/platform/dialog_fixture.h"

namespace {

using ScriptedDialogTest = DialogTest;

struct Step {
  BoxKind kind;
  std::string expected;  // PlatformShowBox's answer, or the path for Open
};

std::string Show(const Step& step) {
  if (step.kind == BoxKind::Open) return PlatformOpenFileDialog("Open", {{"ROM image", "*.smc"}});
  return PlatformShowBox(step.kind, "T", "X");
}

TEST_F(ScriptedDialogTest, AnswersAreConsumedInOrderThenDefaultsApply) {
  UseScript("yes\nno\nok\n/roms/a b.smc\ncancel\nmaybe\n\ncancel\r\nyes");
  const Step steps[] = {
      {BoxKind::Question, "yes"},
      {BoxKind::Question, "no"},
      {BoxKind::Error, "ok"},
      {BoxKind::Open, "/roms/a b.smc"},
      {BoxKind::Open, ""},         // "cancel"
      {BoxKind::Question, "no"},   // "maybe" is no answer of a question
      {BoxKind::Info, "ok"},       // empty line
      {BoxKind::About, "cancel"},  // carriage return dropped
      {BoxKind::Question, "yes"},  // last line without a newline
      // The answers ran out: every kind takes its default.
      {BoxKind::Question, "no"},
      {BoxKind::Warning, "ok"},
      {BoxKind::About, "ok"},
      {BoxKind::Open, ""},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    EXPECT_EQ(Show(steps[i]), steps[i].expected) << "box " << i;
  }
  EXPECT_EQ(LogLines().size(), std::size(steps));
}

TEST_F(ScriptedDialogTest, PlainBoxesConsumeALineEach) {
  UseScript("yes\nyes\n");
  EXPECT_EQ(PlatformShowBox(BoxKind::Error, "T", "X"), "ok");
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "T", "X"), "yes");
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "T", "X"), "no");
}

TEST_F(ScriptedDialogTest, NamingAnotherScriptStartsFromItsFirstLine) {
  UseScript("yes\nno\n");
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "T", "X"), "yes");
  UseScript("yes\n");
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "T", "X"), "yes");
}

TEST_F(ScriptedDialogTest, MissingScriptFileAnswersDefaults) {
  setenv("QBRRE_DIALOG_SCRIPT", Path("absent.txt").c_str(), 1);
  PlatformChooseDialogBackend();
  EXPECT_EQ(PlatformShowBox(BoxKind::Question, "T", "X"), "no");
  EXPECT_EQ(PlatformOpenFileDialog("Open", {}), "");
}

TEST_F(ScriptedDialogTest, LogHoldsOneExactJsonLinePerBox) {
  UseScript("yes\n/tmp/q\"uote.smc\n");
  PlatformShowBox(BoxKind::Question, "Say \"yes\"", "line 1\nline 2\ttab \\ back");
  PlatformOpenFileDialog("Open ROM", {{"SNES ROM", "*.smc;*.sfc"}, {"All", "*"}});
  PlatformShowBox(BoxKind::Crash, "c", "d");
  const std::vector<std::string> expected = {
      R"({"kind": "question", "title": "Say \"yes\"", "text": "line 1\nline 2\ttab \\ back", "answer": "yes"})",
      R"x({"kind": "open", "title": "Open ROM", "text": "SNES ROM (*.smc;*.sfc)\nAll (*)", "answer": "/tmp/q\"uote.smc"})x",
      R"({"kind": "crash", "title": "c", "text": "d", "answer": "Quit Without Saving"})",
  };
  EXPECT_EQ(LogLines(), expected);
}

TEST(JsonEscape, EscapesEverythingJsonForbids) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"a\"b\\c", "a\\\"b\\\\c"},
      {"\r\n\t\b\f", "\\r\\n\\t\\b\\f"},
      {std::string("\x01\x1f\x7f", 3), "\\u0001\\u001F\\u007F"},
      {std::string("nul\0end", 7), "nul\\u0000end"},
      {"caf\xC3\xA9 \xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC"},  // UTF-8 kept
      {"\xFF\xC3", "\\u00FF\\u00C3"},                            // stray bytes, cut sequence
      {"\xE2\x82", "\\u00E2\\u0082"},
      {"\xF0\x9F\x98\x80 \xED\x9F\xBF \xF4\x8F\xBF\xBF", "\xF0\x9F\x98\x80 \xED\x9F\xBF \xF4\x8F\xBF\xBF"},
      // Overlong forms, a surrogate and a code point beyond U+10FFFF are not UTF-8.
      {"\xE0\x80\xAF", "\\u00E0\\u0080\\u00AF"},
      {"\xF0\x80\x80\xAF", "\\u00F0\\u0080\\u0080\\u00AF"},
      {"\xED\xA0\x80", "\\u00ED\\u00A0\\u0080"},
      {"\xF4\x90\x80\x80", "\\u00F4\\u0090\\u0080\\u0080"},
  };
  for (const Case& c : cases) EXPECT_EQ(JsonEscape(c.in), c.out) << c.out;
}

TEST(JsonEscape, BoundedWriteStopsBeforeAPieceThatDoesNotFit) {
  char out[5];
  EXPECT_EQ(JsonEscapeInto("ab\"c", 4, out, sizeof out), 4u);
  EXPECT_STREQ(out, "ab\\\"");
  EXPECT_EQ(JsonEscapeInto("\x01", 1, out, sizeof out), 0u);  // an escape of six bytes does not fit
  EXPECT_STREQ(out, "");
}

}  // namespace
