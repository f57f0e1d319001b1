#pragma once

// Select Level... ($0200, its tool button, Ctrl+L): a list of every viewable
// level (id, name, archetype, size in tiles) in which the user picks one, or
// types an id (decimal or 0x hex). The pick switches the view as Page Up and
// Page Down do; an id that is out of range, hidden or not a number is refused
// with a message and nothing changes; cancelling changes nothing. The list's
// last row, "Other...", asks for the id in a one-line text box (a desktop list
// takes no typing; a scripted answer may be the id itself).
void RunLevelPicker();

// Registers the level picker's command and shortcut; available while the level
// editor runs. Called once from the application's registration point.
void RegisterLevelPicker();
