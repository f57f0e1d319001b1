// The level editor's tools as objects: a tool registered through the public
// registration alone is chosen by its command and fed one input snapshot per
// update; the built-in tools' messages count their records in agreeing words;
// undo and redo name their step and bring the selection back; and a status
// message takes the place of the view's coordinates for a while.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "editor/classes.h"
#include "editor/edit_commands.h"
#include "editor/edit_tools.h"
#include "editor/list_tools.h"
#include "editor/mode_qbr1leveleditor.h"
#include "editor/save_undo_commands.h"
#include "editor/status_message.h"
#include "editor/view_status.h"
#include "gui/commands.h"
#include "resources/skin.h"
#include "rom/image_edits.h"
#include "shell/base/close_request.h"
#include "shell/base/variables.h"
#include "tests/common/input_state.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

constexpr CommandId kProbeCommand = 0x0240;
constexpr int kW = 776, kH = 604;
constexpr int kBlank = 0x00ABCDEF;

const DemoImage& Demo() {
  static const DemoImage demo = BuildDemoImage(1);
  return demo;
}

// What the probe tool was told, in order.
std::vector<std::string> probe_events;

// A tool the level editor's files know nothing of.
class ProbeTool : public EditTool {
 public:
  void Activate(CCamera& camera) override { probe_events.push_back("activate " + std::to_string(camera.lvl.ID)); }
  void Deactivate() override { probe_events.push_back("deactivate"); }
  void Keys(CCamera&, const InputSnapshot& in) override {
    if (in.PlainPressed(KEY_Q)) probe_events.push_back("key Q");
  }
  void MousePress(CCamera&, const InputSnapshot& in) override { Note("press", in); }
  void MouseMove(CCamera&, const InputSnapshot& in) override { Note("move", in); }
  void MouseRelease(CCamera&, const InputSnapshot& in) override { Note("release", in); }
  void Draw(BITMAP* dest, const CCamera&) const override { rectfill(dest, 10, 70, 19, 79, 0x123456); }
  std::string StatusText() const override { return "Probe ready"; }

 private:
  static void Note(const char* what, const InputSnapshot& in) {
    probe_events.push_back(std::string(what) + " " + std::to_string(in.lx) + "," + std::to_string(in.ly));
  }
};

class EditToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAllegro();
    resources_.emplace();
    UseConfig(Demo().config);
    UseImage(Demo().rom);
    QBR1_ResetEdits(Demo().rom, 0);
    RegisterEditCommands();  // fresh built-in tools
    RegisterSaveAndUndoCommands();
    probe_events.clear();
    ClearStatusMessage();  // these tests read the status line from its empty state
    saved_level_ = currentlvlid;
    saved_state_ = ENGINE_STATE.load();
    currentlvlid = 0x16;
    ENGINE_STATE = 1;  // the level editor: an undo on its level switches nothing
  }
  void TearDown() override {
    EditToolsDetach();
    SetCloseGate(nullptr);
    SetSignalCloseHooks(nullptr, nullptr);
    ClearStatusMessage();
    RecordListEditor<QBR1RawObject>::Clipboard().clear();
    RecordListEditor<QBR1RawBanana>::Clipboard().clear();
    QBR1_ResetEdits({}, 0);
    QBR1.clear();
    resources_.reset();
    currentlvlid = saved_level_;
    ENGINE_STATE = saved_state_;
    STATEOVER = false;
  }

  // A click (press, release) at level point (x, y) through the current tool.
  static void Click(CCamera& camera, int x, int y) {
    EditToolsProc(camera, At(x, y, 1));
    EditToolsProc(camera, At(x, y, 3));
  }

  // A record of the current list tool whose box's centre hits that record.
  template <class R>
  static LevelBox LoneRecordBox(RecordListTool<R>& tool) {
    for (std::size_t i = 0; i < tool.list.Boxes().size(); ++i) {
      const LevelBox& b = tool.list.Boxes()[i];
      if (tool.list.HitTest((b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2) == static_cast<int>(i)) return b;
    }
    ADD_FAILURE() << "no record to click";
    return {};
  }

  Installed<CommandTable> commands_;
  Installed<EditToolBox> tools_;
  std::optional<BuiltinResources> resources_;
  InputStateGuard input_;
  int saved_level_ = 0;
  uint32_t saved_state_ = 0;
};

// The pixels DrawLevelStatus leaves, against the level's name and `middle` at the coordinates' place.
int StatusDifference(const std::string& middle) {
  BITMAP* picture = SolidBitmap(kW, kH, kBlank);
  DrawLevelStatus(picture, kH);
  const std::string name = "Level 0x16 - " + cam->lvl.name;
  BITMAP* want = SolidBitmap(kW, kH, kBlank);
  textout_ex(want, NMenuFont[2], name.c_str(), 8, kH - 18, -1, -1);
  textout_ex(want, NMenuFont[2], middle.c_str(), 8 + text_length(NMenuFont[2], name.c_str()) + 16, kH - 18, -1, -1);
  int differing = 0;
  for (int y = kH - 24; y < kH; ++y)
    for (int x = 0; x < kW; ++x) differing += getpixel(picture, x, y) != getpixel(want, x, y);
  destroy_bitmap(want);
  destroy_bitmap(picture);
  return differing;
}

}  // namespace

TEST_F(EditToolsTest, ANewToolIsRegisteredChosenAndDrivenBySnapshots) {
  RegisterEditTool(kProbeCommand, KEY_8, [] { return std::make_unique<ProbeTool>(); });
  bool shortcut = false;
  for (const auto& s : Commands().shortcuts) {
    shortcut = shortcut || (s.id == kProbeCommand && s.scancode == KEY_8 && s.mods == kModCtrl);
  }
  EXPECT_TRUE(shortcut);
  EXPECT_FALSE(CommandAvailable(kProbeCommand)) << "no level editor yet";

  CCamera camera(0x16);
  EditToolsAttach(camera);
  ASSERT_TRUE(CommandAvailable(kProbeCommand));
  const CommandHandler* handler = FindCommand(kProbeCommand);
  ASSERT_NE(handler, nullptr);
  EXPECT_FALSE(handler->checked());
  ASSERT_TRUE(RunRegisteredCommand(kProbeCommand));
  EXPECT_EQ(CurrentEditToolCommand(), kProbeCommand);
  EXPECT_TRUE(handler->checked());
  EXPECT_FALSE(FindCommand(kCmdModifyTileMap)->checked());

  InputSnapshot press = At(100, 200, 1);
  press.Press(KEY_Q);
  EditToolsProc(camera, press);
  EditToolsProc(camera, At(120, 210, 2));
  EditToolsProc(camera, At(130, 220, 3));
  EditToolsProc(camera, At(140, 230, 0));  // idle: nothing to tell
  InputSnapshot with_ctrl = At(0, 0, 0);
  with_ctrl.ctrl = true;
  with_ctrl.Press(KEY_Q);  // Ctrl+Q belongs to the shortcuts, not to the tool's keys
  EditToolsProc(camera, with_ctrl);
  const std::vector<std::string> expected = {"activate 22",   "key Q", "press 100,200", "move 120,210",
                                             "release 130,220"};
  EXPECT_EQ(probe_events, expected);

  BITMAP* picture = SolidBitmap(kW, kH, kBlank);
  EditToolsDraw(picture, camera);
  EXPECT_EQ(getpixel(picture, 15, 75), 0x123456);
  destroy_bitmap(picture);
  mouse_x = 0;  // off the view: no coordinates, only the tool's text
  mouse_y = 0;
  camera.input = ReadEditInput(camera);  // an update takes the mouse
  EXPECT_EQ(StatusLineMiddle(), "Probe ready");

  ASSERT_TRUE(RunRegisteredCommand(kCmdModifyObjects));
  EXPECT_EQ(probe_events.back(), "deactivate");
  EXPECT_EQ(CurrentEditToolCommand(), kCmdModifyObjects);
}

TEST_F(EditToolsTest, MessagesCountRecordsInWordsThatAgree) {
  struct Case {
    CommandId tool;
    bool all;     // Select All, or a click on one record
    bool remove;  // Delete, or Copy
    const char* one;
    const char* many;
  };
  const Case cases[] = {{kCmdModifyObjects, false, true, "Deleted 1 object", nullptr},
                        {kCmdModifyObjects, true, true, nullptr, "Deleted %zu objects"},
                        {kCmdModifyBananaMap, false, false, "Copied 1 banana group", nullptr},
                        {kCmdModifyBananaMap, true, false, nullptr, "Copied %zu banana groups"}};
  for (const Case& c : cases) {
    QBR1_ResetEdits(Demo().rom, 0);
    UseImage(Demo().rom);
    CCamera camera(0x16);
    EditToolsAttach(camera);
    ASSERT_TRUE(ChooseEditTool(c.tool));
    SelectionEditing* selection = CurrentEditTool()->Selection();
    ASSERT_NE(selection, nullptr);
    if (c.all) {
      ASSERT_TRUE(EditSelectAll());
    } else if (c.tool == kCmdModifyObjects) {
      const LevelBox b = LoneRecordBox(dynamic_cast<ObjectsTool&>(*CurrentEditTool()));
      Click(camera, (b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2);
    } else {
      const LevelBox b = LoneRecordBox(dynamic_cast<BananaMapTool&>(*CurrentEditTool()));
      Click(camera, (b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2);
    }
    const std::size_t n = selection->SelectedCount();
    ASSERT_EQ(n == 1, !c.all) << n;
    ASSERT_GT(n, 0u);
    ASSERT_TRUE(c.remove ? EditDelete() : EditCopy());
    char expected[64];
    if (c.all) {
      std::snprintf(expected, sizeof expected, c.many, n);
    } else {
      std::snprintf(expected, sizeof expected, "%s", c.one);
    }
    EXPECT_EQ(StatusMessage(), expected);
    EditToolsDetach();
  }
}

TEST_F(EditToolsTest, UndoAndRedoNameTheStepAndBringItsSelectionBack) {
  CCamera camera(0x16);
  EditToolsAttach(camera);
  ASSERT_TRUE(ChooseEditTool(kCmdModifyObjects));
  ObjectsTool& tool = dynamic_cast<ObjectsTool&>(*CurrentEditTool());
  // Drag one object 40 pixels right: "Move 1 object".
  const LevelBox b = LoneRecordBox(tool);
  const int x = (b.x0 + b.x1) / 2, y = (b.y0 + b.y1) / 2;
  EditToolsProc(camera, At(x, y, 1));
  EditToolsProc(camera, At(x + 40, y, 2));
  EditToolsProc(camera, At(x + 40, y, 3));
  ASSERT_EQ(tool.list.SelectedCount(), 1u);
  const int moved = tool.list.HitTest(x + 40, y);
  ASSERT_GE(moved, 0);
  ASSERT_TRUE(tool.list.Selected(static_cast<std::size_t>(moved)));
  // Then everything selected and deleted: "Delete N objects".
  ASSERT_TRUE(EditSelectAll());
  const std::size_t all = tool.list.SelectedCount();
  ASSERT_TRUE(EditDelete());
  EditToolsProc(camera, At(0, 0, 0));
  EXPECT_EQ(tool.list.Records().size(), 0u);

  ASSERT_TRUE(RunRegisteredCommand(kCmdUndo));
  EXPECT_EQ(StatusMessage(), "Undone: Delete " + std::to_string(all) + " objects");
  EditToolsProc(camera, At(0, 0, 0));
  EXPECT_EQ(tool.list.SelectedCount(), all);  // what was selected before the delete
  ASSERT_TRUE(RunRegisteredCommand(kCmdUndo));
  EXPECT_EQ(StatusMessage(), "Undone: Move 1 object");
  EditToolsProc(camera, At(0, 0, 0));
  EXPECT_EQ(tool.list.SelectedCount(), 1u);
  const int back = tool.list.HitTest(x, y);  // the object is where it was, and selected
  ASSERT_GE(back, 0);
  EXPECT_TRUE(tool.list.Selected(static_cast<std::size_t>(back)));
  ASSERT_TRUE(RunRegisteredCommand(kCmdRedo));
  EXPECT_EQ(StatusMessage(), "Redone: Move 1 object");
  EditToolsProc(camera, At(0, 0, 0));
  EXPECT_EQ(tool.list.SelectedCount(), 1u);
  EXPECT_TRUE(tool.list.Selected(static_cast<std::size_t>(moved)));
  EXPECT_FALSE(STATEOVER.load()) << "the steps belong to the level shown";
}

TEST_F(EditToolsTest, AMessageTakesTheCoordinatesPlaceForAWhile) {
  CCamera camera(0x16);
  EditToolsAttach(camera);
  mouse_x = 100;  // over the level
  mouse_y = 200;
  camera.input = ReadEditInput(camera);  // an update takes the mouse
  const std::string coordinates = ViewStatusText();
  ASSERT_FALSE(coordinates.empty());
  EXPECT_EQ(StatusDifference(coordinates), 0);

  const std::string message = "No room: the list holds at most 3 records (3 now, 1 to add)";
  ShowStatusMessage(message);
  EXPECT_EQ(StatusDifference(message), 0) << "the message alone, where the coordinates were";
  StatusMessageStep(true);  // the action that showed it does not drop it
  StatusMessageStep(false);
  EXPECT_EQ(StatusMessage(), message);
  StatusMessageStep(true);  // the next action does
  EXPECT_EQ(StatusMessage(), "");
  EXPECT_EQ(StatusDifference(coordinates), 0);

  // Left alone, it goes after four seconds of updates.
  ShowStatusMessage(message);
  for (int update = 0; update < 240; ++update) StatusMessageStep(false);
  EXPECT_EQ(StatusMessage(), message);
  StatusMessageStep(false);
  EXPECT_EQ(StatusMessage(), "");
}

TEST_F(EditToolsTest, ALongMessageIsCutToItsRoom) {
  const std::string text = "Paste: nothing changed. No room: the list holds at most 12 records (12 now, 40 to add)";
  const int full = text_length(NMenuFont[2], text.c_str());
  EXPECT_EQ(FitStatusText(text, full), text);
  for (int width : {full - 1, full / 2, 40}) {
    const std::string cut = FitStatusText(text, width);
    EXPECT_LE(text_length(NMenuFont[2], cut.c_str()), width) << width;
    ASSERT_GT(cut.size(), 3u) << width;
    EXPECT_EQ(cut.substr(cut.size() - 3), "...");
    EXPECT_EQ(text.compare(0, cut.size() - 3, cut, 0, cut.size() - 3), 0) << cut;
  }
  EXPECT_EQ(FitStatusText(text, 2), "");
}
