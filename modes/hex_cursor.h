#pragma once

#include <cstddef>
#include <string>

// Where the hex editor stands in an image of `size` bytes shown 16 to a row:
// the byte under the cursor and the first row on screen. Every move keeps the
// cursor inside the image (an empty image keeps it at 0) and the cursor's row
// on screen; scrolling with the wheel moves only the rows shown.
struct HexCursor {
  static constexpr std::size_t kRowBytes = 16;

  std::size_t size = 0;    // bytes in the image
  std::size_t offset = 0;  // byte under the cursor
  std::size_t top = 0;     // row index of the first row shown
  int rows = 1;            // rows on screen (at least 1)

  // Rows the image fills (the last one may be partial).
  std::size_t RowCount() const { return (size + kRowBytes - 1) / kRowBytes; }
  // Highest `top` that still fills the screen (0 when the image fits).
  std::size_t LastTop() const;

  // Moves the cursor by `delta` bytes, stopping at the first and last byte.
  void MoveBy(long long delta);
  // Arrow keys: one byte left/right, one row up/down.
  void Left() { MoveBy(-1); }
  void Right() { MoveBy(1); }
  void Up() { MoveBy(-static_cast<long long>(kRowBytes)); }
  void Down() { MoveBy(static_cast<long long>(kRowBytes)); }
  // Page Up/Down: the cursor and the rows shown move by one screen.
  void PageUp();
  void PageDown();
  // Home/End: first/last byte of the cursor's row; with `whole_image`, of the image.
  void Home(bool whole_image);
  void End(bool whole_image);
  // Puts the cursor on `at` (clamped to the image) and its row at the top of
  // the screen as far as the image allows.
  void GoTo(std::size_t at);
  // The wheel: the rows shown move by `delta` rows; the cursor stays.
  void Scroll(long long delta);
  // Sets the rows on screen and brings the cursor's row back on screen.
  void SetRows(int n);
  // Brings the cursor's row on screen, moving the rows shown as little as possible.
  void KeepInView();
};

// Reads a hexadecimal number: optional blanks around, an optional "0x" or "$",
// then 1-8 hexadecimal digits. False for anything else.
bool ParseHexNumber(const std::string& text, unsigned long& value);
