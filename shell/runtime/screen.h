#pragma once

#include "platform/video_provider.h"
#include "platform/allegro_include.h"

// Screen update: how a finished frame reaches the display. One of four methods is
// chosen at start-up: 1 triple buffering, 2 page flipping, 3 system buffer, 4 double
// buffer (memory bitmap copied to the screen). A method whose bitmaps cannot be had
// falls back (1 to 2, then 2 and 3 to 4), so that GetBuffer always has a page.

// Sets up `method` (outside 1-4 means 1) at the size of the graphics mode.
void InitializeScreenUpdate(int method);

// Presents the page drawn into and chooses the next page to draw into.
void SwapBuffers();

// As SwapBuffers, when only the top-left w x h area of the page holds the frame
// (the window's area): the copying methods (3, 4) copy just that area.
void SwapBuffersArea(int w, int h);

// As SwapBuffersArea for rows [top, bottom) of width w: the copying methods copy
// just those rows (the rest of the display already shows the page).
void SwapBuffersRows(int w, int top, int bottom);

// True for the copying methods (3, 4), whose page keeps the frame last drawn into
// it and presented; the flipping methods draw into a page shown two frames ago.
bool PageKeepsLastFrame();

// Releases every page and hides the mouse pointer; the method becomes none (0).
void ShutDownScreenUpdate();

// The page the next frame is drawn into; nullptr only when no method could be set up.
BITMAP* GetBuffer();

// The page on display.
BITMAP* GetScreen();

// Wait (or not) for the vertical retrace before copying (methods 3 and 4).
void EnableVSync();
void DisableVSync();
bool VSyncEnabled();

// Method in use: 1-4, or 0 when none.
int GetScreenUpdateMethod();

// Test seam: the source of pages (nullptr: Allegro's driver). Set before InitializeScreenUpdate.
void SetVideoBitmapProvider(const VideoBitmapProvider* provider);
