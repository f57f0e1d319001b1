#pragma once

#include <string>
#include <vector>

#include "modes/hex_cursor.h"
#include "modes/cached_view.h"
#include "modes/mode_common.h"

// One table of the current level in the hex editor's side column.
struct HexBookmark {
  std::string name;
  long long offset = 0;
};

// The tables of level `id`: level record, tile map, object map, banana map, palette.
std::vector<HexBookmark> QBR1_LevelBookmarks(int id);

// The hex editor: the image 16 bytes to a row (offset, hex, text). Two hex
// digits typed at the cursor overwrite its byte as one undoable edit; bytes
// that differ from the file as opened are highlighted.
class HexEditor {
 public:
  // Geometry inside the view area, in pixels of the 8x8 font.
  static constexpr int kRowHeight = 12;
  static constexpr int kHexX = 64;    // first hex digit
  static constexpr int kByteW = 24;   // "XX "
  static constexpr int kTextX = 456;  // first character of the text column
  static constexpr int kSideX = 600;  // the side column of level tables
  static constexpr int kBookmarkH = 26;

  explicit HexEditor(int level_id);
  ~HexEditor();
  HexEditor(const HexEditor&) = delete;
  HexEditor& operator=(const HexEditor&) = delete;

  void Proc();
  void Draw(BITMAP* dest);
  std::string Status() const;

  // Types one hex digit (0-15) at the cursor: the first is held, the second
  // writes the byte and moves on. True when a byte was written.
  bool TypeDigit(int digit);
  // Asks for an offset and moves there.
  void AskAndGo();
  // Whether byte `at` differs from the file as opened (a user's edit).
  bool Changed(std::size_t at);

  HexCursor& cursor() { return cursor_; }
  int pending() const { return pending_; }
  const std::vector<HexBookmark>& bookmarks() const { return bookmarks_; }

  // The byte under window pixel (x, y) in the hex or text column; false when none.
  bool ByteAt(int x, int y, std::size_t& at) const;
  // The side-column entry under window pixel (x, y); -1 when none.
  int BookmarkAt(int x, int y) const;

 private:
  // Finds the changed bytes again when the image changed since they were found
  // (a new image, an undo or redo, an edit made elsewhere).
  void RefreshChanges();
  // Updates the changed bytes after this editor wrote byte `at` (`differs`:
  // the byte was not already the value written) and nothing else changed.
  void NoteOwnWrite(std::size_t at, bool differs);
  // Paints the view area into `view`: the rows in view, the cursor, the side column.
  void Compose(BITMAP* view) const;
  void MoveWith(void (HexCursor::*move)());

  HexCursor cursor_;
  int pending_ = -1;  // the first digit of a byte being typed, -1 when none
  std::vector<HexBookmark> bookmarks_;
  int level_id_ = 0;

  std::vector<bool> changed_;
  unsigned long long changed_generation_ = ~0ULL;
  bool changed_unsaved_ = false;
  const void* changed_file_ = nullptr;

  // What the view shows: the image (its generation, and whether it is unsaved,
  // which colours the changed bytes), the rows in view, the cursor, a digit typed.
  struct ViewKey {
    unsigned long long generation = 0;
    bool unsaved = false;
    std::size_t top = 0, offset = 0;
    int pending = 0, rows = 0;
    bool operator==(const ViewKey&) const = default;
  };
  CachedView<ViewKey> view_;

  KeyPresses keys_;
  InputGate gate_;
  ViewClicks clicks_;
  WheelSteps wheel_;
};

// Mode function of the hex editor.
void HEX_EDITOR_SUBFUNCTION();
