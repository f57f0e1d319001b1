#include "shell/app/mode_switch.h"

#include <utility>

#include "bfa/bfa.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "shell/base/variables.h"

uint32_t StartupModeChoice = 1;

namespace {

constexpr unsigned short kModeMenuFirst = 0xFF00;
constexpr unsigned short kStartupToolbarFirst = 0xFE00;
constexpr int kEntries = 6;
// Engine state of each entry; the physmap editor has none.
constexpr int kEntryMode[kEntries] = {1, 2, 3, 4, -1, 5};

template <int Entry>
void RunModeMenuEntry() {
  SwitchToMode(kEntryMode[Entry]);
}

template <int Entry>
bool ModeMenuEntryAvailable() {
  const int mode = kEntryMode[Entry];
  return ModeRegistered(mode) && ImageIsOpen() && static_cast<uint32_t>(mode) != ENGINE_STATE.load();
}

template <int Entry>
void RunStartupButton() {
  ChooseStartupMode(kEntryMode[Entry]);
}

template <int Entry>
bool StartupButtonAvailable() {
  return ModeRegistered(kEntryMode[Entry]);
}

template <int... Entry>
void RegisterAll(std::integer_sequence<int, Entry...>) {
  (RegisterCommand(static_cast<unsigned short>(kModeMenuFirst + Entry),
                   {RunModeMenuEntry<Entry>, ModeMenuEntryAvailable<Entry>, nullptr}),
   ...);
  (RegisterCommand(static_cast<unsigned short>(kStartupToolbarFirst + Entry),
                   {RunStartupButton<Entry>, StartupButtonAvailable<Entry>, nullptr}),
   ...);
}

}  // namespace

int ModeOfCommand(unsigned short id) {
  for (unsigned short first : {kModeMenuFirst, kStartupToolbarFirst})
    if (id >= first && id < first + kEntries) return kEntryMode[id - first];
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

void RegisterModeSwitchCommands() { RegisterAll(std::make_integer_sequence<int, kEntries>{}); }
