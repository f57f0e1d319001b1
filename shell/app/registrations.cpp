#include "shell/app/registrations.h"

#include "platform/allegro_include.h"

#include "editor/edit_commands.h"
#include "editor/level_picker.h"
#include "editor/mode_qbr1leveleditor.h"
#include "editor/save_undo_commands.h"
#include "editor/shared_lists.h"
#include "extract/mode_extraction.h"
#include "editor/view_layers.h"
#include "gui/MenuLoad.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "level/free_space_config.h"
#include "modes/hex_editor.h"
#include "modes/mode_descriptions.h"
#include "modes/palette_editor.h"
#include "modes/sprite_viewer.h"
#include "music/music_browser.h"
#include "rom/AppMenu.h"
#include "rom/autosave.h"
#include "rom/image_install.h"
#include "rom/launch_game.h"
#include "rom/patch_open.h"
#include "shell/app/mode_startupscreen.h"
#include "shell/app/mode_switch.h"
#include "shell/app/recent_menu.h"
#include "shell/app/recover_command.h"
#include "shell/app/settings_command.h"
#include "shell/base/functions.h"

void RegisterOpenAboutExit() {
  RegisterCommand(kCmdOpen, {OpenAndEnterMode, nullptr, nullptr});
  RegisterCommand(kCmdOpenPatch, {OpenPatchAndEnterMode, nullptr, nullptr});
  RegisterCommand(kCmdRecover, {RecoverFromCopy, nullptr, nullptr});
  RegisterCommand(kCmdAbout, {AppMenuShowAbout, nullptr, nullptr});
  RegisterCommand(kCmdExit, {[] { CaptionButtonFunction(0); }, nullptr, nullptr});
}

void RegisterFeatures() {
  RegisterOpenAboutExit();
  RegisterRecentImages();
  RegisterMode(Mode::StartupScreen, STARTUP_SCREEN_SUBFUNCTION);
  RegisterMode(Mode::LevelEditor, QBR1_LEVEL_EDITOR_SUBFUNCTION);
  RegisterSaveAndUndoCommands();
  RegisterCommand(kCmdLaunchGame, {LaunchGame, LaunchGameAvailable, nullptr});
  RegisterShortcut(kCmdLaunchGame, KEY_F5, kModNone);
  RegisterMode(Mode::Extraction, QBR1_EXTRACTION_SUBFUNCTION);
  RegisterExtractionCommands();
  RegisterLevelPicker();
  RegisterViewLayers();
  RegisterCommand(kCmdSoundsMusic, {BrowseMusic, nullptr, nullptr});
  RegisterShortcut(kCmdSoundsMusic, KEY_M, kModCtrl);
  RegisterCommand(kCmdLevelSettings, {EditSettings, nullptr, nullptr});
  RegisterEditCommands();
  RegisterModeSwitchCommands();
  RegisterMode(Mode::SpriteViewer, SPRITE_VIEWER_SUBFUNCTION);
  RegisterModeDescriptions(Mode::SpriteViewer, kSpriteViewerMenu, kSpriteViewerToolbar);
  RegisterMode(Mode::PaletteEditor, PALETTE_EDITOR_SUBFUNCTION);
  RegisterModeDescriptions(Mode::PaletteEditor, kPaletteEditorMenu, kPaletteEditorToolbar);
  RegisterMode(Mode::HexEditor, HEX_EDITOR_SUBFUNCTION);
  RegisterModeDescriptions(Mode::HexEditor, kHexEditorMenu, kHexEditorToolbar);
  // A newly opened image checks its free space, asks the shared-list questions afresh and
  // offers back a newer recovery copy of the document.
  SetImageOpenedHook([] {
    ReportFreeSpace();
    ForgetSharedListAnswers();
    OfferRecoveryOnOpen();
  });
}
