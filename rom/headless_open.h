#pragma once

#include <cstddef>
#include <string>

// Loads the image at romPath for a command without a window: into channel
// 0x10, with the corrections that fit, and the game configuration selected as
// LoadQBR1 does but without asking (an image that is not the supported one
// only warns on stderr). False, with an error line on stderr (after the box of
// the file-access library, if it showed one), when the image cannot be read.
// Nothing is written to any configuration file. `header`, when given, receives the size of the
// copier header split off the file (QBR1_OpenedHeaderSize, as Open decides).
bool LoadRomHeadless(const std::string& romPath, std::size_t* header = nullptr);
