#include "editor/level_switch.h"

#include "level/leveldata.h"

bool SwitchLevelStep(bool page_up, bool page_down, int& level, int& delay) {
  if (delay != 0 && !page_up && !page_down) --delay;
  bool switched = false;
  if (page_up && delay == 0 && level != kQBR1LastLevel) {
    ++level;
    if (QBR1_IsHiddenLevel(level)) ++level;
    delay = 2;
    switched = true;
  }
  // Checked after Page Up, which has just set the delay: both at once go up only.
  if (page_down && delay == 0 && level != kQBR1FirstLevel) {
    --level;
    if (QBR1_IsHiddenLevel(level)) --level;
    delay = 2;
    switched = true;
  }
  return switched;
}
