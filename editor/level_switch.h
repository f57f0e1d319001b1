#pragma once

// One logic update of level switching with Page Up and Page Down. After a
// switch both keys must stay released for two updates before the next one
// (`delay`); holding a key therefore switches once. Page Up wins when both are
// down. Ids 0x5C and 0x5E are stepped over; 0 and 229 are the ends.
// Returns true when `level` changed.
bool SwitchLevelStep(bool page_up, bool page_down, int& level, int& delay);

// Whether the editor can show level `id`: 0-229 without the hidden 0x5C and 0x5E.
bool IsViewableLevel(int id);

// Shows level `id` in the level editor the way Page Up and Page Down do: the
// mode starts again on that level, with its saved view position and window
// size. False, changing nothing, when the level is not viewable.
bool SwitchToLevel(int id);
