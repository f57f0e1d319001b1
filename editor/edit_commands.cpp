#include "editor/edit_commands.h"

#include <memory>

#include "editor/edit_tiles.h"
#include "editor/edit_tools.h"
#include "editor/list_tools.h"
#include "editor/view_transform.h"
#include "gui/command_ids.h"
#include "gui/commands.h"
#include "shell/base/functions.h"
#include "platform/allegro_include.h"

namespace {

// The current tool's selection while the level editor shows a level; null otherwise.
SelectionEditing* Selection() {
  if (cam == nullptr) return nullptr;
  EditTool* tool = CurrentEditTool();
  return tool != nullptr ? tool->Selection() : nullptr;
}

std::size_t SelectedCount() {
  const SelectionEditing* s = Selection();
  return s != nullptr ? s->SelectedCount() : 0;
}

// Where Paste puts the clipboard: the level point under the mouse, or the
// middle of the view when the mouse is elsewhere.
void PastePoint(int& x, int& y) {
  const ViewFrame& f = cam->frame;
  int wx = cam->input.wx, wy = cam->input.wy;
  if (!f.InArea(wx, wy)) {
    wx = f.ox + f.AreaW() / 2;
    wy = f.oy + f.AreaH() / 2;
  }
  WindowToLevel(wx, wy, x, y);
}

}  // namespace

bool EditCopy() { return SelectedCount() > 0 && Selection()->Copy(); }

bool EditDelete() { return SelectedCount() > 0 && Selection()->Delete(); }

bool EditCut() { return EditCopy() && EditDelete(); }

bool EditPaste() {
  SelectionEditing* s = Selection();
  if (s == nullptr || !s->HasClipboard()) return false;
  int x = 0, y = 0;
  PastePoint(x, y);
  return s->Paste(x, y);
}

bool EditDuplicate() { return SelectedCount() > 0 && Selection()->Duplicate(); }

bool EditSelectAll() {
  SelectionEditing* s = Selection();
  return s != nullptr && s->SelectAll();
}

void RegisterEditCommands() {
  RegisterEditTool(kCmdModifyTileMap, KEY_1, [] { return std::make_unique<TileMapTool>(); });
  RegisterEditTool(kCmdModifyObjects, KEY_3, [] { return std::make_unique<ObjectsTool>(); });
  RegisterEditTool(kCmdModifyBananaMap, KEY_5, [] { return std::make_unique<BananaMapTool>(); });
  // The program does not know the data of these entries: shown, never available.
  for (unsigned short id : {kCmdModifyEnemies, kCmdModifyCollectibles, kCmdModifyFocusPoints}) {
    RegisterCommand(id, {[] {}, [] { return false; }, nullptr});
  }

  RegisterCommand(kCmdCut, {[] { EditCut(); }, [] { return SelectedCount() > 0; }, nullptr});
  RegisterCommand(kCmdCopy, {[] { EditCopy(); }, [] { return SelectedCount() > 0; }, nullptr});
  RegisterCommand(kCmdPaste, {[] { EditPaste(); }, [] {
                                const SelectionEditing* s = Selection();
                                return s != nullptr && s->HasClipboard();
                              },
                              nullptr});
  RegisterCommand(kCmdDuplicate, {[] { EditDuplicate(); }, [] { return SelectedCount() > 0; }, nullptr});
  RegisterCommand(kCmdDelete, {[] { EditDelete(); }, [] { return SelectedCount() > 0; }, nullptr});
  RegisterCommand(kCmdSelectAll, {[] { EditSelectAll(); }, [] { return Selection() != nullptr; }, nullptr});
  RegisterShortcut(kCmdCut, KEY_X, kModCtrl);
  RegisterShortcut(kCmdCopy, KEY_C, kModCtrl);
  RegisterShortcut(kCmdPaste, KEY_V, kModCtrl);
  RegisterShortcut(kCmdDuplicate, KEY_D, kModCtrl);
  RegisterShortcut(kCmdDelete, KEY_DEL, kModNone);
  RegisterShortcut(kCmdSelectAll, KEY_A, kModCtrl);
}
