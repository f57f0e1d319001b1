#pragma once

#include "platform/allegro_include.h"

// The level id the editor shows (0-229); kept across re-entries and images.
extern int currentlvlid;
// Logic updates during which Page Up and Page Down must both stay released
// before the next level switch is accepted.
extern int pressdelay;

// Draws the status line "Level 0xNN - NAME" of the live camera's level into
// the status bar of a window of height `h`.
void DrawLevelStatus(BITMAP* dest, int h);

// Level editor (mode 1) of the open ROM image.
void QBR1_LEVEL_EDITOR_SUBFUNCTION();
