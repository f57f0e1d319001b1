#include "editor/level_switch.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Keys {
  bool up;
  bool down;
};

struct Case {
  const char* name;
  int start;
  std::vector<Keys> updates;
  int level;     // after the updates
  int switches;  // updates that switched
};

TEST(LevelSwitchTest, SequencesOfUpdates) {
  const Keys up{true, false}, down{false, true}, none{false, false}, both{true, true};
  const Case cases[] = {
      {"up steps over 0x5C", 91, {up}, 93, 1},
      {"up steps over 0x5E", 93, {up}, 95, 1},
      {"down steps over 0x5E", 95, {down}, 93, 1},
      {"down steps over 0x5C", 93, {down}, 91, 1},
      {"top end", 229, {up}, 229, 0},
      {"bottom end", 0, {down}, 0, 0},
      {"held key switches once", 10, {up, up, up, up}, 11, 1},
      {"one released update is not enough", 10, {up, none, up}, 11, 1},
      {"two released updates re-arm", 10, {up, none, none, up}, 12, 2},
      {"both keys go up only", 10, {both}, 11, 1},
      {"held down then up after release", 10, {down, down, none, none, up}, 10, 2},
  };
  for (const Case& c : cases) {
    int level = c.start;
    int delay = 0;
    int switches = 0;
    for (const Keys& k : c.updates) switches += SwitchLevelStep(k.up, k.down, level, delay) ? 1 : 0;
    EXPECT_EQ(level, c.level) << c.name;
    EXPECT_EQ(switches, c.switches) << c.name;
  }
}

}  // namespace
