#include "shell/app/registrations.h"

#include "shell/base/include.h"

#include "editor/mode_qbr1leveleditor.h"
#include "editor/save_undo_commands.h"
#include "extract/mode_extraction.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "rom/launch_game.h"
#include "shell/app/mode_startupscreen.h"

void RegisterFeatures() {
  RegisterMode(0, STARTUP_SCREEN_SUBFUNCTION);
  RegisterMode(1, QBR1_LEVEL_EDITOR_SUBFUNCTION);
  RegisterSaveAndUndoCommands();
  RegisterCommand(0x0004, {LaunchGame, LaunchGameAvailable, nullptr});
  RegisterShortcut(0x0004, KEY_F5, kModNone);
  RegisterMode(kModeExtraction, QBR1_EXTRACTION_SUBFUNCTION);
  RegisterExtractionCommands();
}
