#include "gui/mode_table.h"

#include <map>

#include "shell/base/variables.h"

namespace {

// Filled by the application before the main loop starts and read only by the
// worker's main loop afterwards, so it needs no lock.
std::map<Mode, ModeFunction>& Modes() {
  static std::map<Mode, ModeFunction> modes;
  return modes;
}

}  // namespace

void RegisterMode(Mode mode, ModeFunction f) {
  if (f == nullptr) {
    Modes().erase(mode);
    return;
  }
  Modes()[mode] = f;
}

ModeFunction FindModeFunction(Mode mode) {
  const auto found = Modes().find(mode);
  return found != Modes().end() ? found->second : nullptr;
}

Mode CurrentMode() { return static_cast<Mode>(ENGINE_STATE.load()); }

void RequestMode(Mode mode) {
  // The mode first: the main loop reads it once the current mode's passes end on STATEOVER.
  ENGINE_STATE = static_cast<uint32_t>(mode);
  STATEOVER = true;
}
