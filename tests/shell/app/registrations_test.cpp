#include <gtest/gtest.h>

#include "editor/mode_qbr1leveleditor.h"
#include "extract/mode_extraction.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "shell/app/mode_startupscreen.h"
#include "shell/app/registrations.h"
#include "shell/base/close_request.h"

namespace {

// The main loop starts in mode 0 and an Open switches to mode 1: without either
// registration the program would report an unknown mode and close.
TEST(Registrations, StartUpAndLevelEditorModesAreRegistered) {
  const ModeFunction before[3] = {FindModeFunction(0), FindModeFunction(1), FindModeFunction(2)};
  const CommandTableSnapshot commands = SnapshotCommands();
  RegisterMode(0, nullptr);
  RegisterMode(1, nullptr);
  RegisterFeatures();
  EXPECT_EQ(FindModeFunction(0), &STARTUP_SCREEN_SUBFUNCTION);
  EXPECT_EQ(FindModeFunction(1), &QBR1_LEVEL_EDITOR_SUBFUNCTION);
  EXPECT_EQ(FindModeFunction(kModeExtraction), &QBR1_EXTRACTION_SUBFUNCTION);
  EXPECT_NE(FindCommand(0x5100), nullptr);  // Graphics > Level Terrains
  EXPECT_EQ(FindCommand(0x5101), nullptr);  // Graphics > Backgrounds stays unavailable
  RegisterMode(0, before[0]);
  RegisterMode(1, before[1]);
  RegisterMode(2, before[2]);
  RestoreCommands(commands);
  SetCloseGate(nullptr);
  SetSignalCloseHooks(nullptr, nullptr);
}

}  // namespace
