// The open image as a document: the file as opened, the user's edits on top of it and their history of
// labelled undo steps, the position last saved and the generation counter views compare.
//
// The live image (the channel the view reads, the in-memory corrections of Open included) is the open
// image's (rom/open_image.h), not the document's: the document writes into it and remembers, per step,
// every byte before and after, so undo and redo restore exact bytes. Save and patches are built from
// the file as opened plus the steps in force. Edits are grouped by transactions (rom/image_transaction.h).
// Single-threaded, except HasUnsavedEditsAnyThread.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The records selected in one record list of the image around an edit step: the list (its image
// offset; -1 when the step names no selection) and the indexes of the selected records.
struct EditSelection {
  long long list = -1;
  std::vector<std::size_t> items;
  bool operator==(const EditSelection&) const = default;
};

// What an undo or redo brought back: the step's level (-1 for none), its label and the selection in
// force on that side of it (before the step for undo, after it for redo).
struct EditStepInfo {
  int level = -1;
  std::string label;
  EditSelection selection;
};

class ImageDocument {
 public:
  // The label of a step whose gesture gave none.
  static constexpr const char* kDefaultLabel = "Edit";

  // A document editing `image` in place; it starts empty (no file, no history).
  explicit ImageDocument(std::vector<char>& image) : image_(image) {}
  ImageDocument(const ImageDocument&) = delete;
  ImageDocument& operator=(const ImageDocument&) = delete;

  // Starts the history of a newly installed image: keeps `file` (header included, `header` bytes of
  // it the copier header), forgets every step and any open edit, and counts the image as saved.
  void Reset(std::vector<unsigned char> file, std::size_t header);

  // Writes `n` bytes at image offset `offset`, as part of the open transaction (rom/image_transaction.h)
  // or as an edit of its own.
  // False, and nothing written, when any byte lies outside the image.
  bool Write(std::size_t offset, const unsigned char* bytes, std::size_t n);

  // Undo / redo one step (an open transaction is committed first and ends: what it does later is
  // nothing); false when there is none.
  bool Undo(EditStepInfo* step);
  bool Redo(EditStepInfo* step);
  // Labels of the step Undo and Redo would take back or bring back; "" when there is none.
  std::string UndoLabel() const;
  std::string RedoLabel() const;
  std::size_t UndoCount() const { return applied_; }
  std::size_t RedoCount() const { return history_.size() - applied_; }

  // Changes on every write, undo, redo and reset.
  unsigned long long Generation() const { return generation_; }
  // The generation right after the last undo, redo or reset: a view that saw a later generation
  // knows every change since came from new edits.
  unsigned long long HistoryGeneration() const { return history_generation_; }
  // The selection the last undo or redo brought back, while the image has not changed since; null
  // otherwise or when that step named none.
  const EditSelection* RestoredSelection() const;

  // Whether the image differs from the file last opened or saved.
  bool HasUnsavedEdits() const { return applied_ != saved_at_ || open_changed_; }
  // The same answer for any thread, as of the last write, undo, redo, reset or save.
  bool HasUnsavedEditsAnyThread() const { return unsaved_published_.load(); }
  // Records that the file on disk now holds SavedFileBytes(). An open transaction (a stroke still held)
  // leaves what it wrote so far as a step of its own and goes on as a new one with the same level and
  // label.
  void MarkSaved();

  // The file exactly as opened, its copier header's size, and the bytes Save would write now (the
  // opened file with the steps in force and what an open edit wrote so far).
  const std::vector<unsigned char>& OpenedFile() const { return opened_; }
  std::size_t HeaderSize() const { return header_; }
  std::vector<unsigned char> SavedFileBytes() const;
  // The same bytes as pieces, without allocating (a crash handler writes them): `put` gets the file as
  // opened at 0, then every change in force at its file offset, in the order they apply.
  using PieceSink = void (*)(void* context, std::size_t at, const unsigned char* bytes, std::size_t n);
  void ForEachSavedPiece(PieceSink put, void* context) const;

 private:
  friend class ImageTransaction;

  // Where a transaction began: the open edit it belongs to, the save that last split that edit, and
  // how many byte writes the edit held then.
  struct EditMark {
    unsigned long long edit = 0;
    unsigned long long split = 0;
    std::size_t written = 0;
  };
  // Opens one undoable edit (one gesture) named `label`, of `level` (-1 for none), with the selection
  // in force before it; a transaction opened inside another joins the outermost edit.
  EditMark Open(int level, const std::string& label, const EditSelection& before);
  // Whether the edit `mark` began in is still open (an undo, redo or reset ends it).
  bool Holds(const EditMark& mark) const { return open_depth_ > 0 && mark.edit == edit_serial_; }
  // Renames the open edit; gives the selection it leaves.
  void SetLabel(const EditMark& mark, const std::string& label);
  void SetSelectionAfter(const EditMark& mark, const EditSelection& after);
  // Closes one level of Open; the outermost makes the step (none when no byte changed).
  void Close(const EditMark& mark);
  // Puts back every byte written since `mark`, in reverse order, then closes that level.
  void RollBack(const EditMark& mark);

  // A stretch of bytes one step changed: `n` bytes at image offset `offset`; the bytes it replaced
  // and the bytes it wrote lie at pool[at] and pool[at + n] of its step.
  struct Run {
    std::size_t offset;
    std::size_t at;
    std::size_t n;
  };
  struct Step {
    int level = -1;
    std::string label;
    EditSelection before, after;
    std::vector<Run> runs;  // ascending offsets, never overlapping
    std::vector<unsigned char> pool;
  };
  // One byte written during the open edit, in the order of the writes.
  struct RawByte {
    std::size_t offset;
    std::uint32_t seq;
    unsigned char old;
  };

  unsigned char* Image() const { return reinterpret_cast<unsigned char*>(image_.data()); }
  bool InsideImage(std::size_t offset, std::size_t n) const {
    return offset <= image_.size() && n <= image_.size() - offset;
  }
  void CloseOpenEdit();
  void ForceCloseOpenEdit();
  void Put(const Step& step, bool old_side);
  void AfterHistoryMove(const Step& step, bool undo, EditStepInfo* info);
  void Publish() { unsaved_published_ = HasUnsavedEdits(); }

  std::vector<char>& image_;
  std::vector<unsigned char> opened_;
  std::size_t header_ = 0;
  std::vector<Step> history_;  // steps in force first, then the undone ones redo may bring back
  std::size_t applied_ = 0;
  std::size_t saved_at_ = 0;  // `applied_` when the file on disk matched; kNotReachable when lost
  unsigned long long generation_ = 0;
  unsigned long long history_generation_ = 0;
  EditSelection restored_;
  unsigned long long restored_generation_ = ~0ULL;

  int open_depth_ = 0;
  unsigned long long edit_serial_ = 0;   // counts outermost opens
  unsigned long long split_serial_ = 0;  // counts saves that split an open edit
  Step open_;  // level, label and selections of the open edit
  std::vector<RawByte> open_bytes_;
  bool open_changed_ = false;
  std::atomic<bool> unsaved_published_{false};
};
