#pragma once

#include <cstddef>
#include <vector>

#include "bfa/bfa.h"

// One byte that the loaded image needs in memory before the level code reads it.
struct QBR1Correction {
  unsigned long offset;  // file offset in the image
  unsigned char value;   // byte stored there
};

// The 17 in-memory corrections of an opened image; no offset repeats.
extern const QBR1Correction QBR1Corrections[17];

// Stores every correction whose offset lies inside data[0, size); corrections
// past the end of a short image are skipped. Returns how many were stored.
std::size_t ApplyQBR1Corrections(unsigned char* data, std::size_t size);

// ApplyQBR1Corrections over a whole image held in a vector (headless commands, tests).
std::size_t ApplyQBR1Corrections(std::vector<unsigned char>& image);

// ApplyQBR1Corrections over a whole image held as plain chars (a file-access channel buffer).
std::size_t ApplyQBR1Corrections(std::vector<char>& image);

// Seeds section "LevelDisplay" of the configuration in force with "Enable" and the
// 256 per-level view keys, unless "Enable" already exists.
void SeedLevelDisplay();

// Puts an accepted image into channel 0x10 under `name` with the corrections
// applied in memory (its checksum stays that of the image as given), without
// its first `header` bytes (a copier header), and starts its edit history from
// the file as given. When the channel refuses it: the Open's error box, the
// channel disabled, false.
bool InstallQBR1Image(const char* name, BFA_LoadedFile file, std::size_t header = 0);

// What runs once a newly opened image and its configuration are in place,
// before the level editor starts (the level layer checks the declared free
// space). Registered by the application; none by default.
using ImageOpenedHook = void (*)();
void SetImageOpenedHook(ImageOpenedHook hook);

// The common end of every successful Open, once the image is in channel 0x10 and
// its configuration selected: runs the image-opened hook, seeds the view keys and
// shows the alpha notice. Which mode follows is the application's choice.
void FinishOpen();
