#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gui/MenuLoad.h"
#include "gui/MenuMain.h"
#include "gui/ToolbarMain.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"
#include "tests/gui/menu_support.h"

namespace {

// One element of a menu bar description: depth (0 title), kind, number, state,
// icon, check, group and text, written as in the description.
struct MenuRow {
  int depth;
  const char *kind, *number, *state, *icon, *check, *group, *text;
};

const MenuRow kStartupMenu[] = {
    {0, "+", "", "Y", "--", "", "", "File"},
    {1, "$", "0000", "Y", "10", "-", "-", "Open..."},
    {1, "$", "0008", "Y", "--", "-", "-", "Recover..."},
    {1, "$", "FFFF", "Y", "01", "-", "-", "Exit"},
    {0, ">", "", "Y", "--", "", "", "Help"},
    {1, "$", "F000", "Y", "--", "-", "-", "About QBRRE..."},
    {1, "$", "F001", "N", "--", "-", "-", "Documentation..."},
    {1, "$", "F002", "N", "--", "-", "-", "QBR Offset Library..."},
    {1, "$", "F003", "N", "--", "-", "-", "Known Issues..."},
};

const MenuRow kEditorMenu[] = {
    {0, "+", "", "Y", "--", "", "", "File"},
    {1, "$", "0000", "Y", "10", "-", "-", "Open..."},
    {1, "$", "0006", "Y", "--", "-", "-", "Open Patch..."},
    {1, "$", "0001", "Y", "11", "-", "-", "Save"},
    {1, "$", "0002", "Y", "--", "-", "-", "Save As..."},
    {1, "$", "0003", "Y", "12", "-", "-", "Save IPS..."},
    {1, "$", "0007", "Y", "--", "-", "-", "Save BPS..."},
    {1, "$", "0008", "Y", "--", "-", "-", "Recover..."},
    {1, "-", "", "", "", "", "", ""},
    {1, "$", "0004", "Y", "13", "-", "-", "Launch Game"},
    {1, "$", "0005", "Y", "14", "-", "-", "Launch Level"},
    {1, "-", "", "", "", "", "", ""},
    {1, "$", "FFFF", "Y", "01", "-", "-", "Exit"},
    {0, "+", "", "Y", "--", "", "", "Edit"},
    {1, "$", "0100", "Y", "08", "-", "-", "Undo"},
    {1, "$", "0101", "Y", "09", "-", "-", "Redo"},
    {1, "-", "", "", "", "", "", ""},
    {1, "$", "0102", "Y", "0A", "-", "-", "Cut"},
    {1, "$", "0103", "Y", "0B", "-", "-", "Copy"},
    {1, "$", "0104", "Y", "0C", "-", "-", "Paste"},
    {1, "$", "0105", "Y", "0D", "-", "-", "Duplicate"},
    {1, "$", "0106", "Y", "0E", "-", "-", "Delete"},
    {1, "-", "", "", "", "", "", ""},
    {1, "$", "0107", "Y", "0F", "-", "-", "Select All"},
    {0, "+", "", "Y", "--", "", "", "Level"},
    {1, "$", "0200", "Y", "15", "-", "-", "Select Level..."},
    {1, "-", "", "", "", "", "", ""},
    {1, "+", "", "Y", "--", "", "", "Modify"},
    {2, "$", "0201", "Y", "--", "Y", "066", "Tile Map"},
    {2, "$", "0202", "Y", "--", "N", "066", "Enemies"},
    {2, "$", "0203", "Y", "--", "N", "066", "Objects"},
    {2, "$", "0204", "Y", "--", "N", "066", "Collectibles"},
    {2, "$", "0205", "Y", "--", "N", "066", "Banana Map"},
    {2, "$", "0206", "Y", "--", "N", "066", "Focus Points"},
    {1, "$", "0207", "Y", "1C", "-", "-", "Start Points..."},
    {1, "$", "0208", "Y", "1D", "-", "-", "Sounds/Music..."},
    {1, "$", "0209", "Y", "1E", "-", "-", "Settings..."},
    {1, "-", "", "", "", "", "", ""},
    {1, "$", "020A", "Y", "1F", "-", "-", "Nuke This Level"},
    {1, "-", "", "", "", "", "", ""},
    {1, "$", "020B", "Y", "20", "-", "-", "Nuke ALL Levels"},
    {0, "+", "", "Y", "--", "", "", "View"},
    {1, "$", "0300", "Y", "--", "N", "-", "Background(s)"},
    {1, "$", "0301", "Y", "--", "Y", "-", "Tiles"},
    {1, "$", "0302", "Y", "--", "N", "-", "Foreground(s)"},
    {1, "-", "", "", "", "", "", ""},
    {1, "$", "0303", "Y", "--", "Y", "-", "Enemies"},
    {1, "$", "0304", "Y", "--", "Y", "-", "Objects"},
    {1, "$", "0305", "Y", "--", "N", "-", "Hidden Caches"},
    {1, "$", "0306", "Y", "--", "Y", "-", "Collectibles"},
    {1, "$", "0307", "Y", "--", "Y", "-", "Bananas"},
    {1, "$", "0308", "Y", "--", "N", "-", "Focus Points"},
    {1, "-", "", "", "", "", "", ""},
    {1, "$", "0309", "Y", "--", "Y", "-", "Level Entrance/Exit"},
    {1, "$", "030A", "Y", "--", "Y", "-", "Bonus Entrances/Exits"},
    {1, "-", "", "", "", "", "", ""},
    {1, "$", "030B", "Y", "--", "Y", "-", "Grid"},
    {0, ">", "", "Y", "--", "", "", "Mode"},
    {1, "$", "FF00", "N", "02", "-", "-", "Level Editor"},
    {1, "$", "FF01", "Y", "03", "-", "-", "Extraction"},
    {1, "$", "FF02", "Y", "04", "-", "-", "Sprite Viewer"},
    {1, "$", "FF03", "Y", "05", "-", "-", "Palette Editor"},
    {1, "$", "FF04", "Y", "06", "-", "-", "Physmap Editor"},
    {1, "$", "FF05", "Y", "07", "-", "-", "Hex Editor"},
    {0, ">", "", "Y", "--", "", "", "Help"},
    {1, "$", "F000", "Y", "--", "-", "-", "About QBRRE..."},
    {1, "$", "F001", "N", "--", "-", "-", "Documentation..."},
    {1, "$", "F002", "N", "--", "-", "-", "QBR Offset Library..."},
    {1, "$", "F003", "N", "--", "-", "-", "Known Issues..."},
};

const MenuRow kExtractionMenu[] = {
    {0, "+", "", "Y", "--", "", "", "File"},
    {1, "$", "0000", "Y", "10", "-", "-", "Open..."},
    {1, "$", "0008", "Y", "--", "-", "-", "Recover..."},
    {1, "$", "FFFF", "Y", "01", "-", "-", "Exit"},
    {0, "+", "", "Y", "--", "", "", "Graphics"},
    {1, "$", "5100", "Y", "--", "-", "-", "Level Terrains"},
    {1, "$", "5101", "Y", "--", "-", "-", "Backgrounds"},
    {1, "$", "5102", "Y", "--", "-", "-", "Tile Sets"},
    {1, "$", "5103", "Y", "--", "-", "-", "Foregrounds"},
    {1, "$", "5104", "Y", "--", "-", "-", "Animations"},
    {1, "$", "5105", "Y", "--", "-", "-", "Sprites"},
    {0, "+", "", "Y", "--", "", "", "Binary"},
    {1, "$", "5200", "Y", "--", "-", "-", "8x8 Tiles"},
    {1, "$", "5201", "Y", "--", "-", "-", "Tile Sets"},
    {1, "$", "5202", "Y", "--", "-", "-", "Tile Maps"},
    {1, "$", "5203", "Y", "--", "-", "-", "Backgrounds"},
    {1, "$", "5204", "Y", "--", "-", "-", "PhysMaps"},
    {1, "$", "5205", "Y", "--", "-", "-", "Sprites"},
    {1, "$", "5206", "Y", "--", "-", "-", "Palletes"},
    {0, "+", "", "Y", "--", "", "", "Import"},
    {1, "$", "5300", "Y", "--", "-", "-", "Folder..."},
    {1, "-", "", "", "", "", "", ""},
    {1, "$", "5301", "Y", "--", "-", "-", "8x8 Tiles..."},
    {1, "$", "5302", "Y", "--", "-", "-", "Tile Sets..."},
    {1, "$", "5303", "Y", "--", "-", "-", "Tile Maps..."},
    {1, "$", "5304", "Y", "--", "-", "-", "Palettes..."},
    {0, ">", "", "Y", "--", "", "", "Mode"},
    {1, "$", "FF00", "Y", "02", "-", "-", "Level Editor"},
    {1, "$", "FF01", "N", "03", "-", "-", "Extraction"},
    {1, "$", "FF02", "Y", "04", "-", "-", "Sprite Viewer"},
    {1, "$", "FF03", "Y", "05", "-", "-", "Palette Editor"},
    {1, "$", "FF04", "Y", "06", "-", "-", "Physmap Editor"},
    {1, "$", "FF05", "Y", "07", "-", "-", "Hex Editor"},
    {0, ">", "", "Y", "--", "", "", "Help"},
    {1, "$", "F000", "Y", "--", "-", "-", "About QBRRE..."},
    {1, "$", "F001", "N", "--", "-", "-", "Documentation..."},
    {1, "$", "F002", "N", "--", "-", "-", "QBR Offset Library..."},
    {1, "$", "F003", "N", "--", "-", "-", "Known Issues..."},
};

// One tool button: index, number, state, icon, sticky, group and text.
struct ToolRow {
  int button;
  const char* number;
  char state;
  const char* icon;
  char sticky;
  const char* group;
  const char* text;
};

const ToolRow kStartupTools[] = {
    {0, "0000", 'Y', "10", '-', "-", "Open"},
    {1, "FE00", 'S', "02", 'Y', "160", "Level Editor"},
    {2, "FE01", 'Y', "03", 'Y', "160", "Extraction"},
    {3, "FE02", 'Y', "04", 'Y', "160", "Sprite Viewer"},
    {4, "FE03", 'Y', "05", 'Y', "160", "Palette Editor"},
    {5, "FE04", 'Y', "06", 'Y', "160", "Physmap Editor"},
    {6, "FE05", 'Y', "07", 'Y', "160", "Hex Editor"},
};
const int kStartupToolX[] = {6, 378, 401, 424, 447, 470, 493};

const ToolRow kEditorTools[] = {
    {0, "0000", 'Y', "10", '-', "-", "Open"},
    {1, "0001", 'Y', "11", '-', "-", "Save"},
    {2, "0003", 'Y', "12", '-', "-", "Save IPS"},
    // sep, sep
    {3, "0004", 'Y', "13", '-', "-", "Launch Game"},
    {4, "0005", 'Y', "14", '-', "-", "Launch Level"},
    // sep, sep
    {5, "0200", 'Y', "15", '-', "-", "Select Level..."},
    // sep, sep
    {6, "0201", 'S', "16", 'Y', "660", "Modify Tile Sets"},
    {7, "0202", 'Y', "17", 'Y', "660", "Modify Enemies"},
    {8, "0203", 'Y', "18", 'Y', "660", "Modify Objects"},
    {9, "0204", 'Y', "19", 'Y', "660", "Modify Collectibles"},
    {10, "0205", 'Y', "1A", 'Y', "660", "Modify Bananas"},
    {11, "0206", 'Y', "1B", 'Y', "660", "Modify Focus Points"},
    // sep, sep
    {12, "0207", 'Y', "1C", '-', "-", "Start Points..."},
    {13, "0208", 'Y', "1D", '-', "-", "Sounds/Music..."},
    {14, "0209", 'Y', "1E", '-', "-", "Settings..."},
    // sep, sep, sep
    {15, "020A", 'Y', "1F", '-', "-", "NUKE This Level"},
};
const int kEditorToolX[] = {6, 29, 52, 88, 111, 147, 183, 206, 229, 252, 275, 298, 334, 357, 380, 423};

int Hex(const char* digits) { return static_cast<int>(std::strtol(digits, nullptr, 16)); }

// The dump rows (menu_support) that a list of description elements must give.
template <std::size_t N>
std::vector<std::string> ExpectedMenu(const MenuRow (&rows)[N]) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < N; ++i) {
    const MenuRow& r = rows[i];
    const std::string kind = r.kind;
    const int type = kind == "+" ? 1 : kind == ">" ? 2 : kind == "$" ? 3 : 4;
    int children = 0;
    for (std::size_t j = i + 1; j < N && rows[j].depth > r.depth; ++j) children += rows[j].depth == r.depth + 1;
    const std::string state = r.state, icon = r.icon, check = r.check, group = r.group;
    char text[256];
    std::snprintf(text, sizeof text, "%d type=%d id=%X state=%d icon=%d check=%s group=%x '%s' w=%d n=%d", r.depth,
                  type, type == 3 ? Hex(r.number) : 0, state == "N" ? 0 : 1,
                  icon == "--" || icon.empty() ? 65535 : Hex(r.icon),
                  check == "Y"   ? "on"
                  : check == "N" ? "off"
                                 : "-",
                  group == "-" || group.empty() ? 0 : Hex(r.group), r.text, helio_stringlength(r.text), children);
    out.push_back(text);
  }
  return out;
}

template <std::size_t N>
std::vector<std::string> ExpectedTools(const ToolRow (&rows)[N], const int* xs) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < N; ++i) {
    const ToolRow& r = rows[i];
    const std::string group = r.group;
    char text[256];
    std::snprintf(text, sizeof text, "%d x=%d y=36 id=%X state=%d icon=%d sticky=%d group=%x '%s' w=%d", r.button,
                  xs[i], Hex(r.number),
                  r.state == 'S'   ? 3
                  : r.state == 'Y' ? 1
                                   : 0,
                  Hex(r.icon), r.sticky == 'Y', group == "-" ? 0 : Hex(r.group), r.text, helio_stringlength(r.text));
    out.push_back(text);
  }
  return out;
}

class MenuParse : public ::testing::Test {
 protected:
  void TearDown() override { ENGINE_STATE = 0; }
  Installed<CommandTable> commands_;  // entries look up their shortcuts
};

TEST_F(MenuParse, MenuBarDescriptionsGiveTheirTrees) {
  const std::vector<std::string> expected[3] = {ExpectedMenu(kStartupMenu), ExpectedMenu(kEditorMenu),
                                                ExpectedMenu(kExtractionMenu)};
  for (int mode = 0; mode < 3; ++mode) {
    ENGINE_STATE = mode;
    CHG_WAppMenu bar;
    EXPECT_EQ(DumpMenuBar(bar), expected[mode]) << "mode " << mode;
    EXPECT_EQ(bar.children, static_cast<int>(bar.items.size()));
  }
}

TEST_F(MenuParse, ToolbarDescriptionsGiveTheirButtonsAndPositions) {
  ENGINE_STATE = 0;
  CHG_WToolBar startup;
  EXPECT_EQ(DumpToolBar(startup), ExpectedTools(kStartupTools, kStartupToolX));
  EXPECT_EQ(startup.children, 7);

  ENGINE_STATE = 1;
  CHG_WToolBar editor;
  EXPECT_EQ(DumpToolBar(editor), ExpectedTools(kEditorTools, kEditorToolX));
  EXPECT_EQ(editor.children, 16);
  EXPECT_TRUE(editor.display_org);
  EXPECT_EQ(editor.QBRVersion, 0);
  EXPECT_EQ(editor.iselect, 255);

  ENGINE_STATE = 2;
  CHG_WToolBar extraction;
  EXPECT_TRUE(extraction.items.empty());
  EXPECT_EQ(extraction.children, 0);
}

TEST_F(MenuParse, ReloadParsesTheCurrentModeAgain) {
  ENGINE_STATE = 0;
  CHG_WToolBar tools;
  CHG_WAppMenu bar;
  ENGINE_STATE = 1;
  tools.Reload();
  bar.Reload();
  EXPECT_EQ(tools.children, 16);
  EXPECT_EQ(DumpMenuBar(bar), ExpectedMenu(kEditorMenu));
}

TEST_F(MenuParse, ReloadingTheMenuBarAloneRelinksTheButtons) {
  GuiHarness ui(1, 776, 604);
  ui.menu().Reload();
  // The old entries unlinked themselves, so the new ones find the buttons free;
  // a group update then marks live entries only.
  const CMenuItem* modify = ui.Entry({"Level", "Modify"});
  for (int k = 0; k < 6; ++k) EXPECT_EQ(ui.tools().items[6 + k]->menug_parent, modify->sub[k]) << k;
  ui.tools().UpdateGroup(8);
  EXPECT_TRUE(modify->sub[2]->checked);
  EXPECT_FALSE(modify->sub[0]->checked);
}

// Removes every blank outside the texts, or widens every place between two
// elements or fields with extra blanks; both must parse like the original.
std::string Reblank(const std::string& text, bool widen) {
  std::string out;
  bool in_text = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\'') {
      // The opening apostrophe is the delimiter; widen before it, never inside the text.
      if (!in_text && widen) out += "   ";
      out += c;
      in_text = !in_text;
      continue;
    }
    if (in_text) {
      out += c;
      continue;
    }
    if (c == ' ') {
      if (widen) out += "  ";
      continue;
    }
    if (widen && (c == '[' || c == ']')) out += "  ";
    out += c;
    if (widen && c == '[') out += " ";
  }
  return out;
}

TEST_F(MenuParse, BlanksAnywhereBetweenElementsAndFieldsAreInsignificant) {
  for (int mode = 0; mode < 3; ++mode) {
    ENGINE_STATE = mode;
    const std::vector<std::string> menu = DumpMenuBar(CHG_WAppMenu());
    const std::vector<std::string> tools = DumpToolBar(CHG_WToolBar());
    for (bool widen : {false, true}) {
      OwnTable menu_table(Reblank(AppMenuL[mode], widen), mode);
      OwnTable tool_table(Reblank(AppToolL[mode], widen), mode);
      EXPECT_EQ(DumpMenuBar(CHG_WAppMenu(menu_table.entries)), menu) << mode << " widen " << widen;
      EXPECT_EQ(DumpToolBar(CHG_WToolBar(tool_table.entries)), tools) << mode << " widen " << widen;
    }
  }
}

TEST_F(MenuParse, SeparatorsAreNotToolItemsAndAddSevenPixels) {
  OwnTable table("[[$0001 Y 11 - - 'A'][-][-][$0002 N -- - - 'B'][$0003 X 05 Y 120 'C']]", 0);
  CHG_WToolBar tools(table.entries);
  EXPECT_EQ(DumpToolBar(tools), (std::vector<std::string>{
                                    "0 x=6 y=36 id=1 state=1 icon=17 sticky=0 group=0 'A' w=9",
                                    "1 x=42 y=36 id=2 state=0 icon=65535 sticky=0 group=0 'B' w=7",
                                    "2 x=65 y=36 id=3 state=4 icon=5 sticky=1 group=120 'C' w=7",
                                }));
}

TEST_F(MenuParse, ReadersOnSmallTexts) {
  struct Case {
    const char* text;
    int (*reader)(MenuTable);
    int value;
    unsigned long end;  // read position afterwards
  };
  const Case cases[] = {
      {"[", RM_FormatChar, 1, 1},           {"   ]", RM_FormatChar, 2, 4},      {"%", RM_FormatChar, 3, 1},
      {"x", RM_FormatChar, 0, 1},           {"", RM_FormatChar, 2, 0},          {"    ", RM_FormatChar, 2, 4},
      {"+", RM_ItemTypeChar, 1, 1},         {" >", RM_ItemTypeChar, 2, 2},      {"$", RM_ItemTypeChar, 3, 1},
      {"-", RM_ItemTypeChar, 4, 1},         {"?", RM_ItemTypeChar, 0, 1},       {"", RM_ItemTypeChar, 0, 0},
      {"Y", RM_ItemEnabled, 1, 1},          {"N", RM_ItemEnabled, 0, 1},        {"S", RM_ItemEnabled, 3, 1},
      {"X", RM_ItemEnabled, 4, 1},          {"-", RM_ItemEnabled, 65535, 1},    {"q", RM_ItemEnabled, 0, 1},
      {"  F001", RM_ItemNumber, 0xF001, 6}, {"020A", RM_ItemNumber, 0x020A, 4}, {"02", RM_ItemNumber, 0x02, 2},
      {"--", RM_IconNumber, 65535, 2},      {" 1F", RM_IconNumber, 0x1F, 3},    {"-", RM_CheckGroup, 0, 1},
      {" 660", RM_CheckGroup, 0x660, 4},    {"06", RM_CheckGroup, 0x06, 2},
  };
  for (const Case& c : cases) {
    OwnTable table(c.text, 0);
    menuchar = 0;
    EXPECT_EQ(c.reader(table.entries), c.value) << '"' << c.text << '"';
    EXPECT_EQ(menuchar, c.end) << '"' << c.text << '"';
  }
}

TEST_F(MenuParse, ItemStringReadsUpToTheApostropheAndMeasuresTheText) {
  struct Case {
    const char* text;
    const char* result;
    int width;
    unsigned long end;
  };
  const Case cases[] = {
      {"  'Open...']", "Open...", 37, 11},  // 7+7+7+7+3+3+3
      {"'']", "", 0, 2},
      {"\"Exit'", "Exit", 7 + 7 + 3 + 7, 6},  // any delimiter opens the text
      {"'no end", "no end", 7 + 7 + 7 + 7 + 7 + 7, 7},
      {"", "", 0, 0},
  };
  for (const Case& c : cases) {
    OwnTable table(c.text, 0);
    menuchar = 0;
    int width = -1;
    EXPECT_EQ(RM_ItemString(table.entries, width), c.result);
    EXPECT_EQ(width, c.width) << c.text;
    EXPECT_EQ(menuchar, c.end) << c.text;
  }
}

TEST_F(MenuParse, MalformedDescriptionsGiveWhatWasReadAndStop) {
  struct Case {
    const char* text;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {"[[+Y--'File'", {"0 type=1 id=0 state=1 icon=65535 check=- group=0 'File' w=20 n=0"}},
      {"[[+Y--'File'[$0001 Y",
       {"0 type=1 id=0 state=1 icon=65535 check=- group=0 'File' w=20 n=1",
        "1 type=3 id=1 state=1 icon=65535 check=off group=0 '' w=0 n=0"}},
      {"[[?junk]]", {"0 type=0 id=0 state=1 icon=65535 check=- group=0 '' w=0 n=0"}},
      {"]]]]", {}},
      {"", {}},
      {"[[+Y--'A']", {"0 type=1 id=0 state=1 icon=65535 check=- group=0 'A' w=9 n=0"}},
  };
  for (const Case& c : cases) {
    OwnTable table(c.text, 0);
    EXPECT_EQ(DumpMenuBar(CHG_WAppMenu(table.entries)), c.rows) << c.text;
  }
}

TEST_F(MenuParse, EveryTruncationOfEveryDescriptionStaysInsideTheText) {
  for (int mode = 0; mode < 3; ++mode) {
    for (MenuTable source : {AppMenuL, AppToolL}) {
      const std::string whole = source[mode];
      for (std::size_t n = 0; n <= whole.size(); ++n) {
        // An exactly sized copy: reading past its end is an AddressSanitizer report.
        std::unique_ptr<char[]> prefix(new char[n + 1]);
        std::memcpy(prefix.get(), whole.data(), n);
        prefix[n] = '\0';
        const char* entries[3] = {"[]", "[]", "[]"};
        entries[mode] = prefix.get();
        ENGINE_STATE = mode;
        if (source == AppMenuL) {
          CHG_WAppMenu bar(entries);
          EXPECT_LE(bar.children, 6);
        } else {
          CHG_WToolBar tools(entries);
          EXPECT_LE(tools.children, 16);
        }
        EXPECT_LE(menuchar, n);
      }
    }
  }
}

TEST_F(MenuParse, UnknownModeReadsAsAnEmptyDescription) {
  ENGINE_STATE = 7;
  CHG_WAppMenu bar;
  CHG_WToolBar tools;
  EXPECT_EQ(bar.children, 0);
  EXPECT_EQ(tools.children, 0);
}

// The labels of a menu's entries, "-" for a separator.
std::vector<std::string> Labels(const CMenuItem* menu) {
  std::vector<std::string> labels;
  for (const CMenuItem* e : menu->sub) labels.push_back(e->type == 4 ? "-" : e->text);
  return labels;
}

// Entries registered for the '%' of the descriptions, changed by the test; none again afterwards.
class MenuInsertParse : public MenuParse {
 protected:
  void SetUp() override {
    RegisterMenuInsert([this] { return insert; }, [this] { return generation; });
  }
  void TearDown() override {
    RegisterMenuInsert(nullptr, nullptr);
    MenuParse::TearDown();
  }
  std::string insert = "[-][$0010 Y -- - - '1 ~/a.smc'][$0011 Y -- - - '2 /b%.smc']";
  unsigned generation = 1;
};

TEST_F(MenuInsertParse, TheFileMenusTakeTheEntriesWhereTheirMarkIs) {
  struct Case {
    int mode;
    std::vector<std::string> file;
  };
  const Case cases[] = {
      {0, {"Open...", "Recover...", "-", "1 ~/a.smc", "2 /b%.smc", "Exit"}},
      {1,
       {"Open...", "Open Patch...", "Save", "Save As...", "Save IPS...", "Save BPS...", "Recover...", "-",
        "Launch Game", "Launch Level", "-", "1 ~/a.smc", "2 /b%.smc", "-", "Exit"}},
      {2, {"Open...", "Recover...", "-", "1 ~/a.smc", "2 /b%.smc", "Exit"}},
  };
  for (const Case& c : cases) {
    ENGINE_STATE = c.mode;
    CHG_WAppMenu bar;
    ASSERT_FALSE(bar.items.empty());
    EXPECT_EQ(Labels(bar.items[0]), c.file) << "mode " << c.mode;
    EXPECT_EQ(bar.items[0]->sub[c.mode == 1 ? 2 : 3]->ID, c.mode == 1 ? 0x0001 : 0x0010) << "mode " << c.mode;
  }
  // A mark inside a text is part of the text.
  OwnTable table("[[+Y--'F%'%[$FFFF Y 01 - - 'E%']]]", 0);
  ENGINE_STATE = 0;
  CHG_WAppMenu own(table.entries);
  EXPECT_EQ(own.items[0]->text, "F%");
  EXPECT_EQ(Labels(own.items[0]), (std::vector<std::string>{"-", "1 ~/a.smc", "2 /b%.smc", "E%"}));
}

TEST_F(MenuInsertParse, TheBarParsesAgainWhenTheEntriesChange) {
  GuiHarness ui(0, 520, 176);
  EXPECT_EQ(ui.Entry({"File"})->children, 6);
  insert = "";
  ui.Move(300, 150);
  EXPECT_EQ(ui.Entry({"File"})->children, 6);  // the same generation: nothing to do
  generation = 2;
  ui.Move(300, 150);
  EXPECT_EQ(Labels(ui.Entry({"File"})), (std::vector<std::string>{"Open...", "Recover...", "Exit"}));
}

}  // namespace
