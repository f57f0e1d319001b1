#include <gtest/gtest.h>

#include "editor/edit_tools.h"
#include "editor/mode_qbr1leveleditor.h"
#include "extract/mode_extraction.h"
#include "gui/MenuLoad.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "rom/image_save.h"
#include "shell/app/mode_startupscreen.h"
#include "shell/app/registrations.h"
#include "shell/base/close_request.h"
#include "platform/allegro_include.h"

namespace {

// The main loop starts in mode 0 and an Open switches to mode 1: without either
// registration the program would report an unknown mode and close.
TEST(Registrations, StartUpAndLevelEditorModesAreRegistered) {
  const ModeFunction before[3] = {FindModeFunction(Mode::StartupScreen), FindModeFunction(Mode::LevelEditor),
                                  FindModeFunction(Mode::Extraction)};
  const Installed<CommandTable> commands;
  const Installed<EditToolBox> tools;
  RegisterMode(Mode::StartupScreen, nullptr);
  RegisterMode(Mode::LevelEditor, nullptr);
  RegisterFeatures();
  EXPECT_EQ(FindModeFunction(Mode::StartupScreen), &STARTUP_SCREEN_SUBFUNCTION);
  EXPECT_EQ(FindModeFunction(Mode::LevelEditor), &QBR1_LEVEL_EDITOR_SUBFUNCTION);
  EXPECT_EQ(FindModeFunction(Mode::Extraction), &QBR1_EXTRACTION_SUBFUNCTION);
  EXPECT_NE(FindCommand(0x5100), nullptr);  // Graphics > Level Terrains
  EXPECT_EQ(FindCommand(0x5101), nullptr);  // Graphics > Backgrounds stays unavailable
  RegisterMode(Mode::StartupScreen, before[0]);
  RegisterMode(Mode::LevelEditor, before[1]);
  RegisterMode(Mode::Extraction, before[2]);
  SetCloseGate(nullptr);
  SetSignalCloseHooks(nullptr, nullptr);
  SetImageFileHook(nullptr);
  RegisterMenuInsert(nullptr, nullptr);
}

// Launch Game, the level picker, the music browser, Settings, the three View layers and the recent
// images reach the menus.
TEST(Registrations, TheFeatureCommandsAreRegistered) {
  const Installed<CommandTable> commands;
  const Installed<EditToolBox> tools;
  RegisterFeatures();
  for (unsigned short id : {0x0004, 0x0010, 0x0017, 0x0200, 0x0208, 0x0209, 0x0301, 0x0304, 0x0307}) {
    EXPECT_NE(FindCommand(id), nullptr) << std::hex << id;
  }
  struct Key {
    unsigned short id;
    int scancode;
  };
  for (const Key& k : {Key{0x0200, KEY_L}, Key{0x0208, KEY_M}}) {
    bool found = false;
    for (const auto& s : Commands().shortcuts) {
      found = found || (s.id == k.id && s.scancode == k.scancode && s.mods == kModCtrl);
    }
    EXPECT_TRUE(found) << std::hex << k.id;
  }
  // Launch Game on F5, without modifiers.
  bool f5 = false;
  for (const auto& s : Commands().shortcuts) f5 = f5 || (s.id == 0x0004 && s.scancode == KEY_F5 && s.mods == kModNone);
  EXPECT_TRUE(f5);
  SetCloseGate(nullptr);
  SetSignalCloseHooks(nullptr, nullptr);
  SetImageFileHook(nullptr);
  RegisterMenuInsert(nullptr, nullptr);
}

}  // namespace
