#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reading a GIMP palette text (.gpl): the line "GIMP Palette", header lines
// ("Name: ...", "Columns: ..."), comments (#) and blank lines, and one colour a
// line as three decimal channels 0-255 separated by blanks, each optionally
// followed by a name.

// The colours of `text` in order, 0xRRGGBB each. False, with a one-line reason
// naming the line, when the first line is not "GIMP Palette" or a line is
// neither a header, a comment, blank nor a colour (a channel above 255 included).
bool QBR1_ReadGimpPalette(const std::string& text, std::vector<std::uint32_t>& colours, std::string& reason);
