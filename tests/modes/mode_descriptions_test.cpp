#include "modes/mode_descriptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/MenuItems.h"
#include "gui/MenuLoad.h"
#include "gui/MenuMain.h"
#include "gui/ToolbarItems.h"
#include "gui/ToolbarMain.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "shell/base/variables.h"
#include "tests/common/headless_allegro.h"

namespace {

struct Described {
  Mode mode;
  const char* menu;
  const char* toolbar;
  unsigned short own_entry;  // the mode's own Mode menu entry, shown unavailable
};

const Described kModes[] = {
    {Mode::SpriteViewer, kSpriteViewerMenu, kSpriteViewerToolbar, 0xFF02},
    {Mode::PaletteEditor, kPaletteEditorMenu, kPaletteEditorToolbar, 0xFF03},
    {Mode::HexEditor, kHexEditorMenu, kHexEditorToolbar, 0xFF05},
};

class ModeDescriptions : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(StartHeadlessAllegro()); }
  void TearDown() override { ENGINE_STATE = 0; }
  Installed<CommandTable> commands_;  // entries look up their shortcuts
};

TEST_F(ModeDescriptions, EachModeParsesToFileEditModeAndHelp) {
  for (const Described& d : kModes) {
    RegisterModeDescriptions(d.mode, d.menu, d.toolbar);
    ENGINE_STATE = static_cast<uint32_t>(d.mode);
    CHG_WToolBar tools;
    CHG_WAppMenu bar;
    std::vector<std::string> titles;
    for (const CMenuItem* title : bar.items) titles.push_back(title->text);
    EXPECT_EQ(titles, (std::vector<std::string>{"File", "Edit", "Mode", "Help"})) << static_cast<int>(d.mode);
    const CMenuItem* mode_menu = bar.items[2];
    ASSERT_EQ(mode_menu->sub.size(), 6u);
    for (int k = 0; k < 6; ++k) {
      EXPECT_EQ(mode_menu->sub[k]->ID, 0xFF00 + k);
      EXPECT_EQ(mode_menu->sub[k]->state, mode_menu->sub[k]->ID == d.own_entry ? 0 : 1) << static_cast<int>(d.mode) << " " << k;
    }
    std::vector<int> ids;
    for (const CToolItem* button : tools.items) ids.push_back(button->ID);
    EXPECT_EQ(
        ids, (std::vector<int>{0x0000, 0x0001, 0x0003, 0x0100, 0x0101, 0xFF00, 0xFF01, 0xFF02, 0xFF03, 0xFF04, 0xFF05}))
        << static_cast<int>(d.mode);
  }
  // A mode without descriptions reads as empty ones.
  ENGINE_STATE = 9;
  CHG_WToolBar none;
  EXPECT_TRUE(none.items.empty());
}

}  // namespace
