#pragma once

#include "platform/allegro_include.h"

// The start-up screen's picture: the banner at (4, 60) of `fb`.
void DrawStartupScreen(BITMAP* fb);

// Start-up screen (mode 0): the banner, then the automatic Open.
void STARTUP_SCREEN_SUBFUNCTION();
