#include <gtest/gtest.h>

#include <memory>

#include "demo/demo_image.h"
#include "editor/classes.h"
#include "level/ex_gfx_QBR1.h"
#include "shell/base/functions.h"
#include "tests/common/input_state.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

constexpr int kShapeTable = 0x38D631;
constexpr int kBananas = 0x2000;

class BananaMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAllegro();
    UseConfig("");
    image_ = BlankImage();
    lvl_.bananas = kBananas;
    lvl_.tile_w = 16;
    lvl_.tile_h = 16;
    dest_ = SolidBitmap(400, 300, 0);
  }
  void TearDown() override { destroy_bitmap(dest_); }

  // A shape of `columns` x `rows` with grid bytes `grid`, reached through table entry `shape`.
  void PutShape(int shape, int columns, int rows, std::vector<unsigned char> grid) {
    const int at = 0x100;  // relative to the table
    PutWord(image_, kShapeTable + shape, at);
    image_[kShapeTable + at] = static_cast<unsigned char>(columns);
    image_[kShapeTable + at + 1] = static_cast<unsigned char>(rows);
    for (std::size_t i = 0; i < grid.size(); ++i) image_[kShapeTable + at + 2 + i] = grid[i];
  }

  // Group record b: shape, y in 8-pixel units, x in pixels.
  void PutGroup(int b, int shape, int y8, int x) {
    PutWord(image_, kBananas + 4 * b, static_cast<unsigned>(shape | (y8 << 10)));
    PutWord(image_, kBananas + 4 * b + 2, static_cast<unsigned>(x << 2));
  }

  // A banana map read from the image as it now stands, its frames replaced by
  // solid colours 0x10 * (i + 1) so the frame drawn is visible, drawn once on a
  // cleared window at camera (0, 0).
  std::unique_ptr<CBananaMap> DrawnMap() {
    UseImage(image_);
    auto map = std::make_unique<CBananaMap>(lvl_);
    for (int i = 0; i < 8; ++i) {
      Nullify(map->tileset[i]);
      map->tileset[i] = SolidBitmap(16, 16, 0x10 * (i + 1));
    }
    clear_to_color(dest_, 0);
    Draw(*map, 0, 0);
    return map;
  }

  void Draw(CBananaMap& map, int x, int y) {
    ViewFrame frame;
    frame.w = 400;
    frame.h = 300;
    map.Draw(dest_, x, y, frame);
  }

  std::vector<unsigned char> image_;
  leveldata lvl_;
  BITMAP* dest_ = nullptr;
  InputStateGuard input_;  // the set switch is tested with held keys
};

TEST_F(BananaMapTest, RecordFieldsAndFrameChoice) {
  // Record bytes 0x10, 0x09, 0x40, 0x01: shape 0x110, y = 16, x = 80.
  image_[kBananas + 0] = 0x10;
  image_[kBananas + 1] = 0x09;
  image_[kBananas + 2] = 0x40;
  image_[kBananas + 3] = 0x01;
  PutShape(0x110, 1, 1, {0x01});
  DrawnMap();
  // Frame (80 / 8 + 16 / 8 + 0) & 7 = 4 at (80 + 4, 16 + 60).
  EXPECT_EQ(getpixel(dest_, 84, 76), 0x50);
  EXPECT_EQ(getpixel(dest_, 83, 76), 0);
  EXPECT_EQ(getpixel(dest_, 84 + 15, 76 + 15), 0x50);
}

TEST_F(BananaMapTest, GridIsColumnMajorFromTheBottom) {
  // A 2x3 shape with grid byte 0x01: only column 0, row 2.
  PutShape(0x20, 2, 3, {0x01});
  PutGroup(0, 0x20, 0, 200);
  DrawnMap();
  // Cell (0, 2): frame (25 + 0 + 0 + 0 + 2) & 7 = 3 at (204, 76).
  EXPECT_EQ(getpixel(dest_, 204, 60 + 16 + 15), 0x40);
  EXPECT_EQ(getpixel(dest_, 204, 60 + 15), 0);  // rows 0 and 1 above are empty
}

TEST_F(BananaMapTest, RippleAndAnimation) {
  // A group at gx = 16, gy = 8: cell (0, 0) frame 3, cell (1, 0) frame 4.
  PutShape(0x20, 2, 1, {0x03});
  PutGroup(0, 0x20, 1, 16);
  const auto map = DrawnMap();
  EXPECT_EQ(getpixel(dest_, 20, 68), 0x40);       // cell 0, left half not covered by cell 1
  EXPECT_EQ(getpixel(dest_, 28 + 15, 68), 0x50);  // cell 1 drawn over it, 8 pixels on

  for (int i = 0; i < 8; ++i) map->Proc(0, 0, InputSnapshot());
  EXPECT_EQ(map->global_bimg_counter, 2);
}

TEST_F(BananaMapTest, WalkEndsAtZeroShapeAndPastTheWindow) {
  PutShape(0x20, 1, 1, {0x01});
  PutGroup(0, 0x20, 0, 10);
  PutWord(image_, kBananas + 4, 0x0000);  // shape 0 ends the list
  PutWord(image_, kBananas + 6, 0xFFFF);  // whatever the other bytes hold
  PutGroup(2, 0x20, 0, 30);
  DrawnMap();
  EXPECT_NE(getpixel(dest_, 14, 60), 0);
  EXPECT_EQ(getpixel(dest_, 34 + 15, 60), 0);

  // A group more than the window width right of the view ends the walk,
  // even when a later one would be visible.
  image_.assign(image_.size(), 0);
  PutShape(0x20, 1, 1, {0x01});
  PutGroup(0, 0x20, 0, 401);
  PutGroup(1, 0x20, 0, 50);
  DrawnMap();
  EXPECT_EQ(getpixel(dest_, 54, 60), 0);
}

TEST_F(BananaMapTest, ShapePastTheImageReadsNothingOutside) {
  image_ = BlankImage(kShapeTable + 0x20 + 2);
  PutWord(image_, kShapeTable + 0x20, 0x7FF0);  // the shape would lie far past the end
  lvl_.bananas = 0x10;
  image_[0x10] = 0x20;  // one group of shape 0x20 at (0, 0)
  DrawnMap();           // reads past the end count as 0: an empty shape, nothing drawn
  EXPECT_EQ(getpixel(dest_, 4, 60), 0);
}

// A configured sheet offset near the top of the int range reads nothing:
// every frame of the last set is built, and fully transparent.
TEST_F(BananaMapTest, SheetOffsetAtTheTopOfTheRangeReadsNothing) {
  UseConfig("[Global_Offsets]\nBananaGraphics = 7FFFFFF0\n");
  UseImage(image_);
  CBananaMap map(lvl_);
  map.ReloadBananas(4);
  for (BITMAP* frame : map.tileset) {
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(static_cast<std::uint32_t>(getpixel(frame, 0, 0)), kQBR1Transparent);
    EXPECT_EQ(static_cast<std::uint32_t>(getpixel(frame, 15, 15)), kQBR1Transparent);
  }
}

// Alt+B with a keypad digit switches the graphic set while held; the highest
// held digit wins. The frames are the demo's banana frames, mirrored left-right.
TEST_F(BananaMapTest, AltBAndAKeypadDigitSwitchTheGraphicSet) {
  const DemoImage demo = BuildDemoImage(1);
  UseConfig(demo.config);
  UseImage(demo.rom);
  CBananaMap map(lvl_);
  auto shows_set = [&map, &demo](int n) {
    for (int i = 0; i < 8; ++i)
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
          const std::uint32_t want = demo.bananaFrames[n][i].At(15 - x, y);
          if (static_cast<std::uint32_t>(getpixel(map.tileset[i], x, y)) != want) return false;
        }
    return true;
  };
  EXPECT_TRUE(shows_set(0));
  InputSnapshot in;
  in.Hold(KEY_2_PAD);  // a digit alone does nothing
  map.Proc(0, 0, in);
  EXPECT_TRUE(shows_set(0));
  in.alt = true;
  in.Hold(KEY_B);
  in.Hold(KEY_4_PAD);
  map.Proc(0, 0, in);
  EXPECT_TRUE(shows_set(4));
  in.held.reset(KEY_4_PAD);
  map.Proc(0, 0, in);
  EXPECT_TRUE(shows_set(2));
  map.Proc(0, 0, InputSnapshot());
  EXPECT_TRUE(shows_set(2));  // the set stays until the level changes
}

}  // namespace
