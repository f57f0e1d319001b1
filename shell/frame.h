#pragma once

#include <functional>

#include "shell/include.h"

// The fixed-rate pass that every mode function runs: one logic update per owed
// tick (catching up until an update overruns a tick), then one frame.
struct ModePass {
  std::function<void()> update;                // one logic update of the mode
  std::function<void(BITMAP*)> picture;        // the mode's picture, drawn into FB before the GUI
  std::function<void(BITMAP*)> overlay;        // drawn over the GUI (a status line); may be empty
  std::function<void()> after_pass;            // runs after the wait that ends each pass; may be empty
};

// Runs passes until STATEOVER is set.
void RunModePasses(const ModePass& pass);

// Composes one frame: clears the window-sized area of FB, draws the picture, the GUI
// and the overlay, and copies that area to `page` at (0, 0). Nothing when FB or page is missing.
void ComposeFrame(BITMAP* page, const ModePass& pass);

// Runs in every logic update of every mode: Escape asks the window to close.
void Apllication_Critical_Functions();

// Blocks until at least one tick is owed or STATEOVER is set (the timer wakes it).
void WaitForNextTick();
