#pragma once

#include <map>
#include <vector>

// The command table: what each menu entry and tool button number does, whether it
// can be chosen now, and the keyboard shortcuts that reach it. Features register
// here from the application's registration point; the menu bar, the toolbar and
// the dispatcher (AppMenuExecuteItem) look the numbers up. A number nobody
// registered is unavailable, so nothing looks clickable that does nothing.

struct CommandHandler {
  void (*run)();        // carries out the command
  bool (*available)();  // nullptr: always available while registered
  bool (*checked)();    // nullptr: no check state; else the menu entry's check mark follows it
};

// Registers (or replaces) the handler of menu/toolbar command `id`.
void RegisterCommand(unsigned short id, CommandHandler handler);

// Modifier keys of a shortcut; they must match exactly (Ctrl+L is not Ctrl+Shift+L).
enum ShortcutMods : unsigned { kModNone = 0, kModCtrl = 1, kModShift = 2, kModAlt = 4 };

// Adds a keyboard shortcut for `id`: an Allegro KEY_* scancode with modifier flags.
void RegisterShortcut(unsigned short id, int scancode, unsigned mods);

// The registered handler of `id`, or nullptr.
const CommandHandler* FindCommand(unsigned short id);

// Whether `id` can be chosen now (built-ins Open/About/Exit, or registered and available()).
bool CommandAvailable(unsigned short id);

// Runs the registered handler of `id` when it is available; false when nothing ran
// (the built-ins are the dispatcher's own and are not run here).
bool RunRegisteredCommand(unsigned short id);

// Runs, through AppMenuExecuteItem (no sound), the available command of every
// registered shortcut whose key went down since the last call with exactly its
// modifiers held: one run per key press, however long the key is held. While
// `menu_open` the keys are only watched. A key held when its shortcut is
// registered fires when pressed again. Called once per logic update by the GUI root.
void DispatchShortcuts(bool menu_open);

// Everything registered (handlers and shortcuts), so that tests can change the
// table and put it back.
struct CommandTableSnapshot {
  std::map<unsigned short, CommandHandler> handlers;
  struct Shortcut {
    unsigned short id;
    int scancode;
    unsigned mods;
  };
  std::vector<Shortcut> shortcuts;
};
CommandTableSnapshot SnapshotCommands();
void RestoreCommands(const CommandTableSnapshot& snapshot);
