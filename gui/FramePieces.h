#pragma once

#include "platform/allegro_include.h"

// Fixed metrics of the self-drawn window frame (window pixels).
constexpr int kCaptionHeight = 24;
constexpr int kBorderWidth = 4;
constexpr int kStatusBarHeight = 16;
constexpr int kGripSize = 16;
constexpr int kCaptionButtonsRightInset = 6;  // buttons laid out leftward from w - 6
constexpr int kCaptionButtonsTop = 2;
constexpr int kMinWindowW = 512;  // smallest size a resize leaves
constexpr int kMinWindowH = 256;

// Cursor shapes of SetMouseCursorBitmap.
constexpr int kCursorNormal = 0;
constexpr int kCursorMove = 1;
constexpr int kCursorHResize = 2;
constexpr int kCursorVResize = 3;
constexpr int kCursorDResize = 4;

// Frame pieces are drawn with the unclipped raster routines; these wrappers draw a
// piece only when it exists and lies wholly inside `dest`, so a missing skin slot or
// an odd window size never writes outside the frame buffer.

// The whole piece at (x, y), skipping mask-coloured pixels.
void DrawMasked(BITMAP* piece, BITMAP* dest, int x, int y);
// The whole piece at (x, y), every pixel.
void DrawCopy(BITMAP* piece, BITMAP* dest, int x, int y);
// A one-pixel-wide piece repeated sideways over `width` columns from (x, y).
void DrawColumnStretched(BITMAP* piece, BITMAP* dest, int x, int y, int width);
// A one-pixel-high piece repeated downward over `height` rows from (x, y).
void DrawRowStretched(BITMAP* piece, BITMAP* dest, int x, int y, int height);
// The piece mirrored left-right at (x, y), skipping mask-coloured pixels.
void DrawMirrored(BITMAP* piece, BITMAP* dest, int x, int y);
