#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "gui/HelioWin.h"
#include "gui/MenuLoad.h"
#include "gui/MenuMain.h"
#include "gui/commands.h"
#include "gui/shortcut_text.h"
#include "platform/messages.h"
#include "shell/runtime/frame.h"
#include "tests/gui/menu_support.h"

namespace {

using Events = std::vector<std::string>;

// The level editor window, and a resting place for the mouse away from the bars.
constexpr int kW = 776, kH = 604;
constexpr int kRestX = 400, kRestY = 400;

// The keys a step holds: a word of "Alt+F", "F10", "Up", "Down", "Left", "Right",
// "Enter", "Esc", or a letter pressed alone ("G").
std::vector<int> Scancodes(const std::string& word) {
  if (word.rfind("Alt+", 0) == 0) return {KEY_ALT, KEY_A + (word[4] - 'A')};
  if (word == "F10") return {KEY_F10};
  if (word == "Up") return {KEY_UP};
  if (word == "Down") return {KEY_DOWN};
  if (word == "Left") return {KEY_LEFT};
  if (word == "Right") return {KEY_RIGHT};
  if (word == "Enter") return {KEY_ENTER};
  if (word == "Esc") return {KEY_ESC};
  return {KEY_A + (word[0] - 'A')};
}

// One logic update of a mode (Escape check, then the GUI root) with the mouse
// resting at (x, y), followed by a frame.
void Update(GuiHarness& ui, int x = kRestX, int y = kRestY) {
  mouse_x = x;
  mouse_y = y;
  mouse_b = 0;
  Apllication_Critical_Functions();
  ui.gui->Proc();
  clear_to_color(ui.frame, 0xFF0F3F7F);
  ui.gui->Draw(ui.frame);
}

// Presses and releases `word`: one update with its keys down, one with them up.
// `took` gets whether the menu bar took the keys of the update they went down in.
void Press(GuiHarness& ui, const std::string& word, bool* took = nullptr) {
  const std::vector<int> keys = Scancodes(word);
  for (int k : keys) key[k] = 1;
  Update(ui);
  if (took != nullptr) *took = ui.menu().TakesKeys();
  for (int k : keys) key[k] = 0;
  Update(ui);
}

// The open menu and its highlighted entries as drawn: "Level > Modify > Enemies";
// "" when no menu is open.
std::string Highlighted(const CHG_WAppMenu& bar) {
  std::string path;
  for (const CMenuItem* t : bar.items) {
    if (t->state == 3) path = t->text;
  }
  if (!bar.clicked || path.empty()) return "";
  const CMenuItem* menu = bar.items[bar.iselect];
  for (bool found = true; found;) {
    found = false;
    for (const CMenuItem* e : menu->sub) {
      if (e->state != 2) continue;
      path += " > " + e->text;
      menu = e;
      found = true;
      break;
    }
  }
  return path;
}

class MenuKeyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformClearMessages();
    Update(ui);
  }
  GuiHarness ui{1, kW, kH};
};

TEST_F(MenuKeyboard, KeySequencesMoveTheHighlightAndRunEntries) {
  struct Case {
    std::vector<std::string> keys;
    std::string highlighted;  // after the last key; "" for no menu open
    Events commands;
  };
  const Case cases[] = {
      // Opening: the first entry that can be highlighted.
      {{"Alt+F"}, "File > Open...", {}},
      {{"F10"}, "File > Open...", {}},
      {{"Alt+M"}, "Mode > Extraction", {}},  // "Level Editor" is greyed here
      {{"Alt+Q"}, "", {}},                   // no title starts with Q
      {{"Alt+F", "Alt+V"}, "View > Background(s)", {}},
      // Up and Down skip separators and greyed entries, and wrap.
      {{"Alt+E", "Down", "Down"}, "Edit > Cut", {}},
      {{"Alt+E", "Up"}, "Edit > Select All", {}},
      {{"Alt+M", "Up"}, "Mode > Hex Editor", {}},
      {{"Alt+M", "Down", "Up", "Up"}, "Mode > Hex Editor", {}},
      {{"Alt+H", "Down", "Up"}, "Help > About QBRRE...", {}},
      // Left and Right go between menus, wrapping, and into and out of submenus.
      {{"Alt+F", "Right"}, "Edit > Undo", {}},
      {{"Alt+F", "Left"}, "Help > About QBRRE...", {}},
      {{"Alt+H", "Right"}, "File > Open...", {}},
      {{"Alt+L", "Down"}, "Level > Modify", {}},
      {{"Alt+L", "Down", "Right"}, "Level > Modify > Tile Map", {}},
      {{"Alt+L", "Down", "Right", "Up"}, "Level > Modify > Focus Points", {}},
      {{"Alt+L", "Down", "Right", "Down", "Left"}, "Level > Modify", {}},
      {{"Alt+L", "Down", "Right", "Left", "Down"}, "Level > Start Points...", {}},
      {{"Alt+L", "Down", "Right", "Right"}, "View > Background(s)", {}},
      {{"Alt+L", "Right"}, "View > Background(s)", {}},
      // Enter runs the entry as a click does; on a submenu it enters it.
      {{"Alt+F", "Enter"}, "", {"command 0000 sound"}},
      {{"F10", "Down", "Down", "Enter"}, "", {"command 0001 sound"}},
      {{"Alt+H", "Enter"}, "", {"command F000 sound"}},
      {{"Alt+V", "Up", "Enter"}, "View > Grid", {"command 030B sound"}},  // a check entry stays open
      {{"Alt+L", "Down", "Enter"}, "Level > Modify > Tile Map", {}},
      {{"Alt+L", "Down", "Right", "Down", "Enter"}, "Level > Modify > Enemies", {"command 0202 sound"}},
      // Escape and F10 close without acting.
      {{"Alt+F", "Down", "Esc"}, "", {}},
      {{"Alt+L", "Down", "Right", "Esc"}, "", {}},
      {{"Alt+F", "F10"}, "", {}},
  };
  for (const Case& c : cases) {
    std::string sequence;
    for (const std::string& k : c.keys) sequence += k + " ";
    for (const std::string& k : c.keys) Press(ui, k);
    EXPECT_EQ(Highlighted(ui.menu()), c.highlighted) << sequence;
    EXPECT_EQ(ui.menu().clicked, !c.highlighted.empty()) << sequence;
    EXPECT_EQ(ui.Only("command"), c.commands) << sequence;
    // Escape on a closed menu asks to close the program; no key above may reach it.
    PlatformMessage m;
    bool close = false;
    while (PlatformPeekMessage(m)) close = close || m.message == PLATFORM_MSG_CLOSE;
    EXPECT_FALSE(close) << sequence;
    ui.menu().CloseMenus();
    Update(ui);
    ui.events.clear();
  }
}

TEST_F(MenuKeyboard, ShortcutsWaitWhileAMenuHasTheKeys) {
  RegisterShortcut(kCmdViewGrid, KEY_G, kModNone);
  bool took = false;
  Press(ui, "Alt+V", &took);
  EXPECT_TRUE(took);
  Press(ui, "G", &took);
  EXPECT_TRUE(took);
  EXPECT_EQ(ui.Only("command"), Events{});
  Press(ui, "Up");
  Press(ui, "Enter");  // "Grid": runs once, the menu stays open
  EXPECT_EQ(ui.Only("command"), Events{"command 030B sound"});
  Press(ui, "Esc", &took);
  EXPECT_FALSE(ui.menu().clicked);
  // The update that closed the menu by Enter still kept the keys from the views.
  Press(ui, "Alt+F");
  Press(ui, "Enter", &took);
  EXPECT_TRUE(took);
  EXPECT_FALSE(ui.menu().clicked);
  // With no menu open the shortcut is the user's again.
  ui.events.clear();
  Press(ui, "G", &took);
  EXPECT_FALSE(took);
  EXPECT_EQ(ui.Only("command"), Events{"command 030B silent"});
}

TEST_F(MenuKeyboard, ARestingMouseLeavesTheHighlightToTheKeysUntilItMoves) {
  // The mouse rests on "Open..." and then on the bar while the keys move on.
  const int open_x = 20, open_y = 45, save_y = 90;
  Update(ui, open_x, open_y);
  key[KEY_ALT] = 1;
  key[KEY_F] = 1;
  Update(ui, open_x, open_y);
  key[KEY_ALT] = 0;
  key[KEY_F] = 0;
  Update(ui, open_x, open_y);
  key[KEY_DOWN] = 1;
  Update(ui, open_x, open_y);
  key[KEY_DOWN] = 0;
  for (int i = 0; i < 3; ++i) Update(ui, open_x, open_y);
  EXPECT_EQ(Highlighted(ui.menu()), "File > Open Patch...");
  // Moved, the mouse leads again.
  Update(ui, open_x, save_y);
  EXPECT_EQ(Highlighted(ui.menu()), "File > Save");
}

TEST_F(MenuKeyboard, ARecentEntryGreyedForItsGoneFileStillTakesTheHighlightAndRuns) {
  struct Unregister {
    ~Unregister() { RegisterMenuInsert(nullptr, nullptr); }
  } unregister;
  RegisterMenuInsert([] { return std::string("[-][$0010 Y -- - - '1 a.smc'][$0011 Y -- - - '2 gone.smc']"); },
                     [] { return 1u; });
  ui.RegisterRecorded(0x0010);
  ui.RegisterRecorded(0x0011);
  RegisterCommandGreyed(0x0011, [] { return true; });
  Update(ui);  // the bar parses again with the entries
  Press(ui, "Alt+F");
  Press(ui, "Up");
  EXPECT_EQ(Highlighted(ui.menu()), "File > Exit");  // Exit stays last, however many entries there are
  Press(ui, "Up");
  EXPECT_EQ(Highlighted(ui.menu()), "File > 2 gone.smc");
  const CMenuItem* gone = ui.Entry({"File", "2 gone.smc"});
  ASSERT_NE(gone, nullptr);
  EXPECT_TRUE(gone->greyed);
  EXPECT_FALSE(ui.Entry({"File", "1 a.smc"})->greyed);
  Press(ui, "Enter");
  EXPECT_EQ(ui.Only("command"), Events{"command 0011 sound"});
}

TEST(ShortcutLabels, ModifiersThenTheKeysName) {
  struct Case {
    int scancode;
    unsigned mods;
    const char* label;
  };
  const Case cases[] = {
      {KEY_S, kModCtrl, "Ctrl+S"},
      {KEY_Z, kModCtrl | kModShift, "Ctrl+Shift+Z"},
      {KEY_F5, kModNone, "F5"},
      {KEY_G, kModNone, "G"},
      {KEY_DEL, kModNone, "Del"},
      {KEY_1, kModCtrl, "Ctrl+1"},
      {KEY_PGUP, kModAlt, "Alt+PgUp"},
      {KEY_0_PAD + 3, kModNone, "Num 3"},
      {KEY_F12, kModCtrl | kModAlt | kModShift, "Ctrl+Alt+Shift+F12"},
      {KEY_PRTSCR, kModCtrl, ""},  // a key without a name shows nothing
  };
  for (const Case& c : cases) EXPECT_EQ(ShortcutLabel(c.scancode, c.mods), c.label) << c.scancode;
}

// Menus reparsed after the shortcuts of a few commands are registered.
class MenuShortcuts : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterShortcut(kCmdSave, KEY_S, kModCtrl);
    RegisterShortcut(kCmdSaveAs, KEY_S, kModCtrl | kModShift);
    RegisterShortcut(kCmdLaunchGame, KEY_F5, kModNone);
    RegisterShortcut(kCmdRedo, KEY_Y, kModCtrl);
    RegisterShortcut(kCmdRedo, KEY_Z, kModCtrl | kModShift);
    RegisterShortcut(kCmdDelete, KEY_DEL, kModNone);
    ui.menu().Reload();
  }
  GuiHarness ui{1, kW, kH};
};

TEST_F(MenuShortcuts, EntriesShowTheirFirstRegisteredShortcutAndTheMenuWidens) {
  struct Case {
    std::vector<const char*> path;
    const char* shortcut;
  };
  const Case cases[] = {
      {{"File", "Save"}, "Ctrl+S"},    {{"File", "Save As..."}, "Ctrl+Shift+S"},
      {{"File", "Launch Game"}, "F5"}, {{"File", "Open..."}, ""},
      {{"Edit", "Redo"}, "Ctrl+Y"},    {{"Edit", "Delete"}, "Del"},
  };
  for (const Case& c : cases) {
    const CMenuItem* e = ui.Entry({c.path[0], c.path[1]});
    ASSERT_NE(e, nullptr) << c.path[1];
    EXPECT_EQ(e->shortcut, c.shortcut) << c.path[1];
  }
  // The longest label, a 16-pixel gap, the longest shortcut and the margins.
  const CMenuItem* file = ui.Entry({"File"});
  const int longest_label = ui.Entry({"File", "Launch Level"})->text_w;
  const int longest_shortcut = ui.Entry({"File", "Save As..."})->shortcut_w;
  EXPECT_EQ(file->sw, longest_label + 16 + longest_shortcut + 32);
  EXPECT_GT(file->sw, 96);
  // Menus without shortcuts keep their widths.
  EXPECT_EQ(ui.Entry({"Mode"})->sw, 123);
  EXPECT_EQ(ui.Entry({"Level"})->sw, 136);
}

TEST_F(MenuShortcuts, ShortcutsAreDrawnRightAlignedInTheEntry) {
  Update(ui);
  Press(ui, "Alt+F");
  Press(ui, "Down");
  Press(ui, "Down");  // "Save", highlighted
  const CMenuItem* save = ui.Entry({"File", "Save"});
  ASSERT_EQ(save->state, 2);
  const int x = save->WindowX(kW), right_end = x + save->iw - 6;
  // The label's ink ends well left of the shortcut column; the shortcut's ink ends at its right end.
  int rightmost = -1, label_ink_end = -1;
  for (int px = x + 22; px < x + save->iw; ++px) {
    for (int py = save->iy; py < save->iy + save->ih; ++py) {
      if (static_cast<uint32_t>(getpixel(ui.frame, px, py)) == 0xFF484848u) continue;
      rightmost = px;
      if (px < x + 22 + save->text_w) label_ink_end = px;
    }
  }
  EXPECT_LE(rightmost, right_end);
  EXPECT_GE(rightmost, right_end - 3);
  EXPECT_LT(label_ink_end, right_end - save->shortcut_w);
}

}  // namespace
