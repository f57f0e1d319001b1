#include "shell/app/mode_switch.h"

#include <gtest/gtest.h>

#include "bfa/bfa.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "shell/base/variables.h"

namespace {

void SomeMode() {}

// Modes 1, 3 and 5 registered, the program in mode `start`, an image open or
// not; the engine globals, the mode table, the image and the start-up choice
// restored afterwards.
class ModeSwitch : public ::testing::Test {
 protected:
  void SetUp() override {
    for (uint32_t mode : kModes) {
      before_[mode] = FindModeFunction(mode);
      RegisterMode(mode, SomeMode);
    }
    RegisterModeSwitchCommands();
    saved_state_ = ENGINE_STATE.load();
    saved_choice_ = StartupModeChoice;
  }
  void TearDown() override {
    ENGINE_STATE = saved_state_;
    STATEOVER = false;
    StartupModeChoice = saved_choice_;
    QBR1.clear();
    for (uint32_t mode : kModes) RegisterMode(mode, before_[mode]);
  }
  void Start(uint32_t mode, bool image) {
    ENGINE_STATE = mode;
    STATEOVER = false;
    if (image) QBR1.assign(16, 0);
    else QBR1.clear();
  }

  static constexpr uint32_t kModes[] = {1, 3, 5};
  ModeFunction before_[6] = {};
  uint32_t saved_state_ = 0, saved_choice_ = 1;
};

TEST(ModeOfCommand, EntriesFollowTheModeMenusOrder) {
  struct Case {
    unsigned short id;
    int mode;
  };
  const Case cases[] = {
      {0xFF00, 1},  {0xFF01, 2},  {0xFF02, 3},  {0xFF03, 4},  {0xFF04, -1}, {0xFF05, 5},  // Mode menu
      {0xFE00, 1},  {0xFE01, 2},  {0xFE02, 3},  {0xFE03, 4},  {0xFE04, -1}, {0xFE05, 5},  // start-up toolbar
      {0xFF06, -1}, {0xFEFF, -1}, {0xFE06, -1}, {0xFDFF, -1}, {0x0000, -1}, {0xFFFF, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(ModeOfCommand(c.id), c.mode) << std::hex << c.id;
}

TEST_F(ModeSwitch, TheModeMenuSwitchesToRegisteredModesOfAnOpenImage) {
  struct Case {
    const char* name;
    uint32_t start;
    bool image;
    unsigned short id;
    bool available;
    uint32_t after;
  };
  const Case cases[] = {
      {"to the hex editor", 1, true, 0xFF05, true, 5},          {"back to the level editor", 5, true, 0xFF00, true, 1},
      {"between two resource modes", 3, true, 0xFF05, true, 5}, {"the current mode", 5, true, 0xFF05, false, 5},
      {"the physmap editor", 1, true, 0xFF04, false, 1},        {"no image open", 1, false, 0xFF05, false, 1},
  };
  for (const Case& c : cases) {
    Start(c.start, c.image);
    EXPECT_EQ(CommandAvailable(c.id), c.available) << c.name;
    AppMenuExecuteItem(c.id, false);
    EXPECT_EQ(ENGINE_STATE.load(), c.after) << c.name;
    EXPECT_EQ(STATEOVER.load(), c.after != c.start) << c.name;
  }
}

TEST_F(ModeSwitch, TheStartupToolbarChoosesTheModeTheOpenEnters) {
  Start(0, false);
  EXPECT_EQ(ModeAfterStartupOpen(), 1u);
  EXPECT_TRUE(CommandAvailable(0xFE05));
  EXPECT_FALSE(CommandAvailable(0xFE04));  // no physmap editor
  AppMenuExecuteItem(0xFE05, false);
  EXPECT_EQ(ENGINE_STATE.load(), 0u);  // nothing to show yet
  EXPECT_FALSE(STATEOVER.load());
  EXPECT_EQ(ModeAfterStartupOpen(), 5u);
  AppMenuExecuteItem(0xFE04, false);  // unavailable: the choice stays
  EXPECT_EQ(ModeAfterStartupOpen(), 5u);
  AppMenuExecuteItem(0xFE00, false);
  EXPECT_EQ(ModeAfterStartupOpen(), 1u);
  // With an image open the button switches at once.
  Start(0, true);
  AppMenuExecuteItem(0xFE02, false);  // the sprite viewer
  EXPECT_EQ(ENGINE_STATE.load(), 3u);
  EXPECT_TRUE(STATEOVER.load());
}

}  // namespace
