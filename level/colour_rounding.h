#pragma once

// From 8-bit channels to the console's 15-bit colours, as the palette editor
// and the palette import store them.
//
// The program shows a 5-bit channel v as the 8-bit value v * 8 (the low three
// bits 0; 31 shows as 248). An 8-bit channel therefore goes back to the 5-bit
// value whose shown value lies nearest, a tie going up: v = (c + 4) / 8, at most
// 31. Every shown colour comes back unchanged, and 252-255 all give 31.

// The 5-bit value of an 8-bit channel (0-255), as above.
int Channel5From8(int c8);

// The 15-bit colour (bits 0-4 red, 5-9 green, 10-14 blue) of 8-bit channels.
unsigned short Colour15FromRgb(int r, int g, int b);
