#include "gui/MenuLoad.h"

#include <cstring>
#include <utility>
#include <vector>

#include "shell/base/functions.h"

// Descriptions are single lines; the literals below are split only for reading.
// Elements are separated by runs of blanks, which every reader skips.
// A '%' in a File menu is where the recent images go (RegisterMenuInsert).
const char* const AppMenuL[3] = {
    // Start-up screen.
    "[    [+Y--'File'        [$0000 Y 10 - - 'Open...']        [$0008 Y -- - - 'Recover...']        %"
    "        [$FFFF Y 01 - - 'Exit']    ]"
    "    [>Y--'Help'        [$F000 Y -- - - 'About QBRRE...']        [$F001 N -- - - 'Documentation...']"
    "        [$F002 N -- - - 'QBR Offset Library...']        [$F003 N -- - - 'Known Issues...']    ]]",
    // Level editor.
    "[    [+Y--'File'        [$0000 Y 10 - - 'Open...']        [$0006 Y -- - - 'Open Patch...']"
    "        [$0001 Y 11 - - 'Save']        [$0002 Y -- - - 'Save As...']        [$0003 Y 12 - - 'Save IPS...']"
    "        [$0007 Y -- - - 'Save BPS...']        [$0008 Y -- - - 'Recover...']        [-]"
    "        [$0004 Y 13 - - 'Launch Game']        [$0005 Y 14 - - 'Launch Level']        %        [-]"
    "        [$FFFF Y 01 - - 'Exit']    ]"
    "    [+Y--'Edit'        [$0100 Y 08 - - 'Undo']        [$0101 Y 09 - - 'Redo']        [-]"
    "        [$0102 Y 0A - - 'Cut']        [$0103 Y 0B - - 'Copy']        [$0104 Y 0C - - 'Paste']"
    "        [$0105 Y 0D - - 'Duplicate']        [$0106 Y 0E - - 'Delete']        [-]"
    "        [$0107 Y 0F - -'Select All']    ]"
    "    [+Y--'Level'        [$0200 Y 15 - - 'Select Level...']        [-]"
    "        [+Y -- 'Modify'            [$0201 Y -- Y 066 'Tile Map']            [$0202 Y -- N 066 'Enemies']"
    "            [$0203 Y -- N 066 'Objects']            [$0204 Y -- N 066 'Collectibles']"
    "            [$0205 Y -- N 066 'Banana Map']            [$0206 Y -- N 066 'Focus Points']        ]"
    "        [$0207 Y 1C - - 'Start Points...']        [$0208 Y 1D - - 'Sounds/Music...']"
    "        [$0209 Y 1E - - 'Settings...']        [-]        [$020A Y 1F - - 'Nuke This Level']        [-]"
    "        [$020B Y 20 - - 'Nuke ALL Levels']    ]"
    "    [+Y--'View'        [$0300 Y -- N - 'Background(s)']        [$0301 Y -- Y - 'Tiles']"
    "        [$0302 Y -- N - 'Foreground(s)']        [-]        [$0303 Y -- Y - 'Enemies']"
    "        [$0304 Y -- Y - 'Objects']        [$0305 Y -- N - 'Hidden Caches']"
    "        [$0306 Y -- Y - 'Collectibles']        [$0307 Y -- Y - 'Bananas']"
    "        [$0308 Y -- N - 'Focus Points']        [-]        [$0309 Y -- Y - 'Level Entrance/Exit']"
    "        [$030A Y -- Y - 'Bonus Entrances/Exits']        [-]        [$030B Y -- Y - 'Grid']    ]"
    "    [>Y--'Mode'        [$FF00 N 02 - - 'Level Editor']        [$FF01 Y 03 - - 'Extraction']"
    "        [$FF02 Y 04 - - 'Sprite Viewer']        [$FF03 Y 05 - - 'Palette Editor']"
    "        [$FF04 Y 06 - - 'Physmap Editor']        [$FF05 Y 07 - - 'Hex Editor']    ]"
    "    [>Y--'Help'        [$F000 Y -- - - 'About QBRRE...']        [$F001 N -- - - 'Documentation...']"
    "        [$F002 N -- - - 'QBR Offset Library...']        [$F003 N -- - - 'Known Issues...']    ]]",
    // Extraction.
    "[    [+Y--'File'        [$0000 Y 10 - - 'Open...']        [$0008 Y -- - - 'Recover...']        %"
    "        [$FFFF Y 01 - - 'Exit']    ]"
    "    [+Y--'Graphics'        [$5100 Y -- - -'Level Terrains']        [$5101 Y -- - -'Backgrounds']"
    "        [$5102 Y -- - -'Tile Sets']        [$5103 Y -- - -'Foregrounds']        [$5104 Y -- - -'Animations']"
    "        [$5105 Y -- - -'Sprites']    ]"
    "    [+Y--'Binary'        [$5200 Y -- - -'8x8 Tiles']        [$5201 Y -- - -'Tile Sets']"
    "        [$5202 Y -- - -'Tile Maps']        [$5203 Y -- - -'Backgrounds']        [$5204 Y -- - -'PhysMaps']"
    "        [$5205 Y -- - -'Sprites']        [$5206 Y -- - -'Palletes']    ]"
    "    [+Y--'Import'        [$5300 Y -- - -'Folder...']        [-]        [$5301 Y -- - -'8x8 Tiles...']"
    "        [$5302 Y -- - -'Tile Sets...']        [$5303 Y -- - -'Tile Maps...']        [$5304 Y -- - -'Palettes...']    ]"
    "    [>Y--'Mode'        [$FF00 Y 02 - - 'Level Editor']        [$FF01 N 03 - - 'Extraction']"
    "        [$FF02 Y 04 - - 'Sprite Viewer']        [$FF03 Y 05 - - 'Palette Editor']"
    "        [$FF04 Y 06 - - 'Physmap Editor']        [$FF05 Y 07 - - 'Hex Editor']    ]"
    "    [>Y--'Help'        [$F000 Y -- - - 'About QBRRE...']        [$F001 N -- - - 'Documentation...']"
    "        [$F002 N -- - - 'QBR Offset Library...']        [$F003 N -- - - 'Known Issues...']    ]]",
};

const char* const AppToolL[3] = {
    // Start-up screen: "Open", then fifty separators that push the mode buttons
    // to the right end of the 520-pixel window.
    "[    [$0000 Y 10 - - 'Open']"
    "    [-][-][-][-][-][-][-][-][-][-]    [-][-][-][-][-][-][-][-][-][-]    [-][-][-][-][-][-][-][-][-][-]"
    "    [-][-][-][-][-][-][-][-][-][-]    [-][-][-][-][-][-][-][-][-][-]"
    "    [$FE00 S 02 Y 160 'Level Editor']    [$FE01 Y 03 Y 160 'Extraction']"
    "    [$FE02 Y 04 Y 160 'Sprite Viewer']    [$FE03 Y 05 Y 160 'Palette Editor']"
    "    [$FE04 Y 06 Y 160 'Physmap Editor']    [$FE05 Y 07 Y 160 'Hex Editor']]",
    // Level editor.
    "[    [$0000 Y 10 - - 'Open']    [$0001 Y 11 - - 'Save']    [$0003 Y 12 - - 'Save IPS']    [-][-]"
    "    [$0004 Y 13 - - 'Launch Game']    [$0005 Y 14 - - 'Launch Level']    [-][-]"
    "    [$0200 Y 15 - - 'Select Level...']    [-][-]"
    "    [$0201 S 16 Y 660 'Modify Tile Sets']    [$0202 Y 17 Y 660 'Modify Enemies']"
    "    [$0203 Y 18 Y 660 'Modify Objects']    [$0204 Y 19 Y 660 'Modify Collectibles']"
    "    [$0205 Y 1A Y 660 'Modify Bananas']    [$0206 Y 1B Y 660 'Modify Focus Points']    [-][-]"
    "    [$0207 Y 1C - - 'Start Points...']    [$0208 Y 1D - - 'Sounds/Music...']"
    "    [$0209 Y 1E - - 'Settings...']    [-][-][-]    [$020A Y 1F - - 'NUKE This Level']]",
    // Extraction.
    "[]",
};

unsigned long menuchar = 0;

namespace {

struct MenuInsert {
  std::function<std::string()> text;
  std::function<unsigned()> generation;
};

MenuInsert& Insert() {
  static MenuInsert insert;
  return insert;
}

// `text` with each '%' outside its texts (which run between apostrophes) replaced by `insert`.
std::string Expanded(const char* text, const std::string& insert) {
  std::string out;
  bool in_text = false;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c == '\'') in_text = !in_text;
    if (*c == '%' && !in_text) {
      out += insert;
    } else {
      out += *c;
    }
  }
  return out;
}

struct ModeDescriptions {
  Mode mode;
  const char* menu;
  const char* toolbar;
};

std::vector<ModeDescriptions>& Registered() {
  static std::vector<ModeDescriptions> registered;
  return registered;
}

// The description of the current mode; an unknown mode reads as an empty text.
const char* DescriptionText(MenuTable table) {
  const uint32_t mode = static_cast<uint32_t>(CurrentMode());
  if (mode >= 3 && (table == AppMenuL || table == AppToolL)) {
    for (const ModeDescriptions& d : Registered()) {
      if (static_cast<uint32_t>(d.mode) != mode) continue;
      const char* text = table == AppMenuL ? d.menu : d.toolbar;
      return text ? text : "";
    }
    return "";
  }
  if (table == nullptr || mode >= 3 || table[mode] == nullptr) return "";
  return table[mode];
}

// The description as the readers see it: with the registered entries in place of
// its '%', put together again as each parse starts (position 0).
const char* CurrentText(MenuTable table) {
  const char* text = DescriptionText(table);
  if (!Insert().text || std::strchr(text, '%') == nullptr) return text;
  static std::string expanded;
  static const char* expanded_from = nullptr;
  if (menuchar == 0 || expanded_from != text) {
    expanded = Expanded(text, Insert().text());
    expanded_from = text;
  }
  return expanded.c_str();
}

// Next character, or '\0' at the end of the text (the position then stays).
char ReadRaw(MenuTable table) {
  const char* text = CurrentText(table);
  if (menuchar >= std::strlen(text)) return '\0';
  return text[menuchar++];
}

// Next character that is not a blank.
char ReadSkippingBlanks(MenuTable table) {
  char c = ReadRaw(table);
  while (c == ' ') c = ReadRaw(table);
  return c;
}

// `count` characters, the first after any blanks; missing characters at the end
// of the text are left out.
std::string ReadField(MenuTable table, int count) {
  std::string field;
  char c = ReadSkippingBlanks(table);
  for (int i = 0; i < count && c != '\0'; ++i) {
    field += c;
    if (i + 1 < count) c = ReadRaw(table);
  }
  return field;
}

int HexValue(const std::string& digits) { return hexstr2int(digits.c_str(), static_cast<int>(digits.size())); }

}  // namespace

void RegisterMenuInsert(std::function<std::string()> text, std::function<unsigned()> generation) {
  Insert() = {std::move(text), std::move(generation)};
}

unsigned MenuInsertGeneration() { return Insert().generation ? Insert().generation() : 0; }

void RegisterModeDescriptions(Mode mode, const char* menu, const char* toolbar) {
  for (ModeDescriptions& d : Registered()) {
    if (d.mode != mode) continue;
    d.menu = menu;
    d.toolbar = toolbar;
    return;
  }
  Registered().push_back({mode, menu, toolbar});
}

int RM_FormatChar(MenuTable table) {
  switch (ReadSkippingBlanks(table)) {
    case '[': return 1;
    case ']':
    case '\0': return 2;
    case '%': return 3;
    default: return 0;
  }
}

int RM_ItemTypeChar(MenuTable table) {
  switch (ReadSkippingBlanks(table)) {
    case '+': return 1;
    case '>': return 2;
    case '$': return 3;
    case '-': return 4;
    default: return 0;
  }
}

int RM_ItemEnabled(MenuTable table) {
  switch (ReadSkippingBlanks(table)) {
    case 'Y': return 1;
    case 'S': return 3;
    case 'X': return 4;
    case '-': return 65535;
    default: return 0;
  }
}

int RM_ItemNumber(MenuTable table) { return HexValue(ReadField(table, 4)) & 0xFFFF; }

int RM_IconNumber(MenuTable table) {
  // A field cut short by the end of the text gives no icon.
  const std::string digits = ReadField(table, 2);
  return digits == "--" || digits.size() < 2 ? 65535 : HexValue(digits);
}

int RM_CheckGroup(MenuTable table) {
  const char first = ReadSkippingBlanks(table);
  if (first == '-' || first == '\0') return 0;
  std::string digits(1, first);
  for (int i = 0; i < 2; ++i) {
    const char c = ReadRaw(table);
    if (c == '\0') break;
    digits += c;
  }
  return HexValue(digits);
}

std::string RM_ItemString(MenuTable table, int& width) {
  std::string text;
  if (ReadSkippingBlanks(table) != '\0') {
    for (char c = ReadRaw(table); c != '\'' && c != '\0'; c = ReadRaw(table)) text += c;
  }
  width = helio_stringlength(text);
  return text;
}
