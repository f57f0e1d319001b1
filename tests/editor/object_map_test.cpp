#include <gtest/gtest.h>

#include <iterator>

#include "editor/classes.h"
#include "resources/skin.h"
#include "shell/base/functions.h"
#include "tests/common/input_state.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

class ObjectMapTest : public ::testing::Test {
 protected:
  static constexpr int kObjects = 0x3000;
  void SetUp() override {
    InitAllegro();
    UseConfig("");
    image_ = BlankImage();
  }
  // Object record b at level x `x`, definition `zo`.
  void PutObject(int b, int x, int zo) {
    image_[kObjects + 8 * b] = 1;
    PutWord(image_, kObjects + 8 * b + 2, static_cast<unsigned>(x + 0x40));  // the level starts at 0x40
    PutWord(image_, kObjects + 8 * b + 4, 0x20);
    PutWord(image_, kObjects + 8 * b + 6, static_cast<unsigned>(zo));
  }
  std::vector<unsigned char> image_;
  InputStateGuard input_;  // the tooltip tests move the mouse
};

TEST_F(ObjectMapTest, WalkSkipsLeftAndEndsRight) {
  leveldata lvl;
  lvl.objects = kObjects;
  lvl.x = 0x40;
  // Camera x 200, window width 640: records further left than 64 pixels are skipped, the first one
  // further right than 64 pixels past the window ends the walk. Both boundaries are still walked.
  struct Case {
    int sx;  // position on the window
    bool walked;
  };
  const Case cases[] = {
      {-65, false},       // skipped, the walk goes on
      {-64, true},        // the left boundary
      {100, true},        // visible
      {640 + 64, true},   // the right boundary: walked, the walk goes on
      {640 + 65, false},  // ends the walk
      {100, false},       // never reached
  };
  for (int b = 0; b < static_cast<int>(std::size(cases)); ++b) PutObject(b, 200 + cases[b].sx, 0x100);
  UseImage(image_);
  CObjectMap map(lvl);
  BITMAP* dest = SolidBitmap(640, 480, 0);
  ViewFrame frame;
  frame.w = 640;
  frame.h = 480;
  map.Draw(dest, 200, 0, frame);
  ASSERT_EQ(map.looks.size(), std::size(cases));
  for (std::size_t b = 0; b < std::size(cases); ++b)
    EXPECT_EQ(map.looks[b].has_value(), cases[b].walked) << "record " << b << " at sx " << cases[b].sx;
  destroy_bitmap(dest);
}

TEST_F(ObjectMapTest, TooltipEndsSixteenPixelsBeforeTheRightEdge) {
  const BuiltinResources fonts;
  leveldata lvl;
  lvl.objects = kObjects;
  lvl.x = 0x40;
  PutObject(0, 620, 0x100);  // reference point at frame (624, 540)
  UseImage(image_);
  CObjectMap map(lvl);
  BITMAP* dest = SolidBitmap(640, 600, 0);
  ViewFrame frame;
  frame.w = 640;
  frame.h = 600;
  InputSnapshot in;
  in.wx = 624;  // inside the square above the reference point
  in.wy = 520;
  map.Proc(0, 0, in);
  map.Draw(dest, 0, 0, frame);
  const int width = helio_stringlength("No Definition") + 56;
  const int left = 640 - width - 16;
  EXPECT_EQ(getpixel(dest, left, 537), 0x400060);
  EXPECT_EQ(getpixel(dest, left + width, 537), 0x400060);
  EXPECT_EQ(getpixel(dest, left + width + 1, 537), 0);
  EXPECT_EQ(getpixel(dest, left - 1, 537), 0);
  EXPECT_EQ(getpixel(dest, 626, 540), -1);  // the marker right of the reference point

  // Away from the object: no tooltip, no marker.
  clear_to_color(dest, 0);
  in.wx = 100;
  map.Proc(0, 0, in);
  map.Draw(dest, 0, 0, frame);
  EXPECT_EQ(getpixel(dest, left, 537), 0);
  EXPECT_EQ(getpixel(dest, 626, 540), 0);
  destroy_bitmap(dest);
}

}  // namespace
