#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "editor/classes.h"
#include "editor/edit_commands.h"
#include "editor/edit_tools.h"
#include "editor/list_tools.h"
#include "editor/object_box.h"
#include "gui/commands.h"
#include "level/level_objects.h"
#include "rom/image_edits.h"
#include "tests/common/input_state.h"
#include "tests/editor/editor_support.h"

// An object's box (what the Objects tool hits, selects with a rubber band and
// outlines) is where the object map draws it: its sprite's pixels, mirrored
// as drawn, or a compound object's label.

namespace {

using namespace editor_test;

const DemoImage& Demo() {
  static const DemoImage demo = BuildDemoImage(1);
  return demo;
}

constexpr int kSide = 512;  // the object's reference point is drawn at the middle
constexpr std::uint32_t kClear = 0;

// Pixels of `picture` that `keep` accepts, as a box in level pixels, for a
// picture whose pixel (0, 0) shows level point (x0, y0); empty when none.
template <class Keep>
std::optional<LevelBox> PixelBounds(BITMAP* picture, int x0, int y0, Keep keep) {
  std::optional<LevelBox> box;
  for (int y = 0; y < picture->h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(picture->line[y]);
    for (int x = 0; x < picture->w; ++x) {
      if (!keep(row[x])) continue;
      if (!box) box = LevelBox{x, y, x + 1, y + 1};
      box->x0 = std::min(box->x0, x), box->y0 = std::min(box->y0, y);
      box->x1 = std::max(box->x1, x + 1), box->y1 = std::max(box->y1, y + 1);
    }
  }
  if (box) *box = {box->x0 + x0, box->y0 + y0, box->x1 + x0, box->y1 + y0};
  return box;
}

class ObjectBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAllegro();
    UseConfig(Demo().config);
    UseImage(Demo().rom);
    QBR1_ResetEdits(Demo().rom, 0);
    RegisterEditCommands();  // fresh tools
  }
  void TearDown() override {
    EditToolsDetach();
    QBR1_ResetEdits({}, 0);
    QBR1.clear();
  }

  // The first level holding an object of definition zo, and that object's record index.
  static bool FindObject(int zo, int& level, std::size_t& index) {
    for (const DemoLevel& l : Demo().levels) {
      leveldata lvl;
      Get_QBR1_LevelDataStruct(l.id, lvl);
      const std::vector<QBR1ObjectRecord> records = QBR1_ReadObjectMap(lvl);
      for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].zo == zo) return level = l.id, index = i, true;
      }
    }
    return false;
  }

  // Record `index` of `camera`'s level drawn alone by the object map into a
  // cleared kSide x kSide picture whose middle shows its reference point;
  // (x0, y0) is the level point of the picture's pixel (0, 0). Caller owns.
  static BITMAP* DrawAlone(CCamera& camera, std::size_t index, ObjectOverlay overlay, int& x0, int& y0,
                           const InputSnapshot& in = InputSnapshot()) {
    CObjectMap map(camera.lvl);
    map.Proc(camera.x, camera.y, in);
    const QBR1ObjectRecord object = map.records.at(index);
    map.records = {object};
    map.looks.assign(1, std::nullopt);
    BITMAP* picture = SolidBitmap(kSide, kSide, static_cast<int>(kClear));
    ViewFrame frame;
    frame.w = kSide;
    frame.h = kSide;
    frame.ox = 0;
    frame.oy = 0;
    x0 = object.x - kSide / 2;
    y0 = object.y - kSide / 2;
    map.Draw(picture, x0, y0, frame, overlay);
    return picture;
  }

  // The Objects tool on `camera`, its boxes mirrored as the view is with input `in`.
  static ObjectsTool& Tool(CCamera& camera, const InputSnapshot& in = InputSnapshot()) {
    EditToolsAttach(camera);
    EXPECT_TRUE(ChooseEditTool(kCmdModifyObjects));
    ObjectsTool& tool = dynamic_cast<ObjectsTool&>(*CurrentEditTool());
    tool.list.MirrorView(in.MirrorsObjects());
    return tool;
  }

  Installed<CommandTable> commands_;
  Installed<EditToolBox> tools_;
  InputStateGuard input_;  // the F key is held in some cases
};

std::string Describe(const LevelBox& b) {
  // Built by append: g++ warns falsely (-Wrestrict) about a chain of operator+ on a literal.
  std::string text = "[";
  text.append(std::to_string(b.x0)).append(", ").append(std::to_string(b.y0)).append(") - [");
  text.append(std::to_string(b.x1)).append(", ").append(std::to_string(b.y1)).append(")");
  return text;
}

}  // namespace

TEST_F(ObjectBoxTest, ASpritesBoxIsTheBoundsOfItsDrawnPixelsMirroredAsDrawn) {
  struct Case {
    int zo;
    bool f_key;  // the view mirrors every object
    const char* what;
  };
  const Case cases[] = {
      {0x1000, false, "plain sprite"},
      {0x1000, true, "mirrored by the F key"},
      {0x1020, false, "another sprite"},
      {0x1030, false, "mirrored by the configuration"},
      {0x1030, true, "mirrored twice: drawn as stored"},
      {0x1050, false, "sprite and palette from the configuration"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int level = 0;
    std::size_t index = 0;
    ASSERT_TRUE(FindObject(c.zo, level, index));
    InputSnapshot in;
    if (c.f_key) in.Hold(KEY_F);
    CCamera camera(level);
    int x0 = 0, y0 = 0;
    BITMAP* picture = DrawAlone(camera, index, ObjectOverlay::Apart, x0, y0, in);
    const std::optional<LevelBox> drawn = PixelBounds(picture, x0, y0, [](std::uint32_t p) { return p != kClear; });
    destroy_bitmap(picture);
    ASSERT_TRUE(drawn.has_value()) << "nothing drawn";

    const QBR1ObjectRecord object = QBR1_ReadObjectMap(camera.lvl).at(index);
    const LevelBox box = ObjectBox(object.zo, object.x, object.y, c.f_key);
    EXPECT_EQ(Describe(box), Describe(*drawn));
    ObjectsTool& tool = Tool(camera, in);
    ASSERT_LT(index, tool.list.Boxes().size());
    EXPECT_EQ(Describe(tool.list.Boxes()[index]), Describe(*drawn)) << "the tool's box";
    EditToolsDetach();
  }
}

TEST_F(ObjectBoxTest, ACompoundObjectsBoxIsItsLabel) {
  const BuiltinResources fonts;  // the label's text
  int level = 0;
  std::size_t index = 0;
  ASSERT_TRUE(FindObject(0x1040, level, index));
  CCamera camera(level);
  int x0 = 0, y0 = 0;
  BITMAP* picture = DrawAlone(camera, index, ObjectOverlay::Shown, x0, y0);
  // The label's background: neither the cleared picture nor the white marker and text.
  const std::optional<LevelBox> label =
      PixelBounds(picture, x0, y0, [](std::uint32_t p) { return p != kClear && p != 0xFFFFFFFFu; });
  destroy_bitmap(picture);
  ASSERT_TRUE(label.has_value()) << "no label drawn";
  ObjectsTool& tool = Tool(camera);
  EXPECT_EQ(Describe(tool.list.Boxes().at(index)), Describe(*label));
}

TEST_F(ObjectBoxTest, ClickAndRubberBandSelectBySpritePixelsOutsideTheHoverSquare) {
  // Over every sprite object of every level: a drawn pixel outside the old
  // 32x32 hover square (and no other object's box) selects its object.
  bool tried = false;
  for (const DemoLevel& l : Demo().levels) {
    CCamera camera(l.id);
    ObjectsTool& tool = Tool(camera);
    const std::vector<QBR1ObjectRecord> records = QBR1_ReadObjectMap(camera.lvl);
    for (std::size_t i = 0; i < records.size(); ++i) {
      const QBR1ObjectRecord& o = records[i];
      if (LookOfDefinition(o.zo).compound) continue;
      int x0 = 0, y0 = 0;
      BITMAP* picture = DrawAlone(camera, i, ObjectOverlay::Hidden, x0, y0);
      std::optional<std::pair<int, int>> far;
      for (int y = 0; y < kSide && !far; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(picture->line[y]);
        for (int x = 0; x < kSide && !far; ++x) {
          const int lx = x + x0, ly = y + y0;
          if (row[x] == kClear) continue;
          if (lx >= o.x - 16 && lx < o.x + 16 && ly >= o.y - 32 && ly < o.y) continue;  // the hover square
          bool alone = true;
          for (std::size_t j = 0; j < records.size(); ++j) {
            if (j != i && tool.list.Boxes()[j].Contains(lx, ly)) alone = false;
          }
          if (alone) far = std::pair{lx, ly};
        }
      }
      destroy_bitmap(picture);
      if (!far) continue;
      tried = true;
      const auto [lx, ly] = *far;
      SCOPED_TRACE("level " + std::to_string(l.id) + " object " + std::to_string(i) + " pixel " +
                   std::to_string(lx) + "," + std::to_string(ly));
      tool.list.ClearSelection();
      InputSnapshot in = At(lx, ly, 1);
      EditToolsProc(camera, in);
      in.left = 3;
      EditToolsProc(camera, in);
      EXPECT_EQ(tool.list.SelectedCount(), 1u);
      EXPECT_TRUE(tool.list.Selected(i)) << "the click";
      tool.list.ClearSelection();
      tool.list.SelectBox({lx, ly, lx + 1, ly + 1}, false);
      EXPECT_EQ(tool.list.SelectedCount(), 1u);
      EXPECT_TRUE(tool.list.Selected(i)) << "a rubber band over that pixel alone";
    }
    EditToolsDetach();
  }
  EXPECT_TRUE(tried) << "no sprite pixel lies outside its hover square";
}
