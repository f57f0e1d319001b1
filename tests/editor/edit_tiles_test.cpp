#include <gtest/gtest.h>

#include <vector>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "editor/classes.h"
#include "editor/edit_tiles.h"
#include "level/level_records.h"
#include "rom/image_edits.h"
#include "tests/editor/editor_support.h"

// The Tile Map tool: the brush goes into exactly the map words under the
// stroke, one stroke is one undo step, and the picker chooses the brush.

namespace {

using namespace editor_test;

const DemoImage& Demo() {
  static const DemoImage demo = BuildDemoImage(1);
  return demo;
}

class EditTilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAllegro();
    UseConfig(Demo().config);
    UseImage(Demo().rom);
    QBR1_ResetEdits(Demo().rom, 0);
  }
  void TearDown() override {
    QBR1_ResetEdits({}, 0);
    QBR1.clear();
  }

  // Offsets at which the image differs from the demo image.
  static std::vector<long long> Changed() {
    std::vector<long long> at;
    for (std::size_t i = 0; i < QBR1.size(); ++i) {
      if (static_cast<unsigned char>(QBR1[i]) != Demo().rom[i]) at.push_back(static_cast<long long>(i));
    }
    return at;
  }

  // The two bytes of each map word, in increasing order.
  static std::vector<long long> WordBytes(std::vector<long long> words) {
    std::vector<long long> bytes;
    std::sort(words.begin(), words.end());
    for (long long w : words) bytes.push_back(w), bytes.push_back(w + 1);
    return bytes;
  }

  static InputSnapshot At(int lx, int ly, int left) {
    InputSnapshot in;
    in.lx = lx;
    in.ly = ly;
    in.wx = lx + 4;
    in.wy = ly + 60;
    in.in_view = true;
    in.left = left;
    return in;
  }
};

}  // namespace

TEST_F(EditTilesTest, TheBrushGoesIntoTheMapWordOfTheCell) {
  struct Case {
    int level, col, row;
    QBR1TileEntry brush;
  };
  const Case cases[] = {{0x16, 2, 3, {5, true, true}}, {0x16, 0, 15, {0x123, false, true}}};
  for (const Case& c : cases) {
    leveldata lvl;
    Get_QBR1_LevelDataStruct(c.level, lvl);
    TileMapTool tiles;
    EXPECT_FALSE(tiles.PaintCell(lvl, c.col, c.row)) << "no brush yet";
    tiles.has_brush = true;
    tiles.brush = c.brush;
    ASSERT_TRUE(tiles.PaintCell(lvl, c.col, c.row));
    const long long at = lvl.tilemap + 2LL * (16 * c.col + c.row);
    EXPECT_EQ(QBR1_Word(at), c.brush.Word());
    std::vector<long long> expected;
    for (long long b : {at, at + 1}) {
      if (static_cast<unsigned char>(QBR1[b]) != Demo().rom[b]) expected.push_back(b);
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(Changed(), expected);
    EXPECT_FALSE(tiles.PaintCell(lvl, c.col, c.row)) << "the same word again changes nothing";
    EXPECT_FALSE(tiles.PaintCell(lvl, lvl.tile_w, 0)) << "outside the level";
    int level = -1;
    while (QBR1_Undo(&level)) EXPECT_EQ(level, -1);
    EXPECT_TRUE(Changed().empty());
  }
}

TEST_F(EditTilesTest, VerticalLevelsAndTheSecondMapOfLevel27) {
  for (const DemoLevel& d : Demo().levels) {
    if (d.sequencing == 0 && d.id != 0x27) continue;
    leveldata lvl;
    Get_QBR1_LevelDataStruct(d.id, lvl);
    TileMapTool tiles;
    tiles.has_brush = true;
    const int col = lvl.tile_w - 1, row = lvl.tile_h - 1;
    // A brush that differs from the entry there in its tile and its vertical mirror.
    const unsigned word = QBR1_Word(QBR1_MapEntryOffset(lvl, col, row)) ^ 0x8001;
    tiles.brush = QBR1TileEntry::FromWord(word);
    ASSERT_TRUE(tiles.PaintCell(lvl, col, row)) << d.id;
    const long long at = QBR1_MapEntryOffset(lvl, col, row);
    EXPECT_EQ(QBR1_Word(at), word);
    // Only that word: for level 0x27 the map underneath stays as it was.
    for (long long changed : Changed()) EXPECT_TRUE(changed == at || changed == at + 1) << d.id;
    QBR1_ResetEdits(Demo().rom, 0);
    UseImage(Demo().rom);
  }
}

TEST_F(EditTilesTest, OneStrokeIsOneUndoStepWithoutGaps) {
  CCamera camera(0x16);
  TileMapTool tiles;
  tiles.has_brush = true;
  tiles.brush = {8, false, false};
  tiles.Proc(camera, At(40, 40, 1));   // cell (1, 1)
  tiles.Proc(camera, At(230, 40, 2));  // a quick move to cell (7, 1)
  tiles.Proc(camera, At(230, 110, 2));  // and down to (7, 3)
  tiles.Proc(camera, At(230, 110, 3));
  tiles.Proc(camera, At(300, 300, 0));  // after the release nothing is painted
  std::vector<long long> words;
  for (int col = 1; col <= 7; ++col) words.push_back(QBR1_MapEntryOffset(camera.lvl, col, 1));
  for (int row = 2; row <= 3; ++row) words.push_back(QBR1_MapEntryOffset(camera.lvl, 7, row));
  for (long long w : words) EXPECT_EQ(QBR1_Word(w), 8u);
  std::vector<long long> expected;
  for (long long w : WordBytes(words)) {
    if (static_cast<unsigned char>(QBR1[w]) != Demo().rom[w]) expected.push_back(w);
  }
  EXPECT_EQ(Changed(), expected);
  int level = -1;
  ASSERT_TRUE(QBR1_Undo(&level));
  EXPECT_EQ(level, 0x16);
  EXPECT_TRUE(Changed().empty());
  EXPECT_FALSE(QBR1_Undo(&level));
}

TEST_F(EditTilesTest, WithoutABrushClicksChangeNothingAndRightClickPicks) {
  CCamera camera(0x16);
  TileMapTool tiles;
  tiles.Proc(camera, At(40, 40, 1));
  tiles.Proc(camera, At(80, 40, 2));
  tiles.Proc(camera, At(80, 40, 3));
  EXPECT_TRUE(Changed().empty());
  int level = -1;
  EXPECT_FALSE(QBR1_Undo(&level));
  // The bottom row of the demo's level is ground: take its entry as the brush.
  const DemoLevel& d = *Demo().Level(0x16);
  InputSnapshot right = At(3 * 32 + 5, 15 * 32 + 5, 0);
  right.right_pressed = true;
  tiles.Proc(camera, right);
  ASSERT_TRUE(tiles.has_brush);
  EXPECT_EQ(tiles.brush.Word(), d.MapAt(3, 15));
  // H and V toggle its mirror bits.
  InputSnapshot keys = At(0, 0, 0);
  keys.Press(KEY_H);
  tiles.Proc(camera, keys);
  EXPECT_EQ(tiles.brush.Word(), d.MapAt(3, 15) ^ 0x4000u);
  keys = At(0, 0, 0);
  keys.Press(KEY_V);
  tiles.Proc(camera, keys);
  EXPECT_EQ(tiles.brush.Word(), d.MapAt(3, 15) ^ 0xC000u);
}

TEST_F(EditTilesTest, ThePickerShowsTheTileSetAndChoosesTheBrush) {
  CCamera camera(0x16);
  TileMapTool tiles;
  const int count = static_cast<int>(camera.Layer_MG0->tileset.size());
  ASSERT_GT(count, 40);
  const LevelBox panel = TileMapTool::PanelRect(camera.frame);
  InputSnapshot tab = At(0, 0, 0);
  tab.Press(KEY_TAB);
  tiles.Proc(camera, tab);
  ASSERT_TRUE(tiles.panel_shown);
  // Third cell of the second row: tile 6.
  InputSnapshot click;
  click.wx = panel.x0 + 4 + 2 * TileMapTool::kCellW + 10;
  click.wy = panel.y0 + TileMapTool::kHeaderH + TileMapTool::kCellH + 10;
  click.left = 1;
  tiles.Proc(camera, click);
  ASSERT_TRUE(tiles.has_brush);
  EXPECT_EQ(tiles.brush, (QBR1TileEntry{6, false, false}));
  EXPECT_TRUE(Changed().empty()) << "a click on the picker paints nothing";
  // The wheel scrolls the picker two rows a notch, within its rows.
  click.left = 0;
  click.wheel = -1;
  tiles.Proc(camera, click);
  EXPECT_EQ(tiles.panel_scroll, 2);
  click.wheel = -1000;
  tiles.Proc(camera, click);
  EXPECT_EQ(tiles.panel_scroll, tiles.MaxScroll(camera.frame, count));
  EXPECT_EQ(tiles.PanelTileAt(camera.frame, panel.x0 + 6, panel.y0 + TileMapTool::kHeaderH + 1, count),
            tiles.panel_scroll * TileMapTool::kColumns);
  click.wheel = 1000;
  tiles.Proc(camera, click);
  EXPECT_EQ(tiles.panel_scroll, 0);
  tiles.Proc(camera, tab);
  EXPECT_FALSE(tiles.panel_shown);
  EXPECT_EQ(tiles.PanelTileAt(camera.frame, panel.x0 + 6, panel.y0 + TileMapTool::kHeaderH + 1, count), -1);
}

// Save while the stroke is held: the file gets the cells painted so far; the
// rest of the stroke is a change after the save, so the image is unsaved after
// the release, and undoing it returns to exactly the saved bytes.
TEST_F(EditTilesTest, ASaveDuringAStrokeKeepsWhatWasPaintedAndTheRestUnsaved) {
  CCamera camera(0x16);
  TileMapTool tiles;
  tiles.has_brush = true;
  tiles.brush = {0x3ABC, true, false};
  const unsigned word = tiles.brush.Word();
  const long long first = QBR1_MapEntryOffset(camera.lvl, 1, 1);
  tiles.Proc(camera, At(40, 40, 1));  // cell (1, 1)
  const std::vector<unsigned char> saved = QBR1_SavedFileBytes();
  ASSERT_EQ(saved.size(), Demo().rom.size());
  EXPECT_EQ(saved[first] | saved[first + 1] << 8, static_cast<int>(word));
  QBR1_MarkSaved();
  EXPECT_FALSE(QBR1_HasUnsavedEdits());
  tiles.Proc(camera, At(110, 40, 2));  // cells (2, 1) and (3, 1)
  tiles.Proc(camera, At(110, 40, 3));
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
  EXPECT_EQ(QBR1_Word(QBR1_MapEntryOffset(camera.lvl, 3, 1)), word);
  EditStepInfo step;
  ASSERT_TRUE(QBR1_UndoStep(&step));
  EXPECT_EQ(step.label, "Paint 3 tiles");  // the label names the whole stroke
  EXPECT_EQ(step.level, 0x16);
  EXPECT_FALSE(QBR1_HasUnsavedEdits());
  EXPECT_TRUE(QBR1_SavedFileBytes() == saved);
  EXPECT_EQ(QBR1_Word(first), word);
}
