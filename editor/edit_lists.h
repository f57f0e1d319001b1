#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "editor/level_box.h"
#include "editor/object_box.h"
#include "level/level_records.h"
#include "level/list_pool.h"
#include "level/leveldata.h"
#include "level/rom_access.h"
#include "rom/image_document.h"
#include "rom/image_transaction.h"

// Editing of a level's stored record lists (its objects, its banana groups):
// selection, moving, deleting and the clipboard. Each change rewrites the list
// sorted by x again (the game's walks stop at the first record right of the
// view) in the place it holds; a list that needs more records than its place
// holds moves to the lowest place of the pool where it fits
// (editor/list_growth.h), with the pointer word of every level id using it,
// in the same undoable edit. A change of a list other levels show asks first
// whether to change it for all of them or copy it for this level alone
// (editor/shared_lists.h), also in the same undoable edit.

// What differs between the two kinds of list: record layout and position codec.
template <class R>
struct RecordTraits;

template <>
struct RecordTraits<QBR1RawObject> {
  static constexpr ListKind kKind = ListKind::Objects;
  static constexpr const char* kOne = "object";
  static constexpr const char* kMany = "objects";
  static constexpr std::size_t kSize = 8;
  static constexpr std::size_t kEndBytes = kQBR1ObjectEndBytes;
  static constexpr int kYStep = 1;
  static constexpr int kXMin = kQBR1ObjectCoordMin, kXMax = kQBR1ObjectCoordMax;
  static constexpr int kYMin = kQBR1ObjectCoordMin, kYMax = kQBR1ObjectCoordMax;
  static long long Offset(const leveldata& lvl) { return lvl.objects; }
  static std::vector<QBR1RawObject> Read(const RomView& rom, long long at) { return QBR1_ReadRawObjects(rom, at); }
  static bool IsEnd(const RomView& rom, long long at) { return rom.Byte(at) == 0; }
  static int X(const QBR1RawObject& r, const leveldata& lvl) { return r.X(lvl.x); }
  static int Y(const QBR1RawObject& r, const leveldata&) { return r.Y(); }
  static void Set(QBR1RawObject& r, int x, int y, const leveldata& lvl) { r.SetPosition(x, y, lvl.x); }
  // The box the object map draws the object in (ObjectBox); `mirrored`: the view mirrors every object.
  static LevelBox Box(const QBR1RawObject& r, const leveldata& lvl, const RomView&, bool mirrored) {
    return ObjectBox(static_cast<int>(r.Definition()), r.X(lvl.x), r.Y(), mirrored);
  }
};

template <>
struct RecordTraits<QBR1RawBanana> {
  static constexpr ListKind kKind = ListKind::Bananas;
  static constexpr const char* kOne = "banana group";
  static constexpr const char* kMany = "banana groups";
  static constexpr std::size_t kSize = 4;
  static constexpr std::size_t kEndBytes = kQBR1BananaEndBytes;
  static constexpr int kYStep = 8;
  static constexpr int kXMin = 0, kXMax = kQBR1BananaXMax;
  static constexpr int kYMin = 0, kYMax = kQBR1BananaYMax;
  static long long Offset(const leveldata& lvl) { return static_cast<unsigned>(lvl.bananas); }
  static std::vector<QBR1RawBanana> Read(const RomView& rom, long long at) { return QBR1_ReadRawBananas(rom, at); }
  static bool IsEnd(const RomView& rom, long long at) { return (rom.Word(at) & 0x3FE) == 0; }
  static int X(const QBR1RawBanana& r, const leveldata&) { return r.X(); }
  static int Y(const QBR1RawBanana& r, const leveldata&) { return r.Y(); }
  static void Set(QBR1RawBanana& r, int x, int y, const leveldata&) { r.SetPosition(x, y); }
  // The cells' pictures: 16x16 each, 8 pixels apart (never mirrored).
  static LevelBox Box(const QBR1RawBanana& r, const leveldata& lvl, const RomView& rom, bool mirrored);
};

// Rounds a y step down to the list's grid (8 pixels for banana groups).
int SnapToStep(int v, int step);

// One list of the level shown, as the editor sees and changes it.
template <class R>
class RecordListEditor {
 public:
  using Traits = RecordTraits<R>;

  // Follows the level shown and the image: a new level or list forgets the
  // selection; a change of the image made elsewhere (undo, redo) rereads the
  // records and forgets the selection; the editor's own changes keep it. After
  // an undo or redo, the selection the step kept for this list comes back.
  void Sync(const leveldata& lvl, unsigned long long generation, bool own_change);
  // Sync with the image as it is now; the change counts as the editor's own
  // unless an undo, redo or new image came since the list last looked.
  void Follow(const leveldata& lvl);

  // "3 objects", "1 banana group".
  static std::string Count(std::size_t n);
  // The selection as the edit history keeps it.
  EditSelection Selection() const;

  const std::vector<R>& Records() const { return records_; }
  // Each record's box: where it is drawn, as last mirrored by MirrorView.
  const std::vector<LevelBox>& Boxes() const { return boxes_; }
  // Whether the view mirrors every record left-right (objects: the F key); the boxes follow.
  void MirrorView(bool mirrored);
  bool Selected(std::size_t i) const { return i < selected_.size() && selected_[i]; }
  std::size_t SelectedCount() const;
  // Most records the list may hold without moving (HeldRecords).
  std::size_t Capacity() const { return capacity_; }
  // File offset of the list now.
  long long Offset() const { return offset_; }
  // What the last change said: that the list moved or was copied, or why it
  // could not grow or was left alone.
  const std::string& Note() const { return note_; }
  // How many levels show this list (1 when it is the level's own).
  std::size_t SharedBy() const { return shared_by_; }

  // The topmost record whose box holds (x, y), or -1.
  int HitTest(int x, int y) const;
  // A click: selects the record under (x, y) alone, or with `toggle` adds or
  // removes it; a click on empty ground without `toggle` clears the selection.
  void Click(int x, int y, bool toggle);
  // Selects the records whose boxes meet `box` (added to the selection with `add`).
  void SelectBox(const LevelBox& box, bool add);
  void SelectAll();
  void ClearSelection();

  // Starts moving the selection from level point (x, y): one undoable edit
  // until EndMove.
  void BeginMove(int x, int y);
  // Moves the selection to level point (x, y): the records are moved by the
  // whole-pixel distance from the start (y in steps of the list's grid),
  // kept inside what a record can store, and sorted by x again.
  void MoveTo(int x, int y);
  void EndMove();
  bool Moving() const { return moving_; }

  // Removes the selected records; false when nothing is selected.
  bool DeleteSelection();
  // Copies the selected records to the list's clipboard; false when nothing is selected.
  bool CopySelection();
  bool HasClipboard() const { return !Clipboard().empty(); }
  // Inserts the clipboard's records with their top-left at level point (x, y);
  // the inserted records become the selection. False (and `why` says so) when
  // the list has no room for them: nothing changes then.
  bool Paste(int x, int y, std::string& why);
  // Adds `record` at level point (x, y) (kept inside what a record can store;
  // banana groups at y rounded down to 8); it becomes the selection. One undo
  // step "Add 1 object". False (and `why` says so) when no place fits the list.
  bool Add(R record, int x, int y, std::string& why);
  // Inserts copies of the selection 16 pixels right and down; the copies become the selection.
  bool Duplicate(std::string& why);
  // Sets the definition word of every selected record (objects only).
  bool SetSelectedDefinition(unsigned zo);

  // Writes `records` (any order) into the list, sorted by x; the records whose
  // index is in `select` become the selection. More records than the list's
  // place holds move the list (Note() says where). A list other levels show
  // asks first (AskSharedListEdit): "This level" stores the records in a copy
  // that only this level's pointer names. False when no place of the pool fits
  // them (Note() says how many bytes are missing) or the question was
  // cancelled: nothing changes.
  bool Store(std::vector<R> records, std::vector<bool> select);

  static std::vector<R>& Clipboard();

 private:
  void Reload();
  void RestoreSelection();
  // Makes room for `records` records: in place, or by moving the list and
  // rewriting its pointer words. False when nothing fits.
  bool Grow(std::size_t records);
  // Before `sorted` replaces the records: when the list is shared and they
  // differ, asks; "This level" moves the list to a copy place of its own.
  // False when cancelled or no copy fits.
  bool Claim(const std::vector<R>& sorted);
  bool Insert(const std::vector<R>& added, int dx, int dy, const char* verb, std::string& why);
  // Runs `change` (which stores the list) as one undo step named `label`.
  template <class F>
  bool AsOneStep(const std::string& label, F change);

  leveldata lvl_;
  bool known_ = false;
  long long offset_ = -1;
  int level_id_ = -1;
  unsigned long long generation_ = 0;
  std::size_t capacity_ = 0;
  std::size_t shared_by_ = 1;
  bool declined_ = false;  // the last Store was cancelled at the shared-list question
  std::string note_;
  std::vector<R> records_;
  std::vector<LevelBox> boxes_;
  bool mirrored_ = false;
  std::vector<bool> selected_;

  bool moving_ = false;
  std::unique_ptr<ImageTransaction> move_edit_;  // open from BeginMove to EndMove
  bool move_applied_ = false;  // the move has written its records at least once
  int move_x_ = 0, move_y_ = 0;
  std::vector<R> move_base_;
  std::vector<bool> move_selected_;
};

