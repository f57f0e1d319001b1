#include "shell/app/mode_switch.h"

#include "bfa/bfa.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "shell/base/variables.h"

uint32_t StartupModeChoice = 1;

namespace {

// Engine state of each entry; the physmap editor has none.
constexpr int kEntryMode[kModeEntries] = {1, 2, 3, 4, -1, 5};

}  // namespace

int ModeOfCommand(unsigned short id) {
  for (CommandId first : {kCmdModeMenuFirst, kCmdStartupModeFirst})
    if (id >= first && id < first + kModeEntries) return kEntryMode[id - first];
  return -1;
}

bool ModeRegistered(int mode) { return mode >= 0 && FindModeFunction(static_cast<uint32_t>(mode)) != nullptr; }

bool ImageIsOpen() { return !QBR1.empty(); }

bool SwitchToMode(int mode) {
  if (!ModeRegistered(mode) || !ImageIsOpen() || static_cast<uint32_t>(mode) == ENGINE_STATE.load()) return false;
  ENGINE_STATE = static_cast<uint32_t>(mode);
  STATEOVER = true;
  return true;
}

void ChooseStartupMode(int mode) {
  if (!ModeRegistered(mode)) return;
  if (ImageIsOpen()) SwitchToMode(mode);
  else StartupModeChoice = static_cast<uint32_t>(mode);
}

uint32_t ModeAfterStartupOpen() { return ModeRegistered(static_cast<int>(StartupModeChoice)) ? StartupModeChoice : 1; }

void RegisterModeSwitchCommands() {
  // One handler per family; each entry carries its mode.
  for (int entry = 0; entry < kModeEntries; ++entry) {
    const int mode = kEntryMode[entry];
    RegisterCommand(static_cast<CommandId>(kCmdModeMenuFirst + entry),
                    {[mode] { SwitchToMode(mode); },
                     [mode] {
                       return ModeRegistered(mode) && ImageIsOpen() && static_cast<uint32_t>(mode) != ENGINE_STATE.load();
                     },
                     nullptr});
    RegisterCommand(static_cast<CommandId>(kCmdStartupModeFirst + entry),
                    {[mode] { ChooseStartupMode(mode); }, [mode] { return ModeRegistered(mode); }, nullptr});
  }
}
