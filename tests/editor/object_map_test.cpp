#include <gtest/gtest.h>

#include "editor/classes.h"
#include "editor/object_scripts.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

constexpr int kDefinitions = 0x350000;
constexpr int kAnimationTable = 0x3E8572;
constexpr int kAnimations = 0x3E0000;

class ObjectScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAllegro();
    UseConfig("");
    image_ = BlankImage();
  }
  // Command word and operand at bank 0x35 offset `at`.
  void PutCommand(int at, unsigned command, unsigned operand) {
    PutWord(image_, kDefinitions + at, command);
    PutWord(image_, kDefinitions + at + 2, operand);
  }
  void PutAnimation(int ani, int at, std::vector<unsigned char> bytes) {
    PutWord(image_, kAnimationTable + 2 * ani, static_cast<unsigned>(at));
    for (std::size_t i = 0; i < bytes.size(); ++i) image_[kAnimations + at + i] = bytes[i];
  }
  ObjectScript Walk(int zo) {
    UseImage(image_);
    return WalkObjectScripts(zo);
  }
  std::vector<unsigned char> image_;
};

TEST_F(ObjectScriptTest, DefinitionWalks) {
  // 0x8800 before 0x8100: the palette walk stops there, the animation walk steps over it.
  PutCommand(0x100, 0x1234, 0x5678);
  PutCommand(0x104, 0x8800, 0x0ABC);
  PutCommand(0x108, 0x8100, 0x0007);
  PutAnimation(7, 0x200, {0x04, 0x24, 0x01});
  ObjectScript s = Walk(0x100);
  EXPECT_EQ(s.pal, 0x3C0ABC);
  EXPECT_EQ(s.ani, 7);
  EXPECT_EQ(s.spr, 0x0124);

  // A script that begins with 0x8200 continues at the operand for both walks.
  PutCommand(0x300, 0x8200, 0x0104);
  s = Walk(0x300);
  EXPECT_EQ(s.pal, 0x3C0ABC);
  EXPECT_EQ(s.ani, 7);

  // 0x8000 ends both walks with nothing found.
  PutCommand(0x400, 0x8000, 0x8100);
  s = Walk(0x400);
  EXPECT_EQ(s.pal, 0);
  EXPECT_EQ(s.ani, 0);
  EXPECT_EQ(s.spr, 0);
}

TEST_F(ObjectScriptTest, AnimationCommands) {
  struct Case {
    const char* name;
    std::vector<unsigned char> script;
    int spr;
  };
  const Case cases[] = {
      {"0x85 skips six bytes", {0x85, 9, 9, 9, 9, 9, 0x04, 0x24, 0x01}, 0x0124},
      {"0x80 ends", {0x80, 0x04, 0x24, 0x01}, 0},
      {"0x89 ends", {0x89, 0x04, 0x24, 0x01}, 0},
      {"above 0x90 ends", {0x91, 0x04, 0x24, 0x01}, 0},
      {"0x8E skips two", {0x8E, 9, 0x01, 0x33, 0x02}, 0x0233},
      {"0x86 skips ten", {0x86, 9, 9, 9, 9, 9, 9, 9, 9, 9, 0x00, 0x11, 0x00}, 0x0011},
      {"0x82 jumps", {0x82, 9, 0x50, 0x04}, 0x0777},
  };
  for (const Case& c : cases) {
    image_ = BlankImage();
    PutCommand(0x100, 0x8100, 1);
    PutAnimation(1, 0x200, c.script);
    image_[kAnimations + 0x450] = 0x01;  // target of the jump case
    PutWord(image_, kAnimations + 0x451, 0x0777);
    EXPECT_EQ(Walk(0x100).spr, c.spr) << c.name;
  }
}

TEST_F(ObjectScriptTest, LoopingScriptsEnd) {
  PutCommand(0x100, 0x8200, 0x0100);  // jumps to itself
  ObjectScript s = Walk(0x100);
  EXPECT_EQ(s.ani, 0);
  image_ = BlankImage();
  PutCommand(0x100, 0x8100, 2);
  PutAnimation(2, 0x200, {0x82, 0, 0x00, 0x02});  // jumps to itself
  EXPECT_EQ(Walk(0x100).spr, 0);
}

class ObjectMapTest : public ObjectScriptTest {
 protected:
  static constexpr int kObjects = 0x3000;
  // Object record b at level x `x`, definition `zo`.
  void PutObject(int b, int x, int zo) {
    image_[kObjects + 8 * b] = 1;
    PutWord(image_, kObjects + 8 * b + 2, static_cast<unsigned>(x + 0x40));  // the level starts at 0x40
    PutWord(image_, kObjects + 8 * b + 4, 0x20);
    PutWord(image_, kObjects + 8 * b + 6, static_cast<unsigned>(zo));
  }
};

TEST_F(ObjectMapTest, WalkSkipsLeftAndEndsRight) {
  leveldata lvl;
  lvl.objects = kObjects;
  lvl.x = 0x40;
  // Camera x 200, window width 640.
  PutObject(0, 200 - 65, 0x100);        // sx = -65: skipped, the walk goes on
  PutObject(1, 300, 0x100);             // visible
  PutObject(2, 200 + 640 + 65, 0x100);  // sx = w + 65: ends the walk
  PutObject(3, 300, 0x100);             // never reached
  UseImage(image_);
  CObjectMap map(lvl);
  BITMAP* dest = SolidBitmap(640, 480, 0);
  ViewFrame frame;
  frame.w = 640;
  frame.h = 480;
  map.Draw(dest, 200, 0, lvl, frame);
  ASSERT_GE(map.looks.size(), 2u);
  EXPECT_FALSE(map.looks[0].has_value());
  EXPECT_TRUE(map.looks[1].has_value());
  EXPECT_TRUE(map.looks.size() < 4 || !map.looks[3].has_value());
  destroy_bitmap(dest);
}

}  // namespace
