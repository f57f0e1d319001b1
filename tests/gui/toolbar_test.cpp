#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "gui/ToolbarMain.h"
#include "resources/skin.h"
#include "tests/gui/menu_support.h"

namespace {

using Events = std::vector<std::string>;

constexpr int kButtonY = 40;

// Centre x of button i.
int At(GuiHarness& ui, int i) { return ui.tools().items[i]->ix + 11; }

std::vector<int> States(GuiHarness& ui) {
  std::vector<int> states;
  for (const CToolItem* b : ui.tools().items) states.push_back(b->state);
  return states;
}

TEST(StartupToolbar, ModeButtonsAreARadioGroupFiringOnThePress) {
  GuiHarness ui(0, 520, 176);
  EXPECT_EQ(States(ui), (std::vector<int>{1, 3, 1, 1, 1, 1, 1}));
  ui.Move(At(ui, 2), kButtonY);
  ui.Step(At(ui, 2), kButtonY, 1);
  EXPECT_EQ(ui.Only("command"), Events{"command FE01 silent"});  // on the press, before the release
  ui.Step(At(ui, 2), kButtonY, 3);
  ui.Move(At(ui, 2), kButtonY);
  EXPECT_EQ(States(ui), (std::vector<int>{1, 1, 3, 1, 1, 1, 1}));
  EXPECT_EQ(ui.Only("sound"), Events{});  // toolbar commands are silent

  // Clicking the button that is already down sends nothing.
  ui.Click(At(ui, 2), kButtonY);
  EXPECT_EQ(ui.Only("command"), Events{"command FE01 silent"});
}

class EditorToolbar : public ::testing::Test {
 protected:
  GuiHarness ui{1, 776, 604};
};

TEST_F(EditorToolbar, ModifyButtonsKeepTheMenuGroupInStep) {
  ui.Move(At(ui, 7), kButtonY);
  ui.Click(At(ui, 7), kButtonY);
  EXPECT_EQ(ui.Only("command"), Events{"command 0202 silent"});
  EXPECT_EQ(ui.tools().items[7]->state, 3);
  EXPECT_EQ(ui.tools().items[6]->state, 1);
  EXPECT_TRUE(ui.Entry({"Level", "Modify", "Enemies"})->checked);
  EXPECT_FALSE(ui.Entry({"Level", "Modify", "Tile Map"})->checked);
}

TEST_F(EditorToolbar, PushButtonFiresOnReleaseOverItOnly) {
  ui.Move(At(ui, 0), kButtonY);
  ui.Click(At(ui, 0), kButtonY);
  EXPECT_EQ(ui.Only("command"), Events{"command 0000 silent"});

  ui.events.clear();
  ui.Step(At(ui, 1), kButtonY, 1);  // press "Save"
  EXPECT_EQ(ui.tools().items[1]->state, 3);
  ui.Step(At(ui, 1), kButtonY + 30, 2);  // drag off
  EXPECT_EQ(ui.tools().items[1]->state, 1);
  ui.Step(At(ui, 1), kButtonY, 2);  // back on while held: hover only
  ui.Step(At(ui, 1), kButtonY, 3);  // release
  EXPECT_EQ(ui.Only("command"), Events{});
}

TEST_F(EditorToolbar, StickyButtonStaysDownWhenTheMouseMovesToAPushButton) {
  ui.Move(At(ui, 6), kButtonY);
  ui.Move(At(ui, 5), kButtonY);
  EXPECT_EQ(ui.tools().items[6]->state, 3);
  EXPECT_EQ(ui.tools().items[5]->state, 2);
  ui.Move(400, 300);
  EXPECT_EQ(ui.tools().items[6]->state, 3);
  EXPECT_EQ(ui.tools().items[5]->state, 1);
}

TEST_F(EditorToolbar, TheBottomTwoRowsAreNotOnTheButton) {
  struct Case {
    int y;
    int state;
  };
  const Case cases[] = {{36, 2}, {57, 2}, {58, 1}, {59, 1}};
  for (const Case& c : cases) {
    ui.Move(At(ui, 0), c.y);
    EXPECT_EQ(ui.tools().items[0]->state, c.state) << c.y;
    ui.Move(400, 300);
  }
}

TEST_F(EditorToolbar, NothingReactsWhileAMenuIsOpen) {
  ui.Click(776 - 20, 29);  // open "Help", whose menu lies clear of these buttons
  ASSERT_TRUE(ui.menu().clicked);
  const std::vector<int> before = States(ui);
  for (int i : {0, 7, 15}) {
    ui.Move(At(ui, i), kButtonY);
    ui.Click(At(ui, i), kButtonY);
  }
  EXPECT_EQ(States(ui), before);
  EXPECT_EQ(ui.Only("command"), Events{});
}

TEST_F(EditorToolbar, TooltipShowsAfterTheMouseRestsOnAButton) {
  const CToolItem* save = ui.tools().items[1];
  ui.Move(At(ui, 1), kButtonY);
  for (int i = 1; i < CHG_WToolBar::kTooltipDelay; ++i) ui.Move(At(ui, 1), kButtonY);
  EXPECT_FALSE(ui.tools().TooltipShown());
  ui.Move(At(ui, 1), kButtonY);
  EXPECT_TRUE(ui.tools().TooltipShown());
  // Drawn under the button on the menu colour, inside the window.
  EXPECT_EQ(getpixel(ui.frame, save->ix + 1, save->iy + 27), 0xFF303030);
  ui.Move(At(ui, 2), kButtonY);
  EXPECT_FALSE(ui.tools().TooltipShown());
  EXPECT_NE(getpixel(ui.frame, save->ix + 1, save->iy + 27), 0xFF303030);
}

TEST_F(EditorToolbar, IconsFollowTheButtonState) {
  ui.Move(400, 300);
  // Button 6 is down: its icon darkened by 64 in every byte; button 7 as it is.
  struct Case {
    int button;
    int sub;
  };
  for (const Case c : {Case{6, 64}, Case{7, 0}}) {
    const CToolItem* b = ui.tools().items[c.button];
    int checked = 0;
    for (int dy = 0; dy < 16; ++dy) {
      for (int dx = 0; dx < 16; ++dx) {
        const uint32_t icon = static_cast<uint32_t>(getpixel(FunctionIcons, b->icon * 16 + dx, dy));
        if ((icon & 0xFFFFFF) == 0xFF00FF) continue;
        uint32_t want = 0;
        for (int shift = 0; shift < 32; shift += 8) {
          const int byte = static_cast<int>((icon >> shift) & 0xFF) - c.sub;
          want |= static_cast<uint32_t>(byte < 0 ? 0 : byte) << shift;
        }
        EXPECT_EQ(static_cast<uint32_t>(getpixel(ui.frame, b->ix + 3 + dx, b->iy + 4 + dy)) & 0xFFFFFF,
                  want & 0xFFFFFF);
        ++checked;
      }
    }
    EXPECT_GT(checked, 0);
  }
}

TEST_F(EditorToolbar, PanelShowsAtTheRightEnd) {
  // The panel's flag covers (w - 24, 45) to (w - 9, 56); elsewhere the band repeats one column.
  ui.Move(400, 300);
  EXPECT_NE(getpixel(ui.frame, 776 - 20, 50), getpixel(ui.frame, 600, 50));
}

TEST(StartupToolbar, HasNoPanel) {
  GuiHarness ui(0, 776, 604);
  ui.Move(400, 300);
  EXPECT_EQ(getpixel(ui.frame, 776 - 20, 50), getpixel(ui.frame, 600, 50));
}

}  // namespace
