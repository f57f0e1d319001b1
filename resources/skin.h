#pragma once

#include "platform/allegro_include.h"

// The built-in pictures the program draws its window with, loaded once by the
// program object on the worker thread and read by the GUI and the modes.

extern BITMAP* HelioBMP[45];       // skin slots; slot 24 stays null
extern BITMAP* FunctionIcons;      // 33 menu and toolbar icons of 16x16, side by side
extern BITMAP* RegionFlagIcons;    // 7 region flags of 16x12, side by side
extern BITMAP* QBRREHelioWinIcon;  // caption icon, 96x16
extern BITMAP* BMPBannerStartup;   // start-up screen banner, 512x96
extern BITMAP* BMPBannerExtract;   // extraction banner, 512x96
extern FONT* MicroFont;            // 5-pixel label font
extern FONT* DigitFont;            // 7-pixel digit font
extern FONT* NMenuFont[4];         // menu font by item state: disabled, normal, highlighted, open
extern BITMAP* MouseCursor_N;      // normal pointer
extern BITMAP* MouseCursor_M;      // moving
extern BITMAP* MouseCursor_H;      // horizontal resizing
extern BITMAP* MouseCursor_V;      // vertical resizing
extern BITMAP* MouseCursor_D;      // diagonal resizing

// Colours of the four menu fonts (0xAARRGGBB), by item state.
inline constexpr unsigned long kNMenuFontColours[4] = {0xFF282828, 0xFF808080, 0xFFC0C0C0, 0xFF404040};

// Loads the fonts, banners, icon strips, skin slots and cursors. Needs Allegro
// installed at 32-bit depth.
void LoadBuiltinResources();

// Releases everything LoadBuiltinResources made and clears the pointers.
void DestroyBuiltinResources();
