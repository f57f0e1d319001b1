#pragma once

#include <ostream>
#include <string>

// Writes one line per viewable level id (0-229 without 0x5C and 0x5E) of the
// loaded image with the configuration in force: "0xNN<TAB>name<TAB>archetype<TAB>tile_w<TAB>tile_h".
void QBR1_WriteLevelList(std::ostream& out);

// Headless `--list ROM`: loads the image into channel 0x10, applies the
// corrections that fit, selects the game configuration as LoadQBR1 does (an
// unknown CRC-32 only warns on stderr) and prints the level list on stdout.
// Returns 0, or 1 with a one-line error on stderr when the image cannot be read.
int RunListCommand(const std::string& romPath);
