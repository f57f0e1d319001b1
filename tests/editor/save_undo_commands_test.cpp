#include "editor/save_undo_commands.h"

#include <gtest/gtest.h>

#include <vector>

#include "bfa/bfa.h"
#include "editor/mode_qbr1leveleditor.h"
#include "editor/status_message.h"
#include "gui/commands.h"
#include "rom/image_edits.h"
#include "rom/image_transaction.h"
#include "shell/base/close_request.h"
#include "platform/allegro_include.h"
#include "shell/base/variables.h"

namespace {

// The commands registered on a small image in channel 0x10; the command table, the close hooks, the
// engine state and the level are put back afterwards.
class SaveUndoCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_level = currentlvlid;
    saved_state = ENGINE_STATE.load();
    BFA_Activate(0x10, 1);
    QBR1.assign(256, 0);
    QBR1_ResetEdits(std::vector<unsigned char>(256, 0), 0);
    RegisterSaveAndUndoCommands();
  }
  void TearDown() override {
    SetCloseGate(nullptr);
    SetSignalCloseHooks(nullptr, nullptr);
    ClearStatusMessage();  // "Undone: ..." would stand in the next test's status line
    QBR1_ResetEdits({}, 0);
    BFA_ResetAll();
    currentlvlid = saved_level;
    ENGINE_STATE = saved_state;
    STATEOVER = false;
  }
  Installed<CommandTable> commands;
  int saved_level = 0;
  uint32_t saved_state = 0;
};

TEST_F(SaveUndoCommands, ShortcutsReachTheirCommands) {
  struct Expected {
    unsigned short id;
    int scancode;
    unsigned mods;
  };
  const Expected expected[] = {{0x0001, KEY_S, kModCtrl},
                               {0x0002, KEY_S, kModCtrl | kModShift},
                               {0x0100, KEY_Z, kModCtrl},
                               {0x0101, KEY_Y, kModCtrl},
                               {0x0101, KEY_Z, kModCtrl | kModShift}};
  for (const Expected& e : expected) {
    bool found = false;
    for (const auto& s : Commands().shortcuts) found = found || (s.id == e.id && s.scancode == e.scancode && s.mods == e.mods);
    EXPECT_TRUE(found) << std::hex << e.id;
  }
  for (unsigned short id : {0x0001, 0x0002, 0x0003, 0x0007}) EXPECT_TRUE(CommandAvailable(id)) << id;
  BFA_Disable(0x10);
  for (unsigned short id : {0x0001, 0x0002, 0x0003, 0x0007}) EXPECT_FALSE(CommandAvailable(id)) << id;  // no image
}

TEST_F(SaveUndoCommands, UndoAndRedoShowTheLevelOfTheirStep) {
  EXPECT_FALSE(CommandAvailable(0x0100));
  EXPECT_FALSE(CommandAvailable(0x0101));
  currentlvlid = 0x16;
  ENGINE_STATE = 1;
  {
    ImageTransaction edit(QBR1_Document(), ImageDocument::kDefaultLabel, 0x2A);
    QBR1_WriteWord(0x10, 0x4005);
    edit.Commit();
  }
  {
    ImageTransaction edit(QBR1_Document(), ImageDocument::kDefaultLabel, 0x16);
    QBR1_WriteWord(0x20, 0x8001);
    edit.Commit();
  }
  EXPECT_STREQ(UnsavedEditsNote(), "Unsaved edits");
  EXPECT_TRUE(CommandAvailable(0x0100));

  ASSERT_TRUE(RunRegisteredCommand(0x0100));  // the step of the level in view: no switch
  EXPECT_EQ(currentlvlid, 0x16);
  EXPECT_FALSE(STATEOVER.load());
  ASSERT_TRUE(RunRegisteredCommand(0x0100));  // the other level's step brings it into view
  EXPECT_EQ(currentlvlid, 0x2A);
  EXPECT_TRUE(STATEOVER.load());
  EXPECT_EQ(QBR1[0x10], 0);
  EXPECT_STREQ(UnsavedEditsNote(), "");
  EXPECT_FALSE(CommandAvailable(0x0100));

  STATEOVER = false;
  ENGINE_STATE = 5;  // another mode: a redo returns to the level editor
  ASSERT_TRUE(RunRegisteredCommand(0x0101));
  EXPECT_EQ(currentlvlid, 0x2A);
  EXPECT_EQ(ENGINE_STATE.load(), 1u);
  EXPECT_TRUE(STATEOVER.load());
  EXPECT_EQ(static_cast<unsigned char>(QBR1[0x10]), 0x05);
}

}  // namespace
