#include "shell/runtime/frame_pacing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One pass: how many updates ran and what the input looked like after them.
struct Pass {
  int updates;
  int mouse_x;
  bool key_down;
  int w;
  bool menu_open = false;
};

InputSnapshot Snapshot(const Pass& p) {
  InputSnapshot s;
  s.mouse_x = p.mouse_x;
  s.keys[KEY_RIGHT] = p.key_down ? 1 : 0;
  s.w = p.w;
  s.menu_open = p.menu_open;
  return s;
}

TEST(FramePacerTest, DrawsOnInputAndEveryFourthIdleUpdate) {
  struct Case {
    const char* name;
    std::vector<Pass> passes;
    std::vector<bool> drawn;
  };
  const Case cases[] = {
      {"first pass draws, then every fourth idle update",
       {{1, 0, false, 776},
        {1, 0, false, 776},
        {1, 0, false, 776},
        {1, 0, false, 776},
        {1, 0, false, 776},
        {1, 0, false, 776}},
       {true, false, false, false, true, false}},
      {"a pass that caught up on four updates draws", {{1, 0, false, 776}, {4, 0, false, 776}}, {true, true}},
      {"a mouse move draws at once", {{1, 0, false, 776}, {1, 5, false, 776}, {1, 5, false, 776}}, {true, true, false}},
      {"a held key draws every pass",
       {{1, 0, false, 776}, {1, 0, true, 776}, {1, 0, true, 776}, {1, 0, true, 776}},
       {true, true, true, true}},
      {"releasing the key draws, then idle again",
       {{1, 0, true, 776}, {1, 0, false, 776}, {1, 0, false, 776}},
       {true, true, false}},
      {"a resized window draws", {{1, 0, false, 776}, {1, 0, false, 800}}, {true, true}},
      {"an open menu draws every pass",
       {{1, 0, false, 776, true},
        {1, 0, false, 776, true},
        {1, 0, false, 776, true},
        {1, 0, false, 776, false},
        {1, 0, false, 776, false}},
       {true, true, true, true, false}},
  };
  for (const Case& c : cases) {
    FramePacer pacer;
    ASSERT_EQ(c.passes.size(), c.drawn.size()) << c.name;
    for (std::size_t i = 0; i < c.passes.size(); ++i) {
      EXPECT_EQ(pacer.ShouldDraw(Snapshot(c.passes[i]), c.passes[i].updates), c.drawn[i]) << c.name << ", pass " << i;
    }
  }
}

// Between frames an idle worker need not wake before the update that draws;
// while input changes or is held it wakes for every update.
TEST(FramePacerTest, AnIdleWorkerWaitsForTheUpdateThatDraws) {
  struct Case {
    const char* name;
    std::vector<Pass> passes;
    std::vector<int> wait;  // UpdatesBeforeNextFrame after each pass
  };
  const Case cases[] = {
      {"idle: the rest of the four updates",
       {{1, 0, false, 776}, {1, 0, false, 776}, {3, 0, false, 776}, {4, 0, false, 776}},
       {1, 3, 4, 4}},
      {"a mouse move: the next update, then idle again",
       {{1, 0, false, 776}, {4, 0, false, 776}, {1, 5, false, 776}, {1, 5, false, 776}},
       {1, 4, 1, 3}},
      {"a held key or an open menu: every update",
       {{1, 0, true, 776}, {1, 0, true, 776}, {1, 0, false, 776, true}, {1, 0, false, 776, true}},
       {1, 1, 1, 1}},
      {"a pass that ran more updates than a frame waits for", {{1, 0, false, 776}, {1, 0, false, 776}, {6, 0, false, 776}},
       {1, 3, 4}},
  };
  for (const Case& c : cases) {
    FramePacer pacer;
    ASSERT_EQ(c.passes.size(), c.wait.size()) << c.name;
    for (std::size_t i = 0; i < c.passes.size(); ++i) {
      pacer.ShouldDraw(Snapshot(c.passes[i]), c.passes[i].updates);
      EXPECT_EQ(pacer.UpdatesBeforeNextFrame(), c.wait[i]) << c.name << ", pass " << i;
    }
  }
}

}  // namespace
