#pragma once

#include <ostream>

// Writes one line per viewable level id (0-229 without 0x5C and 0x5E) of the
// loaded image with the configuration in force: "0xNN<TAB>name<TAB>archetype<TAB>tile_w<TAB>tile_h".
void QBR1_WriteLevelList(std::ostream& out);
