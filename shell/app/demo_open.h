#pragma once

// Name under which the built-in demo image is loaded into channel 0x10.
extern const char* const kDemoImageName;

// Opens the program's own synthetic demo image instead of a file: builds it in
// memory, loads it into channel 0x10 with the corrections, selects its game
// configuration (taken from memory) with Configuration.INI laid over it, and
// finishes as a file Open does. Asks nothing, since the program
// made the image. False, with the Open's error box, when it cannot be loaded.
bool OpenDemoImage();
