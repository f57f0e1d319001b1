#include "editor/save_undo_commands.h"

#include "editor/mode_qbr1leveleditor.h"
#include "editor/status_message.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "rom/autosave.h"
#include "rom/image_edits.h"
#include "rom/image_save.h"
#include "rom/open_image.h"
#include "shell/base/close_request.h"
#include "platform/allegro_include.h"
#include "shell/base/variables.h"

namespace {

// A step of `level` (not -1) is shown in the level editor: another level, or another mode, restarts
// the editor on it, as Page Up and Page Down do.
void ShowLevel(int level) {
  if (level < 0) return;
  if (CurrentMode() == Mode::LevelEditor && level == currentlvlid) return;
  currentlvlid = level;
  RequestMode(Mode::LevelEditor);
}

bool ImageOpen() { return TheImage().IsOpen(); }

}  // namespace

bool UndoAndShowLevel() {
  EditStepInfo step;
  if (!QBR1_UndoStep(&step)) return false;
  ShowStatusMessage("Undone: " + step.label);
  ShowLevel(step.level);
  return true;
}

bool RedoAndShowLevel() {
  EditStepInfo step;
  if (!QBR1_RedoStep(&step)) return false;
  ShowStatusMessage("Redone: " + step.label);
  ShowLevel(step.level);
  return true;
}

const char* UnsavedEditsNote() { return QBR1_HasUnsavedEdits() ? "Unsaved edits" : ""; }

void RegisterSaveAndUndoCommands() {
  RegisterCommand(kCmdSave, {[] { SaveImage(); }, ImageOpen, nullptr});
  RegisterCommand(kCmdSaveAs, {[] { SaveImageAs(); }, ImageOpen, nullptr});
  RegisterCommand(kCmdSaveIps, {[] { SaveImagePatch(); }, ImageOpen, nullptr});
  RegisterCommand(kCmdSaveBps, {[] { SaveImageBpsPatch(); }, ImageOpen, nullptr});
  RegisterCommand(kCmdUndo, {[] { UndoAndShowLevel(); }, [] { return QBR1_UndoCount() > 0; }, nullptr});
  RegisterCommand(kCmdRedo, {[] { RedoAndShowLevel(); }, [] { return QBR1_RedoCount() > 0; }, nullptr});
  RegisterShortcut(kCmdSave, KEY_S, kModCtrl);
  RegisterShortcut(kCmdSaveAs, KEY_S, kModCtrl | kModShift);
  RegisterShortcut(kCmdUndo, KEY_Z, kModCtrl);
  RegisterShortcut(kCmdRedo, KEY_Y, kModCtrl);
  RegisterShortcut(kCmdRedo, KEY_Z, kModCtrl | kModShift);
  SetCloseGate(ConfirmUnsavedEdits);
  SetSignalCloseHooks(QBR1_HasUnsavedEditsAnyThread, KeepWorkNow);
}
