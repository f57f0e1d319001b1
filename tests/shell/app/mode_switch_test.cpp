#include "shell/app/mode_switch.h"

#include <gtest/gtest.h>

#include "bfa/bfa.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "rom/AppMenu.h"
#include "shell/base/variables.h"

namespace {

void SomeMode() {}

// Modes 0, 1, 3 and 5 registered, the program in mode `start`, an image open or
// not; the engine globals, the mode table, the commands, the image and the
// start-up choice restored afterwards.
class ModeSwitch : public ::testing::Test {
 protected:
  void SetUp() override {
    for (Mode mode : kModes) {
      before_[static_cast<int>(mode)] = FindModeFunction(mode);
      RegisterMode(mode, SomeMode);
    }
    RegisterModeSwitchCommands();
    RegisterCommand(kCmdOpen, {OpenAndEnterMode, nullptr, nullptr});
    saved_state_ = ENGINE_STATE.load();
    saved_choice_ = StartupModeChoice;
  }
  void TearDown() override {
    ENGINE_STATE = saved_state_;
    STATEOVER = false;
    StartupModeChoice = saved_choice_;
    QBR1.clear();
    SetStartupImageOpener(nullptr);
    for (Mode mode : kModes) RegisterMode(mode, before_[static_cast<int>(mode)]);
  }
  void Start(uint32_t mode, bool image) {
    ENGINE_STATE = mode;
    STATEOVER = false;
    if (image) QBR1.assign(16, 0);
    else QBR1.clear();
  }

  static constexpr Mode kModes[] = {Mode::StartupScreen, Mode::LevelEditor, Mode::SpriteViewer, Mode::HexEditor};
  Installed<CommandTable> commands_;
  ModeFunction before_[6] = {};
  uint32_t saved_state_ = 0;
  Mode saved_choice_ = Mode::LevelEditor;
};

TEST(ModeOfCommand, EntriesFollowTheModeMenusOrder) {
  struct Case {
    unsigned short id;
    std::optional<Mode> mode;
  };
  const std::optional<Mode> none;
  const Case cases[] = {
      {0xFF00, Mode::LevelEditor}, {0xFF01, Mode::Extraction}, {0xFF02, Mode::SpriteViewer},  // Mode menu
      {0xFF03, Mode::PaletteEditor}, {0xFF04, none}, {0xFF05, Mode::HexEditor},
      {0xFE00, Mode::LevelEditor}, {0xFE01, Mode::Extraction}, {0xFE02, Mode::SpriteViewer},  // start-up toolbar
      {0xFE03, Mode::PaletteEditor}, {0xFE04, none}, {0xFE05, Mode::HexEditor},
      {0xFF06, none}, {0xFEFF, none}, {0xFE06, none}, {0xFDFF, none}, {0x0000, none}, {0xFFFF, none},
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
  EXPECT_EQ(ModeAfterOpen(), Mode::LevelEditor);
  EXPECT_TRUE(CommandAvailable(0xFE05));
  EXPECT_FALSE(CommandAvailable(0xFE04));  // no physmap editor
  AppMenuExecuteItem(0xFE05, false);
  EXPECT_EQ(ENGINE_STATE.load(), 0u);  // nothing to show yet
  EXPECT_FALSE(STATEOVER.load());
  EXPECT_EQ(ModeAfterOpen(), Mode::HexEditor);
  AppMenuExecuteItem(0xFE04, false);  // unavailable: the choice stays
  EXPECT_EQ(ModeAfterOpen(), Mode::HexEditor);
  AppMenuExecuteItem(0xFE00, false);
  EXPECT_EQ(ModeAfterOpen(), Mode::LevelEditor);
  // With an image open the button switches at once.
  Start(0, true);
  AppMenuExecuteItem(0xFE02, false);  // the sprite viewer
  EXPECT_EQ(ENGINE_STATE.load(), 3u);
  EXPECT_TRUE(STATEOVER.load());
}

// An image that opens without a dialog: it is "in use" once QBR1 holds it.
bool OpenSmallImage() {
  QBR1.assign(16, 0);
  return true;
}
bool RefuseImage() { return false; }

// The Open command requests the one mode that shows the new image, and
// nothing changes it afterwards: from the start-up screen the toolbar's choice,
// from any other mode the level editor; a failed Open requests nothing.
TEST_F(ModeSwitch, OpenEntersTheModeChosenForIt) {
  struct Case {
    const char* name;
    uint32_t start;
    unsigned short choice;  // start-up toolbar button pressed before the Open; 0: none
    bool opens;
    uint32_t after;
  };
  const Case cases[] = {
      {"start-up screen, no choice", 0, 0, true, 1},
      {"start-up screen, hex editor chosen", 0, 0xFE05, true, 5},
      {"start-up screen, sprite viewer chosen", 0, 0xFE02, true, 3},
      {"start-up screen, level editor chosen again", 0, 0xFE00, true, 1},
      {"hex editor: a reopen shows the level editor", 5, 0, true, 1},
      {"start-up screen, Open refused", 0, 0xFE05, false, 0},
  };
  for (const Case& c : cases) {
    StartupModeChoice = Mode::LevelEditor;
    Start(c.start, false);
    if (c.choice != 0) AppMenuExecuteItem(c.choice, false);
    SetStartupImageOpener(c.opens ? OpenSmallImage : RefuseImage);
    AppMenuExecuteItem(kCmdOpen, false);
    EXPECT_EQ(ENGINE_STATE.load(), c.after) << c.name;
    EXPECT_EQ(STATEOVER.load(), c.opens) << c.name;
  }
}

}  // namespace
