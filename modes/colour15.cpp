#include "modes/colour15.h"

#include <cstdio>

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool ParseRrggbb(const std::string& text, int& r, int& g, int& b) {
  if (text.size() != 7 || text[0] != '#') return false;
  int channel[3];
  for (int k = 0; k < 3; ++k) {
    const int hi = HexDigit(text[1 + 2 * k]), lo = HexDigit(text[2 + 2 * k]);
    if (hi < 0 || lo < 0) return false;
    channel[k] = hi * 16 + lo;
  }
  r = channel[0];
  g = channel[1];
  b = channel[2];
  return true;
}

std::string RrggbbOfColour15(unsigned short c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", (c & 0x1F) << 3, ((c >> 5) & 0x1F) << 3, ((c >> 10) & 0x1F) << 3);
  return text;
}
