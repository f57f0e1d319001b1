#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "gui/ToolbarMain.h"
#include "gui/commands.h"
#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/allegro_include.h"
#include "tests/gui/menu_support.h"

namespace {

using Events = std::vector<std::string>;

// What the registered test commands did; handlers are plain function pointers,
// so they report through globals that every test resets.
int runs_a = 0, runs_b = 0;
bool b_available = true;
bool c_checked = false;

void ResetProbes() {
  runs_a = runs_b = 0;
  b_available = true;
  c_checked = false;
}

const CommandHandler kA{[] { ++runs_a; }, nullptr, nullptr};
const CommandHandler kB{[] { ++runs_b; }, [] { return b_available; }, nullptr};
const CommandHandler kC{[] { c_checked = !c_checked; }, nullptr, [] { return c_checked; }};

// An empty command table for the test, the one before put back afterwards.
class CommandTable : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProbes();
    for (int k = 0; k < KEY_MAX; ++k) key[k] = 0;
  }
  void TearDown() override {
    for (int k = 0; k < KEY_MAX; ++k) key[k] = 0;
  }

 private:
  Installed<::CommandTable> commands_;
};

TEST_F(CommandTable, LookUpAndAvailability) {
  RegisterCommand(0x0200, kA);
  RegisterCommand(0x0208, kB);
  b_available = false;
  struct Case {
    unsigned short id;
    bool found, available;
  };
  const Case cases[] = {
      {0x0000, false, false}, {0xF000, false, false}, {0xFFFF, false, false},  // Open, About, Exit: not built in
      {0x0200, true, true},                                                    // no available(): always
      {0x0208, true, false},                                                   // available() says no
      {0x0201, false, false}, {0x01FF, false, false}, {0xF001, false, false},  // nobody registered them
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindCommand(c.id) != nullptr, c.found) << std::hex << c.id;
    EXPECT_EQ(CommandAvailable(c.id), c.available) << std::hex << c.id;
  }
  b_available = true;
  EXPECT_TRUE(CommandAvailable(0x0208));
  // Registering again replaces the handler.
  RegisterCommand(0x0200, kB);
  AppMenuExecuteItem(0x0200, false);
  EXPECT_EQ(runs_a, 0);
  EXPECT_EQ(runs_b, 1);
  // A handler without run() counts as none.
  RegisterCommand(0x0200, {nullptr, nullptr, nullptr});
  EXPECT_EQ(FindCommand(0x0200), nullptr);
  EXPECT_FALSE(CommandAvailable(0x0200));
}

TEST_F(CommandTable, DispatcherRunsAvailableHandlersOnceAndHasNoBuiltIns) {
  RegisterCommand(0x0200, kA);
  RegisterCommand(0x0208, kB);
  AppMenuExecuteItem(0x0200, false);
  AppMenuExecuteItem(0x0201, false);  // unregistered: nothing
  EXPECT_EQ(runs_a, 1);
  b_available = false;
  AppMenuExecuteItem(0x0208, false);
  EXPECT_EQ(runs_b, 0);
  b_available = true;
  AppMenuExecuteItem(0x0208, false);
  EXPECT_EQ(runs_b, 1);

  // Open, About and Exit are table entries like the rest: unregistered, they
  // show nothing and ask nothing to close; registered, their number runs the handler.
  std::vector<std::string> boxes;
  PlatformUseScriptedDialogs([&](const DialogRecord& r) {
    boxes.push_back(r.title);
    return std::string("ok");
  });
  PlatformClearMessages();
  for (unsigned short id : {0x0000, 0xF000, 0xFFFF}) AppMenuExecuteItem(id, false);
  PlatformUseDesktopDialogs();
  EXPECT_EQ(boxes, std::vector<std::string>{});
  PlatformMessage m;
  EXPECT_FALSE(PlatformPeekMessage(m));
  RegisterCommand(0xF000, kA);
  AppMenuExecuteItem(0xF000, false);
  EXPECT_EQ(runs_a, 2);
}

TEST_F(CommandTable, OneHandlerServesAFamilyThroughTheContextEachEntryCarries) {
  // Three entries, one body: each carries its place in the family; the middle
  // one is unavailable and only the last is checked.
  std::vector<int> ran;
  for (int i = 0; i < 3; ++i) {
    RegisterCommand(static_cast<CommandId>(0xFF00 + i),
                    {[&ran, i] { ran.push_back(i); }, [i] { return i != 1; }, [i] { return i == 2; }});
  }
  for (CommandId id : {0xFF02, 0xFF01, 0xFF00, 0xFF02}) AppMenuExecuteItem(id, false);
  EXPECT_EQ(ran, (std::vector<int>{2, 0, 2}));
  EXPECT_FALSE(CommandAvailable(0xFF01));
  EXPECT_FALSE(FindCommand(0xFF00)->checked());
  EXPECT_TRUE(FindCommand(0xFF02)->checked());
  // A table put back keeps each entry's own context.
  const ::CommandTable family = Commands();
  Commands() = {};
  AppMenuExecuteItem(0xFF00, false);
  Commands() = family;
  AppMenuExecuteItem(0xFF00, false);
  EXPECT_EQ(ran, (std::vector<int>{2, 0, 2, 0}));
}

TEST_F(CommandTable, ShortcutRunsOncePerPressWithExactlyItsModifiers) {
  RegisterCommand(0x0200, kA);
  RegisterShortcut(0x0200, KEY_L, kModCtrl);
  struct Step {
    std::vector<int> held;
    bool menu_open;
    int runs;  // runs so far after this update
  };
  const Step steps[] = {
      {{KEY_L}, false, 0},  // no Ctrl
      {{}, false, 0},
      {{KEY_LCONTROL, KEY_L}, false, 1},  // Ctrl+L pressed
      {{KEY_LCONTROL, KEY_L}, false, 1},  // held: no repeat
      {{KEY_LCONTROL, KEY_L}, false, 1},
      {{KEY_LCONTROL}, false, 1},         // L released
      {{KEY_RCONTROL, KEY_L}, false, 2},  // either Ctrl key
      {{}, false, 2},
      {{KEY_LCONTROL, KEY_LSHIFT, KEY_L}, false, 2},  // an extra modifier is another shortcut
      {{}, false, 2},
      {{KEY_LCONTROL, KEY_L}, true, 2},   // a menu is open: watched only
      {{KEY_LCONTROL, KEY_L}, false, 2},  // still the same press once it closes
      {{}, false, 2},
      {{KEY_LCONTROL, KEY_L}, false, 3},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    for (int k = 0; k < KEY_MAX; ++k) key[k] = 0;
    for (int k : steps[i].held) key[k] = 1;
    DispatchShortcuts(steps[i].menu_open);
    EXPECT_EQ(runs_a, steps[i].runs) << "step " << i;
  }
}

TEST_F(CommandTable, ShortcutOfAnUnavailableCommandDoesNothingAndAKeyHeldAtRegistrationWaits) {
  RegisterCommand(0x0208, kB);
  RegisterShortcut(0x0208, KEY_M, kModNone);
  b_available = false;
  key[KEY_M] = 1;
  DispatchShortcuts(false);
  key[KEY_M] = 0;
  DispatchShortcuts(false);
  EXPECT_EQ(runs_b, 0);

  key[KEY_F5] = 1;  // held while its shortcut comes
  RegisterCommand(0x0200, kA);
  RegisterShortcut(0x0200, KEY_F5, kModNone);
  DispatchShortcuts(false);
  EXPECT_EQ(runs_a, 0);
  key[KEY_F5] = 0;
  DispatchShortcuts(false);
  key[KEY_F5] = 1;
  DispatchShortcuts(false);
  EXPECT_EQ(runs_a, 1);
}

// The level editor's bars with only a few commands registered.
class CommandStates : public CommandTable {
 protected:
  void SetUp() override {
    CommandTable::SetUp();
    ui = std::make_unique<GuiHarness>(1, 776, 604);
    Commands() = {};  // forget what the harness registered: only this test's commands count
  }
  void TearDown() override {
    ui.reset();
    CommandTable::TearDown();
  }
  std::unique_ptr<GuiHarness> ui;
};

constexpr int kButtonY = 40, kBarY = 29;

TEST_F(CommandStates, UnregisteredAndUnavailableCommandsAreDisabledInMenusAndToolbar) {
  for (unsigned short id : {0x0000, 0xF000, 0xFFFF}) RegisterCommand(id, kA);  // Open, About, Exit
  RegisterCommand(0x0001, kA);                                                 // Save
  ui->RegisterRecorded(0x0200, kB);                                            // Select Level...
  ui->Move(400, 300);
  struct Case {
    const char* title;
    const char* entry;
    int state;
  };
  const Case entries[] = {
      {"File", "Open...", 1},          {"File", "Save", 1},
      {"File", "Save As...", 0},       {"File", "Exit", 1},
      {"Level", "Select Level...", 1}, {"Level", "Sounds/Music...", 0},
      {"Help", "About QBRRE...", 1},   {"Help", "Documentation...", 0},
  };
  for (const Case& c : entries) EXPECT_EQ(ui->Entry({c.title, c.entry})->state, c.state) << c.entry;
  // Titles and the submenu stay usable though no entry of "Modify" is registered.
  EXPECT_EQ(ui->Entry({"Level"})->state, 1);
  EXPECT_EQ(ui->Entry({"Level", "Modify"})->state, 1);
  EXPECT_EQ(ui->Entry({"Level", "Modify", "Tile Map"})->state, 0);
  // Buttons: Open, Save, Save IPS, ..., Select Level (5), Modify Tile Sets (6, listed down).
  const std::vector<int> expected = {1, 1, 0, 0, 0, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  std::vector<int> states;
  for (const CToolItem* b : ui->tools().items) states.push_back(b->state);
  EXPECT_EQ(states, expected);

  b_available = false;
  ui->Move(400, 300);
  EXPECT_EQ(ui->Entry({"Level", "Select Level..."})->state, 0);
  EXPECT_EQ(ui->tools().items[5]->state, 0);
  // A disabled button does not fire.
  ui->Click(ui->tools().items[5]->ix + 11, kButtonY);
  EXPECT_EQ(ui->Only("command"), Events{});
  b_available = true;
  ui->Click(ui->tools().items[5]->ix + 11, kButtonY);
  EXPECT_EQ(ui->Only("command"), Events{"command 0200 silent"});
  EXPECT_EQ(runs_b, 1);
  // The submenu still opens on hover.
  ui->Click(70, kBarY);
  ui->Move(100, 70);
  EXPECT_EQ(ui->Entry({"Level", "Modify"})->state, 2);
}

TEST_F(CommandStates, CheckMarksFollowTheCommand) {
  ui->RegisterRecorded(0x0301, kC);  // View / Tiles, listed as checked
  CMenuItem* tiles = ui->Entry({"View", "Tiles"});
  ui->Move(400, 300);
  EXPECT_FALSE(tiles->checked);
  c_checked = true;
  ui->Move(400, 300);
  EXPECT_TRUE(tiles->checked);
  // Choosing it runs the command, and the mark shows what the command says at once.
  ui->Click(110, kBarY);
  ui->Move(110, 65);
  ui->Click(110, 65);
  EXPECT_FALSE(c_checked);
  EXPECT_FALSE(tiles->checked);
  EXPECT_EQ(ui->Only("command"), Events{"command 0301 sound"});
}

TEST_F(CommandStates, StickyButtonsFollowCheckedAndKeepDownWhenDisabled) {
  RegisterCommand(0x0201, kC);  // Modify Tile Sets: down while checked
  ui->Move(400, 300);
  EXPECT_EQ(ui->tools().items[6]->state, 1);
  c_checked = true;
  ui->Move(400, 300);
  EXPECT_EQ(ui->tools().items[6]->state, 3);
  Commands() = {};
  ui->Move(400, 300);
  EXPECT_EQ(ui->tools().items[6]->state, 4);  // disabled and down
  RegisterCommand(0x0201, kA);
  ui->Move(400, 300);
  EXPECT_EQ(ui->tools().items[6]->state, 3);
}

TEST_F(CommandStates, TheGuiRootDispatchesShortcutsWhileNoMenuIsOpen) {
  ui->RegisterRecorded(0x0200, kA);
  RegisterShortcut(0x0200, KEY_L, kModCtrl);
  key[KEY_LCONTROL] = 1;
  key[KEY_L] = 1;
  mouse_x = 400;
  mouse_y = 300;
  for (int i = 0; i < 5; ++i) ui->gui->Proc();
  EXPECT_EQ(runs_a, 1);
  EXPECT_EQ(ui->Only("command"), Events{"command 0200 silent"});
}

}  // namespace
