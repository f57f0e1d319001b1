#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "gui/command_ids.h"
#include "shell/base/installed.h"

// The command table: what each menu entry and tool button number does, whether it
// can be chosen now, and the keyboard shortcuts that reach it. Every command,
// Open, About and Exit included, is registered here from the application's
// registration point; the menu bar, the toolbar, the shortcuts and the
// dispatcher (AppMenuExecuteItem) look the numbers up. A number nobody
// registered is unavailable, so nothing looks clickable that does nothing.
// The table is an instance the program object holds and installs (a test
// installs a fresh one); the functions below act on the one in force.

// A handler's parts are small callables: a plain function, or a lambda that
// carries its own context, so that one handler body serves a family of entries.
struct CommandHandler {
  std::function<void()> run;        // carries out the command
  std::function<bool()> available;  // empty: always available while registered
  std::function<bool()> checked;    // empty: no check state; else the menu entry's check mark follows it
};

// Modifier keys of a shortcut; they must match exactly (Ctrl+L is not Ctrl+Shift+L).
enum ShortcutMods : unsigned { kModNone = 0, kModCtrl = 1, kModShift = 2, kModAlt = 4 };

// Everything registered: handlers, greyed looks and shortcuts (with whether each
// key was down at the last look). Used by the worker thread's GUI and filled by
// the start-up on that thread (or by tests on their own), so it needs no lock.
struct CommandTable {
  static constexpr const char* kInstalledName = "the command table";
  struct Shortcut {
    CommandId id;
    int scancode;
    unsigned mods;
    bool was_down;
  };
  std::map<CommandId, CommandHandler> handlers;
  std::map<CommandId, std::function<bool()>> greyed;
  std::vector<Shortcut> shortcuts;
};

// The command table in force (Installed<CommandTable>).
CommandTable& Commands();

// Registers (or replaces) the handler of menu/toolbar command `id`.
void RegisterCommand(CommandId id, CommandHandler handler);

// Registers (or replaces) when the entries of `id` are drawn in the disabled
// look while they stay choosable: `greyed` says so now (a recent image whose
// file is gone; choosing it says what happened).
void RegisterCommandGreyed(CommandId id, std::function<bool()> greyed);

// Whether the entries of `id` are drawn greyed now (RegisterCommandGreyed).
bool CommandGreyed(CommandId id);

// Adds a keyboard shortcut for `id`: an Allegro KEY_* scancode with modifier flags.
void RegisterShortcut(CommandId id, int scancode, unsigned mods);

// The first shortcut registered for `id` as a menu entry shows it ("Ctrl+S",
// ShortcutLabel in gui/shortcut_text.h); "" when it has none.
std::string ShortcutText(CommandId id);

// The registered handler of `id`, or nullptr.
const CommandHandler* FindCommand(CommandId id);

// Whether `id` can be chosen now: registered, and available() says yes.
bool CommandAvailable(CommandId id);

// Runs the registered handler of `id` when it is available; false when nothing ran.
bool RunRegisteredCommand(CommandId id);

// The dispatcher of every menu entry, tool button and shortcut: `sound` plays
// the command sound first (menus pass true, toolbar buttons, shortcuts and the
// start-up screen false; for Exit it plays to its end), then the command of `id`
// runs when it is available. Any other number does nothing more.
void AppMenuExecuteItem(CommandId id, bool sound);

// Runs, through AppMenuExecuteItem (no sound), the available command of every
// registered shortcut whose key went down since the last call with exactly its
// modifiers held: one run per key press, however long the key is held. While
// `menu_open` (the menu bar took this update's keys) the keys are only watched. A key held when its shortcut is
// registered fires when pressed again. Called once per logic update by the GUI root.
void DispatchShortcuts(bool menu_open);

