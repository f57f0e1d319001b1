#pragma once

#include <functional>

#include "platform/allegro_include.h"

// A rectangle of the frame: from (x, y), w x h pixels.
struct FrameRect {
  int x = 0, y = 0, w = 0, h = 0;
};

// The fixed-rate pass that every mode function runs: one logic update per owed
// tick (catching up until an update overruns a tick), then one frame.
struct ModePass {
  std::function<void()> update;          // one logic update of the mode
  std::function<void(BITMAP*)> picture;  // the mode's picture, drawn into FB before the GUI
  // The part of the window that the picture paints over entirely before it draws
  // anything else there, so the frame need not be cleared under it; may be empty.
  std::function<FrameRect()> covered;
  std::function<void(BITMAP*)> overlay;  // drawn over the GUI (a status line); may be empty
  std::function<void()> after_pass;      // runs after the wait that ends each pass; may be empty
};

// Runs passes until STATEOVER or GAMEOVER is set. A pass draws its frame when FramePacer
// says so: every pass while the user acts or a menu is open, every fourth
// update while idle.
void RunModePasses(const ModePass& pass);

// Rows [top, bottom) of a frame that differ from what the page held; empty when top == bottom.
struct RowBand {
  int top = 0;
  int bottom = 0;
  bool empty() const { return top >= bottom; }
};

// Composes one frame: clears the window-sized area of FB (but for what the picture
// covers), draws the picture, the GUI
// and the overlay, and copies that area to `page` at (0, 0), enlarged by the window
// scale. With `changed_only` (a page that keeps the last frame) only the rows that
// differ are copied. Returns the band of page rows copied; nothing (an empty band)
// when FB or page is missing.
RowBand ComposeFrame(BITMAP* page, const ModePass& pass, bool changed_only = false);

// Escape first closes an open menu: true from the update its press closed one until it is let go
// (that press does nothing more). Safe to call more than once per update.
bool MenuTookEscape();

// Runs in every logic update of every mode, before the GUI: Escape closes an open menu, or else
// asks the window to close.
void Apllication_Critical_Functions();

// Blocks until at least one tick is owed or STATEOVER or GAMEOVER is set. The
// timer wakes it once `wanted` ticks are owed (an idle pass has no use for the
// ticks before its next frame), or input wakes it at the next tick.
void WaitForNextTick(int wanted = 1);

// The timer counted a tick: wakes the waiting worker when it has the ticks it wants.
void WakeWorkerForTick();

// Input came (any thread): the waiting worker wakes at the next tick, or now when one is owed.
void WakeWorkerForInput();
