#include "gui/commands.h"

#include <utility>

#include "gui/shortcut_text.h"
#include "platform/system_sound.h"
#include "platform/allegro_include.h"

// The table is used by the worker thread's GUI and filled by the start-up before
// the worker runs (or by tests on their own thread), so it needs no lock.

namespace {

struct ShortcutState {
  CommandTableSnapshot::Shortcut shortcut;
  bool was_down;  // the key was down at the last look
};

std::map<CommandId, CommandHandler>& Handlers() {
  static std::map<CommandId, CommandHandler> handlers;
  return handlers;
}

std::map<CommandId, std::function<bool()>>& Greyed() {
  static std::map<CommandId, std::function<bool()>> greyed;
  return greyed;
}

std::vector<ShortcutState>& Shortcuts() {
  static std::vector<ShortcutState> shortcuts;
  return shortcuts;
}

bool KeyDown(int scancode) { return scancode > 0 && scancode < KEY_MAX && key[scancode] != 0; }

unsigned HeldMods() {
  unsigned mods = kModNone;
  if (KeyDown(KEY_LCONTROL) || KeyDown(KEY_RCONTROL)) mods |= kModCtrl;
  if (KeyDown(KEY_LSHIFT) || KeyDown(KEY_RSHIFT)) mods |= kModShift;
  if (KeyDown(KEY_ALT) || KeyDown(KEY_ALTGR)) mods |= kModAlt;
  return mods;
}

}  // namespace

void RegisterCommand(CommandId id, CommandHandler handler) { Handlers()[id] = std::move(handler); }

void RegisterCommandGreyed(CommandId id, std::function<bool()> greyed) { Greyed()[id] = std::move(greyed); }

bool CommandGreyed(CommandId id) {
  const auto found = Greyed().find(id);
  return found != Greyed().end() && found->second && found->second();
}

void RegisterShortcut(CommandId id, int scancode, unsigned mods) {
  Shortcuts().push_back({{id, scancode, mods}, KeyDown(scancode)});
}

std::string ShortcutText(CommandId id) {
  for (const ShortcutState& s : Shortcuts()) {
    if (s.shortcut.id == id) return ShortcutLabel(s.shortcut.scancode, s.shortcut.mods);
  }
  return "";
}

const CommandHandler* FindCommand(CommandId id) {
  auto found = Handlers().find(id);
  return found != Handlers().end() && found->second.run ? &found->second : nullptr;
}

bool CommandAvailable(CommandId id) {
  const CommandHandler* handler = FindCommand(id);
  return handler != nullptr && (!handler->available || handler->available());
}

bool RunRegisteredCommand(CommandId id) {
  if (!CommandAvailable(id)) return false;
  // A copy: the command may register commands of its own, replacing this entry.
  const std::function<void()> run = FindCommand(id)->run;
  run();
  return true;
}

void AppMenuExecuteItem(CommandId id, bool sound) {
  if (sound) PlaySystemSound("MenuCommand", id == kCmdExit);
  RunRegisteredCommand(id);
}

void DispatchShortcuts(bool menu_open) {
  const unsigned held = HeldMods();
  // Collect first: a command may register shortcuts of its own and so move the vector.
  std::vector<CommandId> due;
  for (ShortcutState& s : Shortcuts()) {
    const bool down = KeyDown(s.shortcut.scancode);
    if (down && !s.was_down && !menu_open && held == s.shortcut.mods) due.push_back(s.shortcut.id);
    s.was_down = down;
  }
  for (CommandId id : due) {
    if (CommandAvailable(id)) AppMenuExecuteItem(id, false);
  }
}

CommandTableSnapshot SnapshotCommands() {
  CommandTableSnapshot snapshot;
  snapshot.handlers = Handlers();
  snapshot.greyed = Greyed();
  for (const ShortcutState& s : Shortcuts()) snapshot.shortcuts.push_back(s.shortcut);
  return snapshot;
}

void RestoreCommands(const CommandTableSnapshot& snapshot) {
  Handlers() = snapshot.handlers;
  Greyed() = snapshot.greyed;
  Shortcuts().clear();
  for (const CommandTableSnapshot::Shortcut& s : snapshot.shortcuts) Shortcuts().push_back({s, KeyDown(s.scancode)});
}
