#pragma once

#include <string>

// The commands that run without a window: they load an image headless
// (LoadRomHeadless) and write to stdout or files. The caller chooses the stderr
// message backend first, since nobody is there to answer a box.

// `--list ROM`: loads the image into channel 0x10, applies the corrections that
// fit, selects the game configuration as LoadQBR1 does (an unknown CRC-32 only
// warns on stderr) and prints the level list on stdout. Returns 0, or 1 with an
// error on stderr when the image cannot be read.
int RunListCommand(const std::string& romPath);

// `--export LEVEL --output FILE ROM` and `--export all --output DIR ROM`: loads
// the image as `--list` does and writes 8-bit RGB PNG pictures of the levels as
// the level view composes them. Returns 0, or 1 with an error on stderr.
int RunExportCommand(const std::string& level, const std::string& output, const std::string& romPath);

// `--free-space ROM`: loads the image as `--list` does, checks the free space its
// game configuration declares (each refused range on stderr) and prints the
// pool figures and the candidate runs (QBR1_WriteFreeSpaceReport). Returns 0,
// or 1 with an error on stderr when the image cannot be read.
int RunFreeSpaceCommand(const std::string& romPath);
