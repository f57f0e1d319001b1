#pragma once

#include <string>

// How a keyboard shortcut reads in a menu: the held modifiers, then the key's
// name ("Ctrl+S", "Ctrl+Shift+Z", "F5", "G", "Del"). `scancode` is an Allegro
// KEY_* code and `mods` the ShortcutMods flags of gui/commands.h; a key without
// a name here gives "".
std::string ShortcutLabel(int scancode, unsigned mods);
