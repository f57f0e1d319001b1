#include "editor/edit_modes.h"
#include "editor/view_transform.h"
#include "gui/command_ids.h"
#include "gui/commands.h"
#include "shell/base/functions.h"
#include "shell/base/include.h"

// The Modify group and the Edit menu's list commands, as registered commands.

namespace {

bool InLevelEditor() { return cam != nullptr; }

bool ListMode() { return InLevelEditor() && Edits().mode != EditMode::TileMap; }

std::size_t SelectedInMode() {
  if (!ListMode()) return 0;
  return Edits().mode == EditMode::Objects ? Edits().objects.SelectedCount() : Edits().bananas.SelectedCount();
}

bool ClipboardInMode() {
  if (!ListMode()) return false;
  return Edits().mode == EditMode::Objects ? Edits().objects.HasClipboard() : Edits().bananas.HasClipboard();
}

// Where Paste puts the clipboard: the level point under the mouse, or the
// middle of the view when the mouse is elsewhere.
void PastePoint(int& x, int& y) {
  const ViewFrame& f = cam->frame;
  int wx = MouseX(), wy = MouseY();
  if (wx < f.ox || wx >= f.w - 16 || wy < f.oy || wy >= f.h - 32) {
    wx = (f.ox + f.w - 16) / 2;
    wy = (f.oy + f.h - 32) / 2;
  }
  WindowToLevel(wx, wy, x, y);
}

const char* ListName() { return Edits().mode == EditMode::Objects ? "objects" : "banana groups"; }

template <class R>
bool Paste(RecordListEditor<R>& list) {
  int x = 0, y = 0;
  PastePoint(x, y);
  std::string why;
  if (list.Paste(x, y, why)) {
    if (!list.Note().empty()) SetEditStatus(list.Note());  // the list moved to make room
    return true;
  }
  SetEditStatus(std::string("Paste: nothing changed. ") + why);
  return false;
}

template <class R>
bool Duplicate(RecordListEditor<R>& list) {
  std::string why;
  if (list.Duplicate(why)) {
    if (!list.Note().empty()) SetEditStatus(list.Note());
    return true;
  }
  SetEditStatus(std::string("Duplicate: nothing changed. ") + why);
  return false;
}

void Report(bool done, const std::string& what) {
  if (done) SetEditStatus(what + " " + std::to_string(SelectedInMode()) + " " + ListName());
}

}  // namespace

bool EditCopy() {
  if (SelectedInMode() == 0) return false;
  const bool done = Edits().mode == EditMode::Objects ? Edits().objects.CopySelection()
                                                      : Edits().bananas.CopySelection();
  Report(done, "Copied");
  return done;
}

bool EditDelete() {
  if (SelectedInMode() == 0) return false;
  const std::size_t n = SelectedInMode();
  const bool done = Edits().mode == EditMode::Objects ? Edits().objects.DeleteSelection()
                                                      : Edits().bananas.DeleteSelection();
  if (done) SetEditStatus("Deleted " + std::to_string(n) + " " + ListName());
  return done;
}

bool EditCut() { return EditCopy() && EditDelete(); }

bool EditPaste() {
  if (!ClipboardInMode()) return false;
  return Edits().mode == EditMode::Objects ? Paste(Edits().objects) : Paste(Edits().bananas);
}

bool EditDuplicate() {
  if (SelectedInMode() == 0) return false;
  return Edits().mode == EditMode::Objects ? Duplicate(Edits().objects) : Duplicate(Edits().bananas);
}

bool EditSelectAll() {
  if (!ListMode()) return false;
  if (Edits().mode == EditMode::Objects) {
    Edits().objects.SelectAll();
  } else {
    Edits().bananas.SelectAll();
  }
  return true;
}

void RegisterEditModeCommands() {
  // One handler for the Modify entries the program knows; each carries its edit mode.
  struct ModifyEntry {
    CommandId id;
    EditMode mode;
  };
  for (const ModifyEntry& e : {ModifyEntry{kCmdModifyTileMap, EditMode::TileMap},
                               ModifyEntry{kCmdModifyObjects, EditMode::Objects},
                               ModifyEntry{kCmdModifyBananaMap, EditMode::BananaMap}}) {
    const EditMode mode = e.mode;
    RegisterCommand(e.id, {[mode] { SetEditMode(mode); }, InLevelEditor, [mode] { return Edits().mode == mode; }});
  }
  // The program does not know the data of these entries: shown, never available.
  for (unsigned short id : {kCmdModifyEnemies, kCmdModifyCollectibles, kCmdModifyFocusPoints}) {
    RegisterCommand(id, {[] {}, [] { return false; }, nullptr});
  }
  RegisterShortcut(kCmdModifyTileMap, KEY_1, kModCtrl);
  RegisterShortcut(kCmdModifyObjects, KEY_3, kModCtrl);
  RegisterShortcut(kCmdModifyBananaMap, KEY_5, kModCtrl);

  RegisterCommand(kCmdCut, {[] { EditCut(); }, [] { return SelectedInMode() > 0; }, nullptr});
  RegisterCommand(kCmdCopy, {[] { EditCopy(); }, [] { return SelectedInMode() > 0; }, nullptr});
  RegisterCommand(kCmdPaste, {[] { EditPaste(); }, ClipboardInMode, nullptr});
  RegisterCommand(kCmdDuplicate, {[] { EditDuplicate(); }, [] { return SelectedInMode() > 0; }, nullptr});
  RegisterCommand(kCmdDelete, {[] { EditDelete(); }, [] { return SelectedInMode() > 0; }, nullptr});
  RegisterCommand(kCmdSelectAll, {[] { EditSelectAll(); }, ListMode, nullptr});
  RegisterShortcut(kCmdCut, KEY_X, kModCtrl);
  RegisterShortcut(kCmdCopy, KEY_C, kModCtrl);
  RegisterShortcut(kCmdPaste, KEY_V, kModCtrl);
  RegisterShortcut(kCmdDuplicate, KEY_D, kModCtrl);
  RegisterShortcut(kCmdDelete, KEY_DEL, kModNone);
  RegisterShortcut(kCmdSelectAll, KEY_A, kModCtrl);
}
