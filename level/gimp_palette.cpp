#include "level/gimp_palette.h"

#include <cctype>

namespace {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Reads one decimal channel at text[at], skipping blanks before it; false when
// there is no number or it is above 255.
bool Channel(const std::string& line, std::size_t& at, int& value) {
  while (at < line.size() && Blank(line[at])) ++at;
  const std::size_t start = at;
  value = 0;
  while (at < line.size() && std::isdigit(static_cast<unsigned char>(line[at])) && value <= 255)
    value = value * 10 + (line[at++] - '0');
  return at > start && value <= 255 && (at == line.size() || Blank(line[at]));
}

}  // namespace

bool QBR1_ReadGimpPalette(const std::string& text, std::vector<std::uint32_t>& colours, std::string& reason) {
  colours.clear();
  // A byte-order mark some editors put before the first line is no part of it.
  std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  int channels = 3;
  for (int number = 1; start < text.size() || number == 1; ++number) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && Blank(line.back())) line.pop_back();
    if (number == 1) {
      if (line != "GIMP Palette") {
        reason = "not a GIMP palette (its first line is not \"GIMP Palette\")";
        return false;
      }
      continue;
    }
    std::size_t at = 0;
    while (at < line.size() && Blank(line[at])) ++at;
    if (at == line.size() || line[at] == '#') continue;
    if (line.compare(at, 5, "Name:") == 0 || line.compare(at, 8, "Columns:") == 0) continue;
    if (line.compare(at, 9, "Channels:") == 0) {
      std::size_t v = at + 9;
      while (v < line.size() && Blank(line[v])) ++v;
      const std::string kind = line.substr(v);
      if (kind != "RGB" && kind != "RGBA") {
        reason = "line " + std::to_string(number) + " names channels \"" + kind + "\"; RGB or RGBA are read";
        return false;
      }
      channels = kind == "RGBA" ? 4 : 3;
      continue;
    }
    // The alpha channel of an RGBA palette is read and left out: a level colour has none.
    int r = 0, g = 0, b = 0, a = 0;
    if (!Channel(line, at, r) || !Channel(line, at, g) || !Channel(line, at, b) ||
        (channels == 4 && !Channel(line, at, a))) {
      reason = "line " + std::to_string(number) + " is not a colour of " + (channels == 4 ? "four" : "three") +
               " channels 0-255";
      return false;
    }
    colours.push_back(static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 |
                      static_cast<std::uint32_t>(b));
  }
  return true;
}
