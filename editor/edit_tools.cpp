#include "editor/edit_tools.h"

#include <utility>
#include <vector>

#include "editor/edit_refresh.h"
#include "editor/status_message.h"
#include "gui/HelioWin.h"
#include "gui/ToolbarMain.h"
#include "gui/commands.h"
#include "rom/image_edits.h"
#include "platform/allegro_include.h"
#include "shell/base/variables.h"

namespace {

using Registered = EditToolBox::Registered;

Registered* Find(CommandId command) {
  for (Registered& r : EditTools().tools) {
    if (r.command == command) return &r;
  }
  return nullptr;
}

EditTool* ToolOf(Registered* r) {
  if (r == nullptr) return nullptr;
  if (!r->tool && r->factory) r->tool = r->factory();
  return r->tool.get();
}

// Keeps the current tool's toolbar button (and through it the menu's mark) down,
// also after the toolbar was rebuilt or a shortcut chose the tool.
void SyncToolbar() {
  if (mui == nullptr || mui->t == nullptr) return;
  const std::vector<CToolItem*>& items = mui->t->items;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i]->ID != EditTools().current) continue;
    if (items[i]->state != 3 && items[i]->state != 4) mui->t->UpdateGroup(static_cast<int>(i));
    return;
  }
}

// Refreshes the view's caches when the image changed since the last look. A
// change counts as the tools' own unless an undo, redo or new image came since.
void FollowImage(CCamera& camera) {
  const unsigned long long generation = QBR1_EditGeneration();
  EditToolBox& box = EditTools();
  if (generation == box.seen_generation) return;
  const bool own = QBR1_Document().HistoryGeneration() <= box.seen_generation;
  box.seen_generation = generation;
  if (!own) {
    if (EditTool* tool = CurrentEditTool()) tool->Deactivate();
  }
  ViewCachesRefresh(camera, own);
  if (!own) {
    if (EditTool* tool = CurrentEditTool()) tool->Activate(camera);
  }
}

bool InLevelEditor() { return cam != nullptr; }

}  // namespace

EditToolBox& EditTools() { return Installed<EditToolBox>::Current(); }

void RegisterEditTool(CommandId command, int key, EditToolFactory factory) {
  EditToolBox& box = EditTools();
  Registered* r = Find(command);
  if (r != nullptr) {
    if (box.current == command && r->tool && box.camera != nullptr) r->tool->Deactivate();
    r->factory = std::move(factory);
    r->tool.reset();
  } else {
    box.tools.push_back({command, std::move(factory), nullptr});
  }
  if (box.current == 0) box.current = command;
  RegisterCommand(command, {[command] { ChooseEditTool(command); }, InLevelEditor,
                            [command] { return EditTools().current == command; }});
  if (key != 0) RegisterShortcut(command, key, kModCtrl);
}

bool ChooseEditTool(CommandId command) {
  EditToolBox& box = EditTools();
  Registered* next = Find(command);
  if (next == nullptr) return false;
  if (command != box.current) {
    if (box.camera != nullptr) {
      if (EditTool* old = CurrentEditTool()) old->Deactivate();
    }
    box.current = command;
    if (box.camera != nullptr) ToolOf(next)->Activate(*box.camera);
  }
  SyncToolbar();
  return true;
}

CommandId CurrentEditToolCommand() { return EditTools().current; }

EditTool* CurrentEditTool() { return ToolOf(Find(EditTools().current)); }

void EditToolsAttach(CCamera& camera) {
  EditToolBox& box = EditTools();
  box.camera = &camera;
  box.input.Restart();
  ViewCachesAttach(camera);
  box.seen_generation = QBR1_EditGeneration();
  if (EditTool* tool = CurrentEditTool()) tool->Activate(camera);
}

void EditToolsDetach() {
  if (EditTools().camera == nullptr) return;
  if (EditTool* tool = CurrentEditTool()) tool->Deactivate();
  EditTools().camera = nullptr;
}

InputSnapshot ReadEditInput(const CCamera& camera) { return EditTools().input.Take(camera.frame); }

void EditToolsProc(CCamera& camera, const InputSnapshot& in) {
  SyncToolbar();
  // Undo and redo run before this (shortcuts and menus come first in the update).
  FollowImage(camera);
  if (EditTool* tool = CurrentEditTool()) tool->Proc(camera, in);
  // The tool's own writes are shown in the next frame.
  FollowImage(camera);
  StatusMessageStep(in.Acted());
}

void EditToolsDraw(BITMAP* dest, const CCamera& camera) {
  if (EditTool* tool = CurrentEditTool()) tool->Draw(dest, camera);
}

bool EditToolOwnsWheelAt(int x, int y) {
  const EditToolBox& box = EditTools();
  if (box.camera == nullptr) return false;
  const EditTool* tool = CurrentEditTool();
  return tool != nullptr && tool->OwnsWheelAt(*box.camera, x, y);
}
