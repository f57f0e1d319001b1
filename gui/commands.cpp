#include "gui/commands.h"

#include <utility>

#include "gui/shortcut_text.h"
#include "platform/system_sound.h"
#include "platform/allegro_include.h"

namespace {

bool KeyDown(int scancode) { return scancode > 0 && scancode < KEY_MAX && key[scancode] != 0; }

unsigned HeldMods() {
  unsigned mods = kModNone;
  if (KeyDown(KEY_LCONTROL) || KeyDown(KEY_RCONTROL)) mods |= kModCtrl;
  if (KeyDown(KEY_LSHIFT) || KeyDown(KEY_RSHIFT)) mods |= kModShift;
  if (KeyDown(KEY_ALT) || KeyDown(KEY_ALTGR)) mods |= kModAlt;
  return mods;
}

}  // namespace

CommandTable& Commands() { return Installed<CommandTable>::Current(); }

void RegisterCommand(CommandId id, CommandHandler handler) { Commands().handlers[id] = std::move(handler); }

void RegisterCommandGreyed(CommandId id, std::function<bool()> greyed) { Commands().greyed[id] = std::move(greyed); }

bool CommandGreyed(CommandId id) {
  const auto& greyed = Commands().greyed;
  const auto found = greyed.find(id);
  return found != greyed.end() && found->second && found->second();
}

void RegisterShortcut(CommandId id, int scancode, unsigned mods) {
  Commands().shortcuts.push_back({id, scancode, mods, KeyDown(scancode)});
}

std::string ShortcutText(CommandId id) {
  for (const CommandTable::Shortcut& s : Commands().shortcuts) {
    if (s.id == id) return ShortcutLabel(s.scancode, s.mods);
  }
  return "";
}

const CommandHandler* FindCommand(CommandId id) {
  auto& handlers = Commands().handlers;
  auto found = handlers.find(id);
  return found != handlers.end() && found->second.run ? &found->second : nullptr;
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
  for (CommandTable::Shortcut& s : Commands().shortcuts) {
    const bool down = KeyDown(s.scancode);
    if (down && !s.was_down && !menu_open && held == s.mods) due.push_back(s.id);
    s.was_down = down;
  }
  for (CommandId id : due) {
    if (CommandAvailable(id)) AppMenuExecuteItem(id, false);
  }
}
