// Adding records in the Objects and Banana Map tools: Insert (or a double
// click on empty ground for objects) opens a list, and the chosen definition or
// shape is added at the mouse as one undo step, with the kind byte and byte 1
// of an object copied from the first record of its definition in level-id
// order, else from the level's first record.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "editor/add_records.h"
#include "editor/classes.h"
#include "editor/edit_commands.h"
#include "editor/edit_objects.h"
#include "editor/edit_tools.h"
#include "editor/list_tools.h"
#include "editor/mode_qbr1leveleditor.h"
#include "editor/status_message.h"
#include "gui/commands.h"
#include "level/leveldata.h"
#include "level/free_space_config.h"
#include "platform/dialogs.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "shell/base/variables.h"
#include "tests/common/input_state.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

constexpr int kLevel = 0x17;  // a level after the first one (0x16) in id order
constexpr unsigned kZo = 0x1020;

const DemoImage& Demo() {
  static const DemoImage demo = BuildDemoImage(1);
  return demo;
}

InputSnapshot InsertAt(int lx, int ly) {
  InputSnapshot in = At(lx, ly);
  in.Press(KEY_INSERT);
  return in;
}

class AddRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAllegro();
    resources_.emplace();
    UseConfig(Demo().config);
    // Byte 1 of level 0x16's object of definition kZo marks where a copy comes from.
    image = Demo().rom;
    UseImage(image);
    const long long first = Get_QBR1_LevelObjectMap(0x16);
    for (long long at = first; image[at] != 0; at += 8) {
      if ((image[at + 6] | image[at + 7] << 8) == kZo) image[at + 1] = 0x77;
    }
    UseImage(image);
    QBR1_ResetEdits(image, 0);
    ASSERT_TRUE(QBR1_LoadFreeSpace().empty());
    RegisterEditCommands();
    saved_level_ = currentlvlid;
    currentlvlid = kLevel;
    camera.emplace(kLevel);
    EditToolsAttach(*camera);
  }
  void TearDown() override {
    EditToolsDetach();
    camera.reset();
    PlatformUseScriptedDialogs(nullptr);
    ClearStatusMessage();
    UseConfig("");
    QBR1_LoadFreeSpace();
    QBR1_ResetEdits({}, 0);
    QBR1.clear();
    resources_.reset();
    currentlvlid = saved_level_;
  }

  // Answers every box with `answer` and keeps what it was asked.
  void Answer(const std::string& answer) {
    asked.clear();
    PlatformUseScriptedDialogs([this, answer](const DialogRecord& r) {
      asked.push_back(r);
      return answer;
    });
  }

  std::vector<unsigned char> Current() const { return {QBR1.begin(), QBR1.end()}; }

  Installed<CommandTable> commands_;
  Installed<EditToolBox> tools_;
  std::optional<BuiltinResources> resources_;
  InputStateGuard input_;
  std::vector<unsigned char> image;
  std::optional<CCamera> camera;
  std::vector<DialogRecord> asked;
  int saved_level_ = 0;
};

}  // namespace

TEST_F(AddRecordsTest, InsertAddsTheChosenDefinitionAtTheMouseWithBytesOfItsFirstRecord) {
  ASSERT_TRUE(ChooseEditTool(kCmdModifyObjects));
  ObjectsTool& tool = dynamic_cast<ObjectsTool&>(*CurrentEditTool());
  const std::vector<QBR1RawObject> before = tool.list.Records();
  const QBR1RawObject first = before.front();
  struct Case {
    std::string answer;
    int kind, extra;
    const char* said;
  };
  const Case cases[] = {
      {"1020", 1 + 2, 0x77, "from level 0x16"},                            // used first by level 0x16
      {"0x0ABC", first.bytes[0], first.bytes[1], "this level's first object"},  // used by nobody
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    Answer(c.answer);
    EditToolsProc(*camera, InsertAt(333, 222));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, BoxKind::List);
    EXPECT_EQ(asked[0].title, "Object Definition");
    unsigned zo = 0;
    ASSERT_TRUE(ParseDefinitionAnswer(c.answer, zo));
    EditToolsProc(*camera, At(0, 0));
    ASSERT_EQ(tool.list.Records().size(), before.size() + 1);
    ASSERT_EQ(tool.list.SelectedCount(), 1u);
    const QBR1RawObject* added = nullptr;
    for (std::size_t i = 0; i < tool.list.Records().size(); ++i) {
      if (tool.list.Selected(i)) added = &tool.list.Records()[i];
    }
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Definition(), zo);
    EXPECT_EQ(added->Kind(), c.kind);
    EXPECT_EQ(added->bytes[1], c.extra);
    EXPECT_EQ(added->X(camera->lvl.x), 333);
    EXPECT_EQ(added->Y(), 222);
    EXPECT_NE(StatusMessage().find(c.said), std::string::npos) << StatusMessage();
    // The level's list was full: it moved into the declared free space, in the same step.
    EXPECT_NE(StatusMessage().find("moved to"), std::string::npos) << StatusMessage();
    int level = -1;
    ASSERT_TRUE(QBR1_Undo(&level));
    EXPECT_EQ(Current(), image);
    EditToolsProc(*camera, At(0, 0));
  }
}

TEST_F(AddRecordsTest, ADoubleClickOnEmptyGroundAddsAndACancelChangesNothing) {
  ASSERT_TRUE(ChooseEditTool(kCmdModifyObjects));
  ObjectsTool& tool = dynamic_cast<ObjectsTool&>(*CurrentEditTool());
  const std::size_t n = tool.list.Records().size();
  // Empty ground: no record's box holds the point.
  const int x = 40, y = 30;
  ASSERT_LT(tool.list.HitTest(x, y), 0);
  Answer("");
  EditToolsProc(*camera, InsertAt(x, y));
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(Current(), image);

  Answer("1000");
  EditToolsProc(*camera, At(x, y, 1));
  EditToolsProc(*camera, At(x, y, 3));
  EXPECT_TRUE(asked.empty()) << "a single click asks nothing";
  InputSnapshot second = At(x, y, 1);
  second.double_click = true;
  EditToolsProc(*camera, second);
  EditToolsProc(*camera, At(x, y, 3));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(tool.list.Records().size(), n + 1);
  ASSERT_GE(tool.list.HitTest(x, y - 1), 0);
  EXPECT_EQ(tool.list.Records()[static_cast<std::size_t>(tool.list.HitTest(x, y - 1))].Definition(), 0x1000u);
}

TEST_F(AddRecordsTest, InsertInTheBananaMapListsTheShapesAndAddsAGroupOfTheChosenOne) {
  ASSERT_TRUE(ChooseEditTool(kCmdModifyBananaMap));
  BananaMapTool& tool = dynamic_cast<BananaMapTool&>(*CurrentEditTool());
  const std::size_t n = tool.list.Records().size();
  const std::vector<BananaShapeUse> shapes = QBR1_BananaShapesInUse(CurrentRom(), qbr1gbl);
  ASSERT_GE(shapes.size(), 2u);
  const BananaShapeUse& chosen = shapes[1];
  const std::vector<std::vector<std::string>> rows = BananaShapeRows(shapes);
  ASSERT_EQ(rows[1].size(), 5u);
  EXPECT_EQ(rows[1][2], std::to_string(chosen.columns) + " x " + std::to_string(chosen.rows));
  EXPECT_EQ(rows[1][3], std::to_string(chosen.bananas));
  EXPECT_EQ(rows[1][4], std::to_string(chosen.groups));

  Answer(rows[1][0]);
  EditToolsProc(*camera, InsertAt(501, 150));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].title, "Banana Shape");
  for (const std::vector<std::string>& row : rows) {
    EXPECT_NE(asked[0].text.find(row[0] + "\t" + row[1] + "\t" + row[2]), std::string::npos) << asked[0].text;
  }
  EditToolsProc(*camera, At(0, 0));
  ASSERT_EQ(tool.list.Records().size(), n + 1);
  ASSERT_EQ(tool.list.SelectedCount(), 1u);
  for (std::size_t i = 0; i < tool.list.Records().size(); ++i) {
    if (!tool.list.Selected(i)) continue;
    const QBR1RawBanana& g = tool.list.Records()[i];
    EXPECT_EQ(g.Shape(), chosen.shape);
    EXPECT_EQ(g.X(), 501);
    EXPECT_EQ(g.Y(), 144);  // 150 in steps of 8
  }
  // An answer that names no listed shape changes nothing.
  const std::vector<unsigned char> now = Current();
  Answer("0001");
  EditToolsProc(*camera, InsertAt(501, 150));
  EXPECT_EQ(Current(), now);
  EXPECT_NE(StatusMessage().find("Not a shape"), std::string::npos) << StatusMessage();
}
