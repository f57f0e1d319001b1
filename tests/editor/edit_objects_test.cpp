#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "editor/edit_commands.h"
#include "editor/edit_tools.h"
#include "editor/status_message.h"
#include "gui/commands.h"
#include "editor/edit_objects.h"
#include "editor/view_transform.h"
#include "level/level_objects.h"
#include "platform/dialogs.h"
#include "rom/image_edits.h"
#include "tests/editor/editor_support.h"

// The definition list of the Objects mode: the configuration's named
// definitions and every one the image uses, and the answer written to the
// selected objects.

namespace {

using namespace editor_test;

const DemoImage& Demo() {
  static const DemoImage demo = BuildDemoImage(1);
  return demo;
}

class EditObjectsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAllegro();
    // One more named definition, which no object uses.
    std::string config = Demo().config;
    const std::string section = "[OBJs_Names0001]\n";
    config.insert(config.find(section) + section.size(), "2345 = Only Named\n");
    UseConfig(config);
    UseImage(Demo().rom);
    QBR1_ResetEdits(Demo().rom, 0);
    Get_QBR1_LevelDataStruct(0x16, lvl);
    RegisterEditCommands();  // fresh tools
  }
  void TearDown() override {
    PlatformUseDesktopDialogs();
    ClearStatusMessage();
    RecordListEditor<QBR1RawObject>::Clipboard().clear();
    QBR1_ResetEdits({}, 0);
    QBR1.clear();
  }
  Installed<CommandTable> commands;
  Installed<EditToolBox> tools;
  leveldata lvl;
};

}  // namespace

TEST_F(EditObjectsTest, RowsHoldNamedAndUsedDefinitions) {
  // What the builder placed: objects per definition over every built level (0x27 and 0x2E swap lists).
  std::map<unsigned, int> placed;
  for (const DemoLevel& level : Demo().levels) {
    for (const DemoObject& o : level.objects) ++placed[static_cast<unsigned>(o.zo)];
  }
  std::map<unsigned, ObjectDefinitionRow> rows;
  for (const ObjectDefinitionRow& row : ObjectDefinitionRows()) rows[row.zo] = row;
  for (const auto& [zo, count] : placed) {
    ASSERT_EQ(rows.count(zo), 1u) << std::hex << zo;
    EXPECT_EQ(rows[zo].uses, count) << std::hex << zo;
  }
  EXPECT_EQ(rows[0x1040].name, "Level Gate");
  EXPECT_EQ(rows[0x2345].name, "Only Named");
  EXPECT_EQ(rows[0x2345].uses, 0);
}

TEST_F(EditObjectsTest, AnswersAreDefinitionAddresses) {
  struct Case {
    const char* answer;
    bool ok;
    unsigned zo;
  };
  const Case cases[] = {{"1040", true, 0x1040}, {"0x2345", true, 0x2345}, {"ffff", true, 0xFFFF},
                        {"", false, 0},         {"12345", false, 0},     {"10G0", false, 0},
                        {"0x", false, 0}};
  for (const Case& c : cases) {
    unsigned zo = 0;
    EXPECT_EQ(ParseDefinitionAnswer(c.answer, zo), c.ok) << c.answer;
    if (c.ok) {
      EXPECT_EQ(zo, c.zo) << c.answer;
    }
  }
}

TEST_F(EditObjectsTest, TheChosenDefinitionGoesToTheSelectedObjects) {
  std::vector<DialogRecord> asked;
  PlatformUseScriptedDialogs([&](const DialogRecord& r) {
    asked.push_back(r);
    return std::string("2345");
  });
  RecordListEditor<QBR1RawObject> list;
  list.Sync(lvl, QBR1_EditGeneration(), false);
  const std::vector<QBR1ObjectRecord> before = QBR1_ReadObjectMap(lvl);
  ASSERT_GE(before.size(), 2u);
  list.Click(before[1].x, before[1].y - 1, false);
  ASSERT_EQ(list.SelectedCount(), 1u);
  ASSERT_TRUE(list.Selected(1));
  ChooseObjectDefinition(list);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].kind, BoxKind::List);
  EXPECT_EQ(asked[0].text.substr(0, asked[0].text.find('\n')), "Definition for the 1 selected object:");
  // The same object stays selected.
  EXPECT_EQ(list.SelectedCount(), 1u);
  EXPECT_TRUE(list.Selected(1));
  const std::vector<QBR1ObjectRecord> after = QBR1_ReadObjectMap(lvl);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].zo, i == 1 ? 0x2345 : before[i].zo);
    EXPECT_EQ(after[i].x, before[i].x);
  }
  // Cancelled: nothing changes.
  PlatformUseScriptedDialogs([](const DialogRecord&) { return std::string("cancel"); });
  const unsigned long long generation = QBR1_EditGeneration();
  ChooseObjectDefinition(list);
  EXPECT_EQ(QBR1_EditGeneration(), generation);
}

TEST_F(EditObjectsTest, APasteThatDoesNotFitSaysSoAndAFittingOneLandsAtTheMouse) {
  const int saved_x = mouse_x, saved_y = mouse_y;
  {
    CCamera camera(0x16);
    EditToolsAttach(camera);
    ASSERT_TRUE(ChooseEditTool(kCmdModifyObjects));
    ASSERT_TRUE(EditSelectAll());
    const std::size_t count = CurrentEditTool()->Selection()->SelectedCount();
    ASSERT_GT(count, 1u);
    ASSERT_TRUE(EditCopy());
    const std::vector<unsigned char> before(QBR1.begin(), QBR1.end());
    ClearStatusMessage();
    EXPECT_FALSE(EditPaste());
    EXPECT_NE(StatusMessage().find("nothing changed"), std::string::npos) << StatusMessage();
    EXPECT_TRUE(before == std::vector<unsigned char>(QBR1.begin(), QBR1.end()));
    // Cut makes the room; the paste puts the copied group's top-left under the mouse.
    ASSERT_TRUE(EditCut());
    EXPECT_TRUE(QBR1_ReadObjectMap(camera.lvl).empty());
    mouse_x = camera.frame.ox + 100;
    mouse_y = camera.frame.oy + 50;
    camera.input = ReadEditInput(camera);  // an update takes the mouse
    ASSERT_TRUE(EditPaste());
    const std::vector<QBR1ObjectRecord> pasted = QBR1_ReadObjectMap(camera.lvl);
    ASSERT_EQ(pasted.size(), count);
    int left = pasted[0].x, top = pasted[0].y;
    for (const QBR1ObjectRecord& r : pasted) left = std::min(left, r.x), top = std::min(top, r.y);
    int lx = 0, ly = 0;
    WindowToLevel(mouse_x, mouse_y, lx, ly);
    EXPECT_EQ(left, lx);
    EXPECT_EQ(top, ly);
    EditToolsDetach();
  }
  mouse_x = saved_x;
  mouse_y = saved_y;
}
