#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "gui/mode_table.h"

// The menu description language: each menu bar and toolbar is one bracketed
// text, one per engine mode. The readers below share one read position and read
// from the entry of the current ENGINE_STATE; every reader first skips blanks.
// A reader never reads past the end of the text: at the end it reads nothing,
// and RM_FormatChar reports the end as a closing bracket, so every list ends.

// Menu bar descriptions, indexed by ENGINE_STATE (start-up, level editor, extraction).
extern const char* const AppMenuL[3];
// Toolbar descriptions, indexed by ENGINE_STATE.
extern const char* const AppToolL[3];

// Registers the menu bar and toolbar descriptions of `mode` (the sprite viewer
// and up; the first three modes have the built-in tables above). The readers take
// them in place of AppMenuL and AppToolL; the texts must outlive the program's GUI.
void RegisterModeDescriptions(Mode mode, const char* menu, const char* toolbar);

// Registers the entries that take the place of a '%' in a description (outside
// its texts): `text` gives them in the same language ("" for none) and is asked
// as each parse starts; `generation` changes whenever that text would. With
// nothing registered a '%' reads as nothing, as before. The File menus carry
// one, where the recent images go.
void RegisterMenuInsert(std::function<std::string()> text, std::function<unsigned()> generation);
// The registered generation of the inserted entries; 0 with none registered.
// The menu bar parses again at its next step when it changed since its parse.
unsigned MenuInsertGeneration();

// Read position (character index) in the description being parsed; 0 when a parse starts.
extern unsigned long menuchar;

// A table of three descriptions indexed by engine mode: AppMenuL, AppToolL, or a test's own.
typedef const char* const* MenuTable;

// One character: 1 for '[', 2 for ']' (and for the end of the text), 3 for '%', 0 otherwise.
int RM_FormatChar(MenuTable table);
// One character: 1 for '+', 2 for '>', 3 for '$', 4 for '-', 0 otherwise.
int RM_ItemTypeChar(MenuTable table);
// One state letter: 'Y' 1, 'S' 3, 'X' 4, '-' 65535, any other letter 0.
int RM_ItemEnabled(MenuTable table);
// Four hexadecimal digits: a 16-bit command number.
int RM_ItemNumber(MenuTable table);
// Two hexadecimal digits: an icon index; 65535 for "--".
int RM_IconNumber(MenuTable table);
// '-' gives 0; otherwise three hexadecimal digits: a group code.
int RM_CheckGroup(MenuTable table);
// A delimiter, then the text up to the next apostrophe (consumed). Returns the
// text; `width` = its width in the menu font.
std::string RM_ItemString(MenuTable table, int& width);
