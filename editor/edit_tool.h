#pragma once

#include <cstddef>
#include <string>

#include "editor/classes.h"
#include "editor/input_snapshot.h"

// What the Edit menu's commands (Cut, Copy, Paste, Duplicate, Delete, Select
// All) do on a tool that holds a selection of records.
class SelectionEditing {
 public:
  virtual ~SelectionEditing() = default;
  virtual std::size_t SelectedCount() const = 0;
  virtual bool HasClipboard() const = 0;
  // Each returns false when it could not act (and says why in the status line
  // where the user would wonder).
  virtual bool Copy() = 0;
  virtual bool Delete() = 0;
  // Pastes with the clipboard's top-left at level point (x, y).
  virtual bool Paste(int x, int y) = 0;
  virtual bool Duplicate() = 0;
  virtual bool SelectAll() = 0;
};

// One edit tool of the level editor: what the mouse and the keys do in the
// level view. The editor holds the current tool and hands it one input
// snapshot per logic update; the view, its scrolling and the other keys stay
// the camera's. A tool keeps its state across levels (one per program).
class EditTool {
 public:
  virtual ~EditTool() = default;

  // The tool becomes current, or a new camera comes while it is current.
  virtual void Activate(CCamera& /*camera*/) {}
  // The tool stops being current or its camera goes: a gesture in progress ends.
  virtual void Deactivate() {}

  // One logic update: Keys, then the left button as press, move (while held
  // after a press) and release. Tools override the parts they use.
  virtual void Proc(CCamera& camera, const InputSnapshot& in);
  virtual void Keys(CCamera& /*camera*/, const InputSnapshot& /*in*/) {}
  // (in.lx, in.ly): the level point under the mouse; in.wx, in.wy the window pixel.
  virtual void MousePress(CCamera& /*camera*/, const InputSnapshot& /*in*/) {}
  virtual void MouseMove(CCamera& /*camera*/, const InputSnapshot& /*in*/) {}
  virtual void MouseRelease(CCamera& /*camera*/, const InputSnapshot& /*in*/) {}

  // Draws the tool's overlay over the view (after the camera, before the GUI).
  virtual void Draw(BITMAP* /*dest*/, const CCamera& /*camera*/) const {}
  // What the tool wants in the status line after the view's point ("" for nothing).
  virtual std::string StatusText() const { return ""; }
  // Whether the wheel belongs to the tool at window pixel (x, y) rather than to the view.
  virtual bool OwnsWheelAt(const CCamera& /*camera*/, int /*x*/, int /*y*/) const { return false; }
  // The tool's selection for the Edit menu; null when it has none.
  virtual SelectionEditing* Selection() { return nullptr; }

 private:
  bool pressed_ = false;  // MousePress was sent and its release not yet
};
