#include <gtest/gtest.h>

#include "editor/classes.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

constexpr int kDark = 0x020202;
constexpr int kLight = 0x0A0A0A;
constexpr int kTileMap = 0x1000;

// A tile whose left half is red and right half green, top-left pixel blue,
// so every mirroring is visible; pixel (31, 31) is transparent.
BITMAP* MarkedTile() {
  BITMAP* tile = SolidBitmap(32, 32, 0xFF0000);
  rectfill(tile, 16, 0, 31, 31, 0x00FF00);
  putpixel(tile, 0, 0, 0x0000FF);
  putpixel(tile, 31, 31, 0xFF00FF);
  return tile;
}

class TileLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAllegro();
    UseConfig("");
    image_ = BlankImage(0x10000);
    lvl_.ID = 1;
    lvl_.archetype = 99;  // no archetype: the layer decodes no tiles, the test brings its own
    lvl_.sequencing = 0;
    lvl_.tilemap = kTileMap;
    lvl_.tile_w = 4;
    lvl_.tile_h = 3;
    lvl_.size = 4 * 32;
    dest_ = SolidBitmap(200, 200, 0x123456);
  }
  void TearDown() override { destroy_bitmap(dest_); }

  // Draws the layer with map entry `entry` at column c, row r of a horizontal level.
  void DrawWith(CMLayer& layer, int x, int y) {
    UseImage(image_);
    ViewFrame frame;
    frame.w = 200;
    frame.h = 200;
    layer.Proc(x, y, frame);
    layer.Draw(dest_, lvl_, frame);
  }

  std::vector<unsigned char> image_;
  leveldata lvl_;
  BITMAP* dest_ = nullptr;
};

TEST_F(TileLayerTest, GridAndSquarePositions) {
  CMLayer layer(lvl_);
  EXPECT_TRUE(layer.tileset.empty());
  DrawWith(layer, 0, 0);
  EXPECT_EQ(layer.w_squares, (200 - 4) / 32 + 2);
  EXPECT_EQ(layer.h_squares, (200 - 64) / 32 + 1);
  EXPECT_EQ(getpixel(dest_, 3, 60), 0x123456);           // left of the view
  EXPECT_EQ(getpixel(dest_, 4, 59), 0x123456);           // above the view
  EXPECT_EQ(getpixel(dest_, 4, 60), kDark);              // column 0, row 0
  EXPECT_EQ(getpixel(dest_, 36, 60), kLight);            // column 1
  EXPECT_EQ(getpixel(dest_, 36, 92), kDark);             // column 1, row 1
  EXPECT_EQ(getpixel(dest_, 4 + 4 * 32, 60), 0x123456);  // right of the last column: no grid

  // At camera x = 40 the first square starts at x = -4 and shows column 1.
  clear_to_color(dest_, 0x123456);
  DrawWith(layer, 40, 0);
  EXPECT_EQ(layer.stx, 1);
  EXPECT_EQ(layer.spx, 8);
  EXPECT_EQ(getpixel(dest_, 0, 60), kLight);  // column 1 from x = -4 to 27
  EXPECT_EQ(getpixel(dest_, 27, 60), kLight);
  EXPECT_EQ(getpixel(dest_, 28, 60), kDark);                 // column 2
  EXPECT_EQ(getpixel(dest_, 4 + 3 * 32 - 8, 60), 0x123456);  // past column 3
}

TEST_F(TileLayerTest, EntriesMirrorAndSkip) {
  CMLayer layer(lvl_);
  layer.tileset.assign(6, nullptr);
  layer.tileset[5] = MarkedTile();
  struct Case {
    unsigned entry;
    int left, right, corner;  // colours at (1, 16), (30, 16) and the corner pixel drawn from (0, 0)
    int corner_x, corner_y;
  };
  const Case cases[] = {
      {0x0005, 0xFF0000, 0x00FF00, 0x0000FF, 0, 0},    // as it is
      {0x4005, 0x00FF00, 0xFF0000, 0x0000FF, 31, 0},   // mirrored left-right
      {0x8005, 0xFF0000, 0x00FF00, 0x0000FF, 0, 31},   // mirrored top-bottom
      {0xC005, 0x00FF00, 0xFF0000, 0x0000FF, 31, 31},  // both
      {0x4000, kDark, kDark, kDark, 0, 0},             // tile 0 draws nothing
      {0x0006, kDark, kDark, kDark, 0, 0},             // past the tile list: skipped
  };
  for (const Case& c : cases) {
    PutWord(image_, kTileMap, c.entry);
    clear_to_color(dest_, 0x123456);
    DrawWith(layer, 0, 0);
    EXPECT_EQ(getpixel(dest_, 4 + 1, 60 + 16), c.left) << std::hex << c.entry;
    EXPECT_EQ(getpixel(dest_, 4 + 30, 60 + 16), c.right) << std::hex << c.entry;
    EXPECT_EQ(getpixel(dest_, 4 + c.corner_x, 60 + c.corner_y), c.corner) << std::hex << c.entry;
  }
  // The transparent pixel of an unmirrored tile leaves the grid.
  PutWord(image_, kTileMap, 0x0005);
  DrawWith(layer, 0, 0);
  EXPECT_EQ(getpixel(dest_, 4 + 31, 60 + 31), kDark);
}

TEST_F(TileLayerTest, MapOrderAndSecondMap) {
  CMLayer layer(lvl_);
  layer.tileset.assign(3, nullptr);
  layer.tileset[1] = SolidBitmap(32, 32, 0x111111);
  layer.tileset[2] = SolidBitmap(32, 32, 0x222222);
  // Horizontal: column 2, row 1 at tilemap + 2 * (16 * 2 + 1).
  PutWord(image_, kTileMap + 2 * (16 * 2 + 1), 1);
  DrawWith(layer, 0, 0);
  EXPECT_EQ(getpixel(dest_, 4 + 64 + 5, 60 + 32 + 5), 0x111111);

  // Vertical: column 2, row 1 at tilemap + 2 * (64 * 1 + 2).
  lvl_.sequencing = 1;
  PutWord(image_, kTileMap + 2 * (64 + 2), 2);
  clear_to_color(dest_, 0x123456);
  DrawWith(layer, 0, 0);
  EXPECT_EQ(getpixel(dest_, 4 + 64 + 5, 60 + 32 + 5), 0x222222);

  // Level 0x27 draws the map stored size + 0x200 bytes further first, underneath.
  lvl_.sequencing = 0;
  lvl_.ID = 0x27;
  image_.assign(image_.size(), 0);
  PutWord(image_, kTileMap + lvl_.size + 0x200, 2);  // second map, column 0 row 0
  PutWord(image_, kTileMap + 2, 1);                  // first map, column 0 row 1
  PutWord(image_, kTileMap + 2 + lvl_.size + 0x200, 2);
  clear_to_color(dest_, 0x123456);
  DrawWith(layer, 0, 0);
  EXPECT_EQ(getpixel(dest_, 4 + 5, 60 + 5), 0x222222);       // only the second map
  EXPECT_EQ(getpixel(dest_, 4 + 5, 60 + 32 + 5), 0x111111);  // the first map on top
}

// The editor's layer keeps the squares it drew and copies them while the view
// stays on them; every frame must still equal drawing the squares afresh, as
// the view moves inside a square, across squares and while the map changes.
TEST_F(TileLayerTest, KeptSquaresEqualDrawingAfresh) {
  CMLayer kept(lvl_);
  CMLayer fresh(lvl_);
  fresh.keepPicture = false;
  for (CMLayer* layer : {&kept, &fresh}) {
    layer->tileset.assign(6, nullptr);
    layer->tileset[5] = MarkedTile();
  }
  lvl_.tile_w = 12;
  lvl_.tile_h = 9;
  struct Step {
    int x, y;
    bool tiles;      // the map holds tiles (else it is empty: only the grid shows)
    unsigned entry;  // written at column 3, row 2 before drawing
  };
  const Step steps[] = {{0, 0, true, 0},          {8, 0, true, 0},        {8, 0, true, 0},        {8, 0, true, 0xC005},
                        {40, 0, true, 0xC005},    {40, 13, true, 0xC005}, {40, 13, true, 0x0005}, {0, 0, true, 0x0005},
                        {200, 100, true, 0x0005}, {0, 0, false, 0},       {32, 0, false, 0},      {32, 32, false, 0}};
  BITMAP* other = SolidBitmap(200, 200, 0x123456);
  for (const Step& step : steps) {
    for (int c = 0; c < lvl_.tile_w; ++c)
      for (int r = 0; r < lvl_.tile_h; ++r)
        PutWord(image_, kTileMap + 2 * (16 * c + r), step.tiles && (c + r) % 3 ? 0x4005 : 0);
    PutWord(image_, kTileMap + 2 * (16 * 3 + 2), step.entry);
    clear_to_color(dest_, 0x123456);
    DrawWith(kept, step.x, step.y);
    std::swap(dest_, other);
    clear_to_color(dest_, 0x123456);
    DrawWith(fresh, step.x, step.y);
    std::swap(dest_, other);
    int differing = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) differing += getpixel(dest_, x, y) != getpixel(other, x, y);
    EXPECT_EQ(differing, 0) << "view at " << step.x << ", " << step.y << " entry " << std::hex << step.entry;
  }
  destroy_bitmap(other);
}

}  // namespace
