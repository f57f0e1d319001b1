#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "editor/classes.h"
#include "editor/edit_tiles.h"
#include "editor/level_export.h"
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
    tiles.brush = TileStamp::Single(c.brush);
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
    tiles.brush = TileStamp::Single(QBR1TileEntry::FromWord(word));
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
  tiles.brush = TileStamp::Single({8, false, false});
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
  right.right = 1;
  tiles.Proc(camera, right);
  right.right = 3;  // released on the cell it went down on: a click
  tiles.Proc(camera, right);
  ASSERT_TRUE(tiles.has_brush);
  EXPECT_EQ(tiles.brush.At(0, 0).Word(), d.MapAt(3, 15));
  // H and V toggle its mirror bits.
  InputSnapshot keys = At(0, 0, 0);
  keys.Press(KEY_H);
  tiles.Proc(camera, keys);
  EXPECT_EQ(tiles.brush.At(0, 0).Word(), d.MapAt(3, 15) ^ 0x4000u);
  keys = At(0, 0, 0);
  keys.Press(KEY_V);
  tiles.Proc(camera, keys);
  EXPECT_EQ(tiles.brush.At(0, 0).Word(), d.MapAt(3, 15) ^ 0xC000u);
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
  EXPECT_EQ(tiles.brush.At(0, 0), (QBR1TileEntry{6, false, false}));
  EXPECT_EQ(tiles.brush.cells.size(), 1u);
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
  tiles.brush = TileStamp::Single({0x3ABC, true, false});
  const unsigned word = tiles.brush.At(0, 0).Word();
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

// A right drag takes the rectangle under it as a stamp; Ctrl+drag fills the
// dragged rectangle with the stamp repeated from its top-left corner, as one
// undo step, and writes exactly those words.
TEST_F(EditTilesTest, ARightDragStampFillsACtrlDraggedRectangle) {
  CCamera camera(0x16);
  const DemoLevel& d = *Demo().Level(0x16);
  TileMapTool tiles;
  InputSnapshot right = At(2 * 32 + 3, 12 * 32 + 3, 0);  // cell (2, 12)
  right.right = 1;
  tiles.Proc(camera, right);
  right = At(4 * 32 + 3, 13 * 32 + 3, 0);  // to (4, 13): a 3 x 2 stamp
  right.right = 2;
  tiles.Proc(camera, right);
  right.right = 3;
  tiles.Proc(camera, right);
  ASSERT_TRUE(tiles.has_brush);
  ASSERT_EQ(tiles.brush.w, 3);
  ASSERT_EQ(tiles.brush.h, 2);
  EXPECT_EQ(tiles.brush.At(2, 1).Word(), d.MapAt(4, 13));
  EXPECT_EQ(tiles.SelectedCount(), 6u);
  EXPECT_TRUE(Changed().empty()) << "taking a stamp writes nothing";

  // Ctrl+drag from cell (10, 2) to (14, 4): 5 x 3 cells.
  InputSnapshot fill = At(10 * 32 + 1, 2 * 32 + 1, 1);
  fill.ctrl = true;
  tiles.Proc(camera, fill);
  fill = At(14 * 32 + 30, 4 * 32 + 30, 2);
  fill.ctrl = true;
  tiles.Proc(camera, fill);
  EXPECT_TRUE(Changed().empty()) << "the fill waits for the release";
  fill.left = 3;
  tiles.Proc(camera, fill);
  std::map<long long, unsigned> expected;
  for (int r = 2; r <= 4; ++r) {
    for (int c = 10; c <= 14; ++c) expected[QBR1_MapEntryOffset(camera.lvl, c, r)] = d.MapAt(2 + (c - 10) % 3, 12 + (r - 2) % 2);
  }
  std::vector<long long> bytes;
  for (const auto& [at, word] : expected) {
    EXPECT_EQ(QBR1_Word(at), word) << at;
    for (long long b : {at, at + 1}) {
      if (static_cast<unsigned char>(QBR1[b]) != Demo().rom[b]) bytes.push_back(b);
    }
  }
  EXPECT_FALSE(bytes.empty());
  EXPECT_EQ(Changed(), bytes);
  EditStepInfo step;
  ASSERT_TRUE(QBR1_UndoStep(&step));
  EXPECT_EQ(step.label.rfind("Fill ", 0), 0u) << step.label;
  EXPECT_TRUE(Changed().empty());
}

// Shift+click fills the 4-connected cells that hold the clicked entry, and no other.
TEST_F(EditTilesTest, AShiftClickFloodFillsExactlyTheConnectedCells) {
  CCamera camera(0x16);
  const DemoLevel& d = *Demo().Level(0x16);
  TileMapTool tiles;
  tiles.has_brush = true;
  tiles.brush = TileStamp::Single({0x2FF, false, true});
  const int c0 = 5, r0 = 3;
  // The region, found here over the builder's own map.
  std::set<std::pair<int, int>> region{{c0, r0}};
  std::vector<std::pair<int, int>> todo{{c0, r0}};
  while (!todo.empty()) {
    const auto [c, r] = todo.back();
    todo.pop_back();
    for (const auto& [nc, nr] : {std::pair{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}}) {
      if (nc < 0 || nr < 0 || nc >= d.tile_w || nr >= d.tile_h) continue;
      if (d.MapAt(nc, nr) != d.MapAt(c0, r0) || !region.insert({nc, nr}).second) continue;
      todo.push_back({nc, nr});
    }
  }
  ASSERT_GT(region.size(), 1u);
  ASSERT_LT(region.size(), static_cast<std::size_t>(d.tile_w * d.tile_h));
  InputSnapshot click = At(c0 * 32 + 7, r0 * 32 + 7, 1);
  click.shift = true;
  tiles.Proc(camera, click);
  click.left = 3;
  tiles.Proc(camera, click);
  for (int r = 0; r < d.tile_h; ++r) {
    for (int c = 0; c < d.tile_w; ++c) {
      const unsigned want = region.count({c, r}) ? tiles.brush.At(0, 0).Word() : d.MapAt(c, r);
      ASSERT_EQ(QBR1_Word(QBR1_MapEntryOffset(camera.lvl, c, r)), want) << c << "," << r;
    }
  }
  int level = -1;
  ASSERT_TRUE(QBR1_Undo(&level));
  EXPECT_TRUE(Changed().empty());
}

// H and V mirror a stamp's layout and each entry's bit; Delete writes entry 0
// into the rectangle taken, Copy takes it again and Paste lays it at a point.
TEST_F(EditTilesTest, StampsMirrorAndTheTakenRectangleCopiesDeletesAndPastes) {
  TileStamp s{2, 2, {{1, false, false}, {2, true, false}, {3, false, true}, {4, false, false}}};
  TileStamp h = s;
  h.MirrorH();
  EXPECT_EQ(h.cells, (std::vector<QBR1TileEntry>{{2, false, false}, {1, true, false}, {4, true, false}, {3, true, true}}));
  TileStamp v = s;
  v.MirrorV();
  EXPECT_EQ(v.cells, (std::vector<QBR1TileEntry>{{3, false, false}, {4, false, true}, {1, false, true}, {2, true, true}}));

  CCamera camera(0x16);
  const DemoLevel& d = *Demo().Level(0x16);
  TileMapTool tiles;
  tiles.Activate(camera);
  ASSERT_TRUE(tiles.CaptureCells(camera.lvl, {0, 14, 1, 15}));
  ASSERT_TRUE(tiles.Delete());
  for (int r = 14; r <= 15; ++r) {
    for (int c = 0; c <= 1; ++c) EXPECT_EQ(QBR1_Word(QBR1_MapEntryOffset(camera.lvl, c, r)), 0u);
  }
  EXPECT_EQ(tiles.brush.At(1, 1).Word(), d.MapAt(1, 15)) << "the brush keeps what was taken";
  ASSERT_TRUE(tiles.Paste(20 * 32 + 5, 1 * 32 + 5));
  EXPECT_EQ(QBR1_Word(QBR1_MapEntryOffset(camera.lvl, 21, 2)), d.MapAt(1, 15));
  ASSERT_TRUE(tiles.Copy());
  EXPECT_EQ(tiles.brush.At(0, 0).Word(), 0u) << "Copy takes the rectangle as it is now";
  tiles.Deactivate();
}

// A drag across the picker makes a stamp of the tiles between its ends.
TEST_F(EditTilesTest, ADragAcrossThePickerMakesAStampOfItsTiles) {
  CCamera camera(0x16);
  TileMapTool tiles;
  tiles.panel_shown = true;
  const LevelBox panel = TileMapTool::PanelRect(camera.frame);
  InputSnapshot in;
  in.wx = panel.x0 + 4 + 1 * TileMapTool::kCellW + 10;  // tile 1
  in.wy = panel.y0 + TileMapTool::kHeaderH + 10;
  in.left = 1;
  tiles.Proc(camera, in);
  in.wx = panel.x0 + 4 + 2 * TileMapTool::kCellW + 10;  // to tile 10: row 2, column 2
  in.wy = panel.y0 + TileMapTool::kHeaderH + 2 * TileMapTool::kCellH + 10;
  in.left = 3;
  tiles.Proc(camera, in);
  ASSERT_EQ(tiles.brush.w, 2);
  ASSERT_EQ(tiles.brush.h, 3);
  std::vector<int> got;
  for (const QBR1TileEntry& e : tiles.brush.cells) got.push_back(e.tile);
  EXPECT_EQ(got, (std::vector<int>{1, 2, 5, 6, 9, 10}));
  EXPECT_TRUE(Changed().empty());
}

// Level 0x27 shows a second map under its own: a tile painted into a cell of
// its map where that map was empty shows in the level's picture, in that cell
// and nowhere else, and so does clearing a cell that shows the second map.
TEST_F(EditTilesTest, APaintedCellOfLevel27ShowsWhereItIsPainted) {
  leveldata lvl;
  Get_QBR1_LevelDataStruct(0x27, lvl);
  const DemoLevel& built = *Demo().Level(0x27);
  ASSERT_FALSE(built.underMap.empty());
  // An empty cell of the level's map in the middle of the level, painted with a tile of the map
  // underneath that differs from the one under that cell.
  const auto under = [&](int c, int r) { return built.underMap[static_cast<std::size_t>(r) * lvl.tile_w + c]; };
  int col = -1, row = -1;
  for (int r = 2; r < lvl.tile_h && col < 0; ++r) {
    for (int c = lvl.tile_w / 2; c < lvl.tile_w && col < 0; ++c) {
      if (built.MapAt(c, r) == 0) col = c, row = r;
    }
  }
  ASSERT_GE(col, 0);
  unsigned word = 0;
  for (int c = 0; c < lvl.tile_w && word == 0; ++c) {
    for (int r = 0; r < lvl.tile_h && word == 0; ++r) {
      if ((under(c, r) & 0x3FFF) != 0 && (under(c, r) & 0x3FFF) != (under(col, row) & 0x3FFF)) word = under(c, r);
    }
  }
  ASSERT_NE(word, 0u);
  // Then a cell that shows only the second map, cleared: the entry it shows goes.
  int clear_col = -1;
  for (int c = 0; c < lvl.tile_w && clear_col < 0; ++c) {
    if (c != col && built.MapAt(c, row) == 0 && (under(c, row) & 0x3FFF) != 0) clear_col = c;
  }
  ASSERT_GE(clear_col, 0);
  const auto px = [](BITMAP* b, int x, int y) { return reinterpret_cast<const std::uint32_t*>(b->line[y])[x]; };
  TileMapTool tiles;
  tiles.has_brush = true;
  struct Step {
    unsigned word;
    int col;
    long long written;  // the map word the step writes
  };
  const long long second = lvl.size + 0x200;
  for (const Step& step : {Step{word, col, QBR1_MapEntryOffset(lvl, col, row)},
                           Step{0, clear_col, QBR1_MapEntryOffset(lvl, clear_col, row) + second}}) {
    SCOPED_TRACE(step.col);
    BITMAP* before = ComposeLevelPicture(0x27);
    ASSERT_NE(before, nullptr);
    tiles.brush = TileStamp::Single(QBR1TileEntry::FromWord(step.word));
    ASSERT_TRUE(tiles.PaintCell(lvl, step.col, row));
    EXPECT_EQ(QBR1_Word(step.written), step.word);
    BITMAP* after = ComposeLevelPicture(0x27);
    ASSERT_NE(after, nullptr);
    int differing = 0, elsewhere = 0;
    for (int y = 0; y < before->h; ++y) {
      for (int x = 0; x < before->w; ++x) {
        if (px(before, x, y) == px(after, x, y)) continue;
        (x / 32 == step.col && y / 32 == row ? differing : elsewhere)++;
      }
    }
    EXPECT_GT(differing, 0) << "the cell looks as before";
    EXPECT_EQ(elsewhere, 0);
    destroy_bitmap(before);
    destroy_bitmap(after);
  }
  // What the cell shows is what the status line names and a pick takes.
  EXPECT_EQ(QBR1_ShownEntryOffset(lvl, col, row), QBR1_MapEntryOffset(lvl, col, row));
  EXPECT_EQ(QBR1_ShownEntryOffset(lvl, clear_col, row), QBR1_MapEntryOffset(lvl, clear_col, row));  // now empty
  ASSERT_EQ(built.MapAt(clear_col, row - 1), 0u);
  ASSERT_NE(under(clear_col, row - 1), 0u);
  EXPECT_EQ(QBR1_ShownEntryOffset(lvl, clear_col, row - 1), QBR1_MapEntryOffset(lvl, clear_col, row - 1) + second);
}
