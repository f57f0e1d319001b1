#pragma once

#include <string>
#include <vector>

#include "editor/input_snapshot.h"
#include "platform/allegro_include.h"

// Shared set-up of the level view tests: Allegro without a display, a
// configuration held in memory, and a ROM image placed in channel 0x10.
namespace editor_test {

// Starts Allegro without a display (once per process) at 32 bits per pixel.
void InitAllegro();

// Makes `text` the configuration in force (no file behind it) and reads the
// table offsets of the image from it.
void UseConfig(const std::string& text);

// Replaces the loaded image with `image`.
void UseImage(const std::vector<unsigned char>& image);

// A zero-filled image of `size` bytes.
std::vector<unsigned char> BlankImage(std::size_t size = 0x400000);

// Stores a little-endian word.
void PutWord(std::vector<unsigned char>& image, std::size_t at, unsigned value);

// A w x h 32-bit bitmap filled with `colour`; caller owns.
BITMAP* SolidBitmap(int w, int h, int colour);

// The input of a mouse over level point (lx, ly) of a 100 % view at the
// editor's origin (4, 60), the left button in state `left`.
InputSnapshot At(int lx, int ly, int left = 0);

// Loads the built-in fonts and skin while it lives and releases them afterwards, also when an
// assertion ends the test early.
class BuiltinResources {
 public:
  BuiltinResources();
  ~BuiltinResources();
  BuiltinResources(const BuiltinResources&) = delete;
  BuiltinResources& operator=(const BuiltinResources&) = delete;
};

}  // namespace editor_test
