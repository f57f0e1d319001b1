#include "editor/level_switch.h"

#include "editor/mode_qbr1leveleditor.h"
#include "gui/mode_table.h"
#include "level/leveldata.h"
#include "shell/base/variables.h"

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

bool IsViewableLevel(int id) { return id >= kQBR1FirstLevel && id <= kQBR1LastLevel && !QBR1_IsHiddenLevel(id); }

bool SwitchToLevel(int id) {
  if (!IsViewableLevel(id)) return false;
  currentlvlid = id;
  // The level editor mode ends and starts again on currentlvlid, exactly as
  // after a Page Up or Page Down.
  RequestMode(Mode::LevelEditor);
  return true;
}
