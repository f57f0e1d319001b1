#pragma once

#include "shell/base/include.h"

// The start-up screen's picture: the banner at (4, 60) of `fb`.
void DrawStartupScreen(BITMAP* fb);
