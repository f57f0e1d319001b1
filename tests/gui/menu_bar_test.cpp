#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "gui/ToolbarMain.h"
#include "platform/messages.h"
#include "shell/runtime/frame.h"
#include "tests/gui/menu_support.h"

namespace {

using Events = std::vector<std::string>;

// The level editor window: 24 by 16 tiles with a horizontal scroll bar.
constexpr int kW = 776, kH = 604;

// Points inside the titles and entries of the level editor menu bar.
constexpr int kFileX = 10, kEditX = 40, kLevelX = 70, kViewX = 110, kBarY = 29;
constexpr int kEmptyBarX = 400;

class MenuBar : public ::testing::Test {
 protected:
  GuiHarness ui{1, kW, kH};
};

TEST_F(MenuBar, TitlesLieFromTheLeftAndEndAtTheRight) {
  struct Case {
    const char* title;
    int ix, iw;
  };
  const Case cases[] = {
      {"File", 4, 26}, {"Edit", 31, 30}, {"Level", 62, 37}, {"View", 100, 32}, {"Mode", -35, 34}, {"Help", -4, 30},
  };
  ASSERT_EQ(ui.menu().children, 6);
  for (int i = 0; i < 6; ++i) {
    const CMenuItem* t = ui.menu().items[i];
    EXPECT_EQ(t->text, cases[i].title);
    EXPECT_EQ(t->ix, cases[i].ix) << t->text;
    EXPECT_EQ(t->iw, cases[i].iw) << t->text;
    EXPECT_EQ(t->iy, 24);
    EXPECT_EQ(t->ih, 12);
    EXPECT_EQ(t->sx, t->ix);
    EXPECT_EQ(t->sy, 36);
  }
  EXPECT_EQ(ui.menu().xl, 133);
  EXPECT_EQ(ui.menu().xr, -70);
  // "Help" is the rightmost title and ends 4 pixels from the right edge.
  EXPECT_EQ(ui.menu().items[5]->WindowX(kW) + 30, kW - 4);
}

TEST_F(MenuBar, LevelMenuRowsAndSubmenuGeometry) {
  const CMenuItem* level = ui.Entry({"Level"});
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(level->sw, 136);  // "Nuke ALL Levels" (102) + 34: measured after the submenu entry
  EXPECT_EQ(level->sh, 157);
  struct Row {
    int iy, ih;
  };
  const Row rows[] = {{38, 20},  {59, 1},  {61, 20},  {82, 20}, {103, 20},
                      {124, 20}, {145, 1}, {147, 20}, {168, 1}, {170, 20}};
  ASSERT_EQ(level->children, 10);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(level->sub[i]->ix, 64);
    EXPECT_EQ(level->sub[i]->iw, 132);
    EXPECT_EQ(level->sub[i]->iy, rows[i].iy) << i;
    EXPECT_EQ(level->sub[i]->ih, rows[i].ih) << i;
  }
  const CMenuItem* modify = level->sub[2];
  EXPECT_EQ(modify->sx, 197);  // one pixel inside the right edge of "Level"
  EXPECT_EQ(modify->sy, 59);
  EXPECT_EQ(modify->sw, 108);  // "Focus Points" (80) + 28
  EXPECT_EQ(modify->sub[0]->ix, 199);
  EXPECT_EQ(modify->sub[0]->iy, 61);
  EXPECT_EQ(modify->sub[5]->iy, 166);

  // A menu of short labels keeps the minimum width.
  EXPECT_EQ(ui.Entry({"Mode"})->sw, 123);  // "Physmap Editor" (95) + 28
  EXPECT_EQ(ui.Entry({"Edit"})->sw, 96);
}

TEST_F(MenuBar, ClickingTitlesOpensAndClosesMenus) {
  ui.Click(kFileX, kBarY);
  EXPECT_TRUE(ui.menu().clicked);
  EXPECT_EQ(ui.Entry({"File"})->state, 3);
  EXPECT_EQ(ui.Only("sound"), Events{"sound MenuPopup async"});

  ui.Click(kFileX, kBarY);  // again: closes
  EXPECT_FALSE(ui.menu().clicked);
  EXPECT_EQ(ui.Entry({"File"})->state, 2);

  ui.Click(kFileX, kBarY);
  ui.Click(300, 300);  // the level view: stays open
  EXPECT_TRUE(ui.menu().clicked);
  EXPECT_EQ(ui.Entry({"File"})->state, 3);

  ui.Click(kEmptyBarX, kBarY);  // the empty part of the bar: closes
  EXPECT_FALSE(ui.menu().clicked);
  EXPECT_EQ(ui.menu().iselect, 255);
  EXPECT_EQ(ui.Entry({"File"})->state, 1);
  EXPECT_EQ(ui.Only("command"), Events{});
}

TEST_F(MenuBar, MovingOntoAnotherTitleSwitchesTheOpenMenu) {
  ui.Click(kFileX, kBarY);
  ui.Move(kEditX, kBarY);
  EXPECT_EQ(ui.Entry({"File"})->state, 1);
  EXPECT_EQ(ui.Entry({"Edit"})->state, 3);
  EXPECT_EQ(ui.menu().iselect, 1);
  EXPECT_EQ(ui.Only("sound"), (Events{"sound MenuPopup async", "sound MenuPopup async"}));
  // Without an open menu, moving only highlights.
  ui.Click(kEditX, kBarY);
  ui.Move(kViewX, kBarY);
  EXPECT_EQ(ui.Entry({"Edit"})->state, 1);
  EXPECT_EQ(ui.Entry({"View"})->state, 2);
  EXPECT_FALSE(ui.menu().clicked);
}

TEST_F(MenuBar, ChoosingOpenRunsItOnceAndClosesTheMenu) {
  ui.Click(kFileX, kBarY);
  ui.Move(20, 45);
  EXPECT_EQ(ui.Entry({"File", "Open..."})->state, 2);
  ui.Click(20, 45);
  EXPECT_EQ(ui.Only("command"), Events{"command 0000 sound"});
  EXPECT_FALSE(ui.menu().clicked);
  EXPECT_EQ(ui.menu().iselect, 255);
  EXPECT_EQ(ui.Entry({"File"})->state, 1);
}

TEST_F(MenuBar, CheckEntriesToggleAndKeepTheMenuOpen) {
  CMenuItem* tiles = ui.Entry({"View", "Tiles"});
  ASSERT_TRUE(tiles->checked);
  ui.Click(kViewX, kBarY);
  ui.Move(110, 65);
  ui.Click(110, 65);
  EXPECT_FALSE(tiles->checked);
  EXPECT_TRUE(ui.menu().clicked);
  ui.Move(112, 66);
  ui.Click(112, 66);
  EXPECT_TRUE(tiles->checked);
  EXPECT_EQ(ui.Only("command"), (Events{"command 0301 sound", "command 0301 sound"}));
}

TEST_F(MenuBar, ModifyEntriesFormARadioGroupWithTheToolbar) {
  CMenuItem* modify = ui.Entry({"Level", "Modify"});
  ASSERT_NE(modify, nullptr);
  // Linked in description order to the six "Modify" buttons.
  for (int k = 0; k < 6; ++k) EXPECT_EQ(ui.tools().items[6 + k]->menug_parent, modify->sub[k]) << k;

  ui.Click(kLevelX, kBarY);
  ui.Move(100, 70);  // "Modify": its submenu opens with a sound
  EXPECT_EQ(ui.Only("sound"), (Events{"sound MenuPopup async", "sound MenuPopup async"}));
  ui.Move(210, 90);  // "Enemies"
  ui.Click(210, 90);
  EXPECT_EQ(ui.Only("command"), Events{"command 0202 sound"});
  EXPECT_TRUE(modify->sub[1]->checked);
  EXPECT_FALSE(modify->sub[0]->checked);
  EXPECT_EQ(ui.tools().items[7]->state, 3);
  EXPECT_EQ(ui.tools().items[6]->state, 1);
  EXPECT_TRUE(ui.menu().clicked);
}

TEST(MenuGroup, AGroupBelowThePlainEntriesChecksTheButtonInTheSamePlace) {
  // Entries 1 and 2 of the menu form a group (code 122: from entry 1, two of
  // them, buttons from 2); buttons 2 and 3 are the toolbar's side of it.
  OwnTable menu("[[+Y--'Grp' [$0100 Y -- - - 'Plain'] [$0201 Y -- N 122 'A'] [$0202 Y -- N 122 'B']]]", 1);
  OwnTable tools("[[$0100 Y 10 - - 'x'] [$0101 Y 10 - - 'y'] [$0201 Y 16 Y 220 'A'] [$0202 Y 17 Y 220 'B']]", 1);
  GuiHarness ui(1, kW, kH);
  delete ui.gui->m;
  delete ui.gui->t;
  ui.gui->t = new CHG_WToolBar(tools.entries);
  ui.gui->m = new CHG_WAppMenu(menu.entries);
  CMenuItem* b = ui.Entry({"Grp", "B"});
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(ui.tools().items[3]->menug_parent, b);

  ui.Click(8, kBarY);
  ui.Move(20, 85);  // "B", the third entry
  ui.Click(20, 85);
  EXPECT_EQ(ui.Only("command"), Events{"command 0202 sound"});
  EXPECT_TRUE(b->checked);
  EXPECT_FALSE(ui.Entry({"Grp", "A"})->checked);
  EXPECT_EQ(ui.tools().items[3]->state, 3);
  EXPECT_EQ(ui.tools().items[2]->state, 1);
}

TEST_F(MenuBar, DisabledEntriesNeverHighlightNorFire) {
  struct Case {
    const char* title;
    const char* entry;
    int title_x;
  };
  const Case cases[] = {{"Help", "Documentation...", kW - 20}, {"Mode", "Level Editor", kW - 50}};
  for (const Case& c : cases) {
    ui.Click(c.title_x, kBarY);
    CMenuItem* e = ui.Entry({c.title, c.entry});
    ASSERT_EQ(e->state, 0);
    const int x = e->WindowX(kW) + 30, y = e->iy + 5;
    ui.Move(x, y);
    ui.Click(x, y);
    EXPECT_EQ(e->state, 0) << c.entry;
    EXPECT_TRUE(ui.menu().clicked);
    ui.Click(kEmptyBarX, kBarY);
  }
  EXPECT_EQ(ui.Only("command"), Events{});
}

TEST_F(MenuBar, RightMenuCommandsFire) {
  ui.Click(kW - 20, kBarY);
  CMenuItem* about = ui.Entry({"Help", "About QBRRE..."});
  const int x = about->WindowX(kW) + 10, y = about->iy + 10;
  ui.Move(x, y);
  ui.Click(x, y);
  EXPECT_EQ(ui.Only("command"), Events{"command F000 sound"});
  EXPECT_FALSE(ui.menu().clicked);
}

TEST_F(MenuBar, AHighlightLeftBehindDoesNotFireOnAClickElsewhere) {
  ui.Click(kFileX, kBarY);
  ui.Move(20, 45);  // "Open..." highlighted
  ui.Move(400, 400);
  EXPECT_EQ(ui.Entry({"File", "Open..."})->state, 2);  // stays highlighted
  ui.Click(400, 400);
  EXPECT_EQ(ui.Only("command"), Events{});
  EXPECT_TRUE(ui.menu().clicked);
}

TEST_F(MenuBar, ClosedMenusDoNotReactWhereTheirEntriesWouldBe) {
  // The very first update after the parse, where "Open..." lies when "File" is
  // open: only the toolbar's "Open" under it may fire.
  ui.Click(20, 45);
  EXPECT_EQ(ui.Only("command"), Events{"command 0000 silent"});
}

// One logic update through the GUI root, as a mode runs it, with the left
// button down or up at (x, y); then the frame that makes entries choosable.
void RootStep(GuiHarness& ui, int x, int y, bool down) {
  mouse_x = x;
  mouse_y = y;
  mouse_b = down ? 1 : 0;
  ui.gui->Proc();
  clear_to_color(ui.frame, 0xFF0F3F7F);
  ui.gui->t->Draw(ui.frame, kW, kH);
  ui.gui->m->Draw(ui.frame, kW, kH);
}

void RootClick(GuiHarness& ui, int x, int y) {
  RootStep(ui, x, y, true);
  RootStep(ui, x, y, false);
}

bool CloseRequested() {
  PlatformMessage m;
  bool close = false;
  while (PlatformPeekMessage(m)) close = close || m.message == PLATFORM_MSG_CLOSE;
  return close;
}

TEST_F(MenuBar, AClickOutsideAnOpenMenuOnlyClosesIt) {
  PlatformClearMessages();
  struct Place {
    const char* name;
    int x, y;
  };
  const Place places[] = {
      {"the level view", 300, 300},
      {"the toolbar's Open button", 17, 40},
      {"the caption's close button", kW - 16, 10},
  };
  for (const Place& p : places) {
    RootClick(ui, kW - 20, kBarY);  // "Help"
    ASSERT_TRUE(ui.menu().clicked) << p.name;
    ui.events.clear();
    // The press, held and released: nothing under it sees the button.
    for (bool down : {true, true, false}) {
      RootStep(ui, p.x, p.y, down);
      EXPECT_EQ(mouse_q, 0) << p.name;
      EXPECT_FALSE(ui.menu().clicked) << p.name;
    }
    EXPECT_EQ(ui.Entry({"Help"})->state, 1) << p.name;
    EXPECT_NE(ui.tools().items[0]->state, 3) << p.name;
    EXPECT_EQ(ui.Only("command"), Events{}) << p.name;
    EXPECT_FALSE(CloseRequested()) << p.name;
  }
  // The next press is the user's again.
  RootClick(ui, 17, 40);
  EXPECT_EQ(ui.Only("command"), Events{"command 0000 silent"});
  // Inside the open menu a click still chooses.
  RootClick(ui, kFileX, kBarY);
  RootStep(ui, 20, 45, false);
  RootClick(ui, 20, 45);
  EXPECT_EQ(ui.Only("command"), (Events{"command 0000 silent", "command 0000 sound"}));
  EXPECT_FALSE(ui.menu().clicked);
}

TEST_F(MenuBar, EscapeClosesAnOpenMenuAndNothingElse) {
  PlatformClearMessages();
  RootClick(ui, kFileX, kBarY);
  ASSERT_TRUE(ui.menu().clicked);
  key[KEY_ESC] = 1;
  for (int update = 0; update < 3; ++update) {  // held: the press is spent on the menu
    Apllication_Critical_Functions();
    RootStep(ui, 400, 300, false);
    EXPECT_FALSE(ui.menu().clicked) << update;
    EXPECT_FALSE(CloseRequested()) << update;
  }
  key[KEY_ESC] = 0;
  Apllication_Critical_Functions();
  // With no menu open, Escape asks to close the program as before.
  key[KEY_ESC] = 1;
  Apllication_Critical_Functions();
  EXPECT_TRUE(CloseRequested());
  key[KEY_ESC] = 0;
  Apllication_Critical_Functions();
  EXPECT_EQ(ui.Only("command"), Events{});
}

}  // namespace

namespace {

// The colours found in the 16x16 picture box of an entry.
std::set<unsigned long> PictureColours(GuiHarness& ui, const CMenuItem* e) {
  std::set<unsigned long> colours;
  const int x = e->WindowX(kW) + 2;
  for (int dy = 0; dy < 16; ++dy) {
    for (int dx = 0; dx < 16; ++dx) colours.insert(static_cast<uint32_t>(getpixel(ui.frame, x + dx, e->iy + 2 + dy)));
  }
  return colours;
}

TEST_F(MenuBar, DisabledIconsAreGreyedAndCheckMarksFollowTheState) {
  ui.Click(kW - 50, kBarY);  // "Mode"
  // Every non-mask pixel of the icon in one dark grey, on the menu's fill.
  std::set<unsigned long> greyed = PictureColours(ui, ui.Entry({"Mode", "Level Editor"}));
  greyed.erase(0xFF303030);
  EXPECT_EQ(greyed, std::set<unsigned long>{0xFF282828});
  EXPECT_GT(PictureColours(ui, ui.Entry({"Mode", "Extraction"})).size(), 2u);

  ui.Click(kViewX, kBarY);
  ui.Click(kViewX, kBarY);  // "View": closed by the first click on it, opened by the second
  ASSERT_EQ(ui.Entry({"View"})->state, 3);
  EXPECT_GT(PictureColours(ui, ui.Entry({"View", "Tiles"})).size(), 1u);  // checked: the mark
  EXPECT_EQ(PictureColours(ui, ui.Entry({"View", "Background(s)"})), std::set<unsigned long>{0xFF303030});
}

}  // namespace
