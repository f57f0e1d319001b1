#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reading a GIMP palette text (.gpl): the line "GIMP Palette" (after a UTF-8
// byte-order mark, when there is one), header lines ("Name: ...", "Columns: ...",
// "Channels: RGB" or "Channels: RGBA"), comments (#) and blank lines, and one
// colour a line as three decimal channels 0-255 (four with RGBA, the alpha
// read and dropped) separated by blanks, each optionally followed by a name.

// The colours of `text` in order, 0xRRGGBB each. False, with a one-line reason
// naming the line, when the first line is not "GIMP Palette" or a line is
// neither a header, a comment, blank nor a colour (a channel above 255 included).
bool QBR1_ReadGimpPalette(const std::string& text, std::vector<std::uint32_t>& colours, std::string& reason);
