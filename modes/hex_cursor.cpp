#include "modes/hex_cursor.h"

#include <algorithm>

std::size_t HexCursor::LastTop() const {
  const std::size_t shown = static_cast<std::size_t>(std::max(rows, 1));
  return RowCount() > shown ? RowCount() - shown : 0;
}

void HexCursor::MoveBy(long long delta) {
  if (size == 0) {
    offset = 0;
    top = 0;
    return;
  }
  const long long last = static_cast<long long>(size) - 1;
  long long next = static_cast<long long>(offset) + delta;
  // A row move past either end stops on the nearest byte rather than wrapping.
  next = std::clamp(next, 0LL, last);
  offset = static_cast<std::size_t>(next);
  KeepInView();
}

void HexCursor::PageUp() {
  const std::size_t page = static_cast<std::size_t>(std::max(rows, 1));
  top = top > page ? top - page : 0;
  MoveBy(-static_cast<long long>(page * kRowBytes));
}

void HexCursor::PageDown() {
  const std::size_t page = static_cast<std::size_t>(std::max(rows, 1));
  top = std::min(top + page, LastTop());
  MoveBy(static_cast<long long>(page * kRowBytes));
}

void HexCursor::Home(bool whole_image) {
  const std::size_t target = whole_image ? 0 : offset - offset % kRowBytes;
  MoveBy(static_cast<long long>(target) - static_cast<long long>(offset));
}

void HexCursor::End(bool whole_image) {
  if (size == 0) return MoveBy(0);
  const std::size_t target = whole_image ? size - 1 : std::min(offset - offset % kRowBytes + kRowBytes - 1, size - 1);
  MoveBy(static_cast<long long>(target) - static_cast<long long>(offset));
}

void HexCursor::GoTo(std::size_t at) {
  offset = size == 0 ? 0 : std::min(at, size - 1);
  top = std::min(offset / kRowBytes, LastTop());
}

void HexCursor::Scroll(long long delta) {
  const long long next = std::clamp(static_cast<long long>(top) + delta, 0LL, static_cast<long long>(LastTop()));
  top = static_cast<std::size_t>(next);
}

void HexCursor::SetRows(int n) {
  rows = std::max(n, 1);
  top = std::min(top, LastTop());
  KeepInView();
}

void HexCursor::KeepInView() {
  const std::size_t row = offset / kRowBytes;
  const std::size_t shown = static_cast<std::size_t>(std::max(rows, 1));
  if (row < top) top = row;
  else if (row >= top + shown) top = row - shown + 1;
}

bool ParseHexNumber(const std::string& text, unsigned long& value) {
  std::size_t at = text.find_first_not_of(" \t");
  std::size_t end = text.find_last_not_of(" \t");
  if (at == std::string::npos) return false;
  std::string digits = text.substr(at, end - at + 1);
  if (digits.rfind("0x", 0) == 0 || digits.rfind("0X", 0) == 0) digits.erase(0, 2);
  else if (!digits.empty() && digits[0] == '$') digits.erase(0, 1);
  if (digits.empty() || digits.size() > 8) return false;
  unsigned long v = 0;
  for (char c : digits) {
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    if (d < 0) return false;
    v = v * 16 + static_cast<unsigned long>(d);
  }
  value = v;
  return true;
}
