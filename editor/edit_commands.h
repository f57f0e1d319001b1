#pragma once

// The level editor's built-in tools and the Edit menu's commands on a tool's
// selection, as registered commands.

// Registers the Tile Map, Objects and Banana Map tools (kCmdModifyTileMap,
// kCmdModifyObjects, kCmdModifyBananaMap of gui/command_ids.h;
// Ctrl+1, 3, 5), the Modify entries the program cannot edit (never available),
// and the Edit menu's commands with their shortcuts.
void RegisterEditCommands();

// The Edit menu's commands on the current tool's selection; false when they
// cannot act. Paste puts the clipboard's top-left at the level point under the
// mouse, or at the middle of the view when the mouse is elsewhere.
bool EditCut();
bool EditCopy();
bool EditPaste();
bool EditDuplicate();
bool EditDelete();
bool EditSelectAll();
