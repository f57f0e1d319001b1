#pragma once

#include <string>

#include "editor/edit_lists.h"
#include "editor/edit_tool.h"

// The tools that edit one record list of the level shown: a click selects the
// record under the mouse, Shift+click adds or removes it, a drag from empty
// ground selects with a rubber band, a drag from a selected record moves the
// selection (one undo step: "Move 3 objects"); the Edit menu acts on the
// selection.
template <class R>
class RecordListTool : public EditTool, public SelectionEditing {
 public:
  RecordListEditor<R> list;

  // Follows the camera's level and the image (see RecordListEditor::Follow).
  void Activate(CCamera& camera) override;
  // Ends a move or rubber band in progress.
  void Deactivate() override;
  void MousePress(CCamera& camera, const InputSnapshot& in) override;
  void MouseMove(CCamera& camera, const InputSnapshot& in) override;
  void MouseRelease(CCamera& camera, const InputSnapshot& in) override;
  // The selected records' boxes and the rubber band.
  void Draw(BITMAP* dest, const CCamera& camera) const override;
  SelectionEditing* Selection() override { return this; }
  // "shared by N levels" while other levels show the level's list too.
  std::string StatusText() const override;

  std::size_t SelectedCount() const override { return list.SelectedCount(); }
  bool HasClipboard() const override { return list.HasClipboard(); }
  bool Copy() override;
  bool Delete() override;
  bool Paste(int x, int y) override;
  bool Duplicate() override;
  bool SelectAll() override;

 protected:
  // Whether a move or rubber band is in progress.
  bool Busy() const { return list.Moving() || band_.active; }
  // A double click on a record (already selected by the first click); true
  // when the tool took it (no move starts then).
  virtual bool DoubleClick() { return false; }
  // A double click on empty ground at level point (x, y); true when the tool
  // took it (no rubber band starts then).
  virtual bool DoubleClickOnGround(int x, int y) { return (void)x, (void)y, false; }

 private:
  // A rubber band in progress, in level pixels.
  struct RubberBand {
    bool active = false;
    bool add = false;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    LevelBox Box() const;
  } band_;
};

// The Objects tool: besides the list's editing, Enter or a double click on an
// object asks for a definition for the selected objects; Insert, or a double
// click on empty ground, adds an object of a chosen definition at the mouse.
class ObjectsTool : public RecordListTool<QBR1RawObject> {
 public:
  void Keys(CCamera& camera, const InputSnapshot& in) override;

 protected:
  bool DoubleClick() override;
  bool DoubleClickOnGround(int x, int y) override;
};

// The Banana Map tool: the list's editing of the banana groups; Insert adds a
// group of a chosen shape at the mouse.
class BananaMapTool : public RecordListTool<QBR1RawBanana> {
 public:
  void Keys(CCamera& camera, const InputSnapshot& in) override;
};
