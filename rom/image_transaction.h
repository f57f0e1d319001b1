// One user action on the image as one labelled undo step: every write made through the document while
// the transaction is open joins it, Commit makes the step, and a transaction that ends uncommitted puts
// back every byte it wrote and leaves the history as it was.
//
//   ImageTransaction t(QBR1_Document(), "Paste 3 objects", level, selection_before);
//   ... QBR1_WriteBytes ...
//   t.SetSelectionAfter(selection_after);
//   t.Commit();
//
// A transaction opened inside another joins the outer one's step; rolled back, it puts back only its own
// writes. A gesture that spans updates (a paint stroke, a drag) keeps its transaction until the button is
// released. An undo or redo in the middle commits it: it then does nothing more. A Save in the middle
// makes what it wrote so far a step of its own; it goes on as a new one (ImageDocument::MarkSaved).
// Worker thread only, like the document.
#pragma once

#include <string>

#include "rom/image_document.h"

class ImageTransaction {
 public:
  // Opens the transaction named `label` ("Move 3 objects") of `level` (-1 for none; undo and redo show
  // it again), with the selection `before` that undo brings back.
  ImageTransaction(ImageDocument& document, const std::string& label, int level = -1, const EditSelection& before = {});
  // Rolls back unless committed.
  ~ImageTransaction();
  ImageTransaction(const ImageTransaction&) = delete;
  ImageTransaction& operator=(const ImageTransaction&) = delete;

  // Renames the step (a stroke knows its size only as it goes).
  void SetLabel(const std::string& label);
  // The selection the step leaves (what redo brings back).
  void SetSelectionAfter(const EditSelection& after);
  // Ends the transaction: its writes stay, as one undo step (none when no byte changed).
  void Commit();

 private:
  ImageDocument& document_;
  ImageDocument::EditMark mark_;
  bool open_ = true;
};
