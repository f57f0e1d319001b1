#pragma once

// Walks of the object definition and animation scripts in the ROM image.
// Scripts are trusted by the game but not by us: every walk is bounded, so a
// script that jumps in a loop ends instead of stalling the frame.

// What the definition script at `zo` (low 16 bits of a bank 0x35 address)
// and its first animation frame give for one object.
struct ObjectScript {
  int pal = 0;  // file offset of the palette, 0 when none is found
  int ani = 0;  // animation number, 0 when none is found
  int spr = 0;  // sprite number of the first frame, 0 when none is found
};

// Follows the definition script and the animation script of an object.
ObjectScript WalkObjectScripts(int zo);
