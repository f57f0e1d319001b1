#include "gui/commands.h"

#include "rom/AppMenu.h"
#include "rom/command_fallback.h"
#include "shell/base/include.h"

// The table is used by the worker thread's GUI and filled by the start-up before
// the worker runs (or by tests on their own thread), so it needs no lock.

namespace {

struct ShortcutState {
  CommandTableSnapshot::Shortcut shortcut;
  bool was_down;  // the key was down at the last look
};

std::map<unsigned short, CommandHandler>& Handlers() {
  static std::map<unsigned short, CommandHandler> handlers;
  return handlers;
}

std::vector<ShortcutState>& Shortcuts() {
  static std::vector<ShortcutState> shortcuts;
  return shortcuts;
}

bool BuiltIn(unsigned short id) { return id == 0x0000 || id == 0xF000 || id == 0xFFFF; }

bool KeyDown(int scancode) { return scancode > 0 && scancode < KEY_MAX && key[scancode] != 0; }

unsigned HeldMods() {
  unsigned mods = kModNone;
  if (KeyDown(KEY_LCONTROL) || KeyDown(KEY_RCONTROL)) mods |= kModCtrl;
  if (KeyDown(KEY_LSHIFT) || KeyDown(KEY_RSHIFT)) mods |= kModShift;
  if (KeyDown(KEY_ALT) || KeyDown(KEY_ALTGR)) mods |= kModAlt;
  return mods;
}

}  // namespace

void RegisterCommand(unsigned short id, CommandHandler handler) {
  Handlers()[id] = handler;
  // The dispatcher lives below the GUI; it reaches the table through this hook.
  SetCommandFallback(&RunRegisteredCommand);
}

void RegisterShortcut(unsigned short id, int scancode, unsigned mods) {
  Shortcuts().push_back({{id, scancode, mods}, KeyDown(scancode)});
}

const CommandHandler* FindCommand(unsigned short id) {
  auto found = Handlers().find(id);
  return found != Handlers().end() && found->second.run != nullptr ? &found->second : nullptr;
}

bool CommandAvailable(unsigned short id) {
  if (BuiltIn(id)) return true;
  const CommandHandler* handler = FindCommand(id);
  return handler != nullptr && (handler->available == nullptr || handler->available());
}

bool RunRegisteredCommand(unsigned short id) {
  if (BuiltIn(id) || !CommandAvailable(id)) return false;
  FindCommand(id)->run();
  return true;
}

void DispatchShortcuts(bool menu_open) {
  const unsigned held = HeldMods();
  // Collect first: a command may register shortcuts of its own and so move the vector.
  std::vector<unsigned short> due;
  for (ShortcutState& s : Shortcuts()) {
    const bool down = KeyDown(s.shortcut.scancode);
    if (down && !s.was_down && !menu_open && held == s.shortcut.mods) due.push_back(s.shortcut.id);
    s.was_down = down;
  }
  for (unsigned short id : due) {
    if (CommandAvailable(id)) AppMenuExecuteItem(id, false);
  }
}

CommandTableSnapshot SnapshotCommands() {
  CommandTableSnapshot snapshot;
  snapshot.handlers = Handlers();
  for (const ShortcutState& s : Shortcuts()) snapshot.shortcuts.push_back(s.shortcut);
  return snapshot;
}

void RestoreCommands(const CommandTableSnapshot& snapshot) {
  Handlers() = snapshot.handlers;
  Shortcuts().clear();
  for (const CommandTableSnapshot::Shortcut& s : snapshot.shortcuts) Shortcuts().push_back({s, KeyDown(s.scancode)});
  SetCommandFallback(Handlers().empty() ? nullptr : &RunRegisteredCommand);
}
