#include "gui/mode_table.h"

#include <map>

namespace {

// Filled by the application before the main loop starts and read only by the
// worker's main loop afterwards, so it needs no lock.
std::map<uint32_t, ModeFunction>& Modes() {
  static std::map<uint32_t, ModeFunction> modes;
  return modes;
}

}  // namespace

void RegisterMode(uint32_t id, ModeFunction f) {
  if (f == nullptr) {
    Modes().erase(id);
    return;
  }
  Modes()[id] = f;
}

ModeFunction FindModeFunction(uint32_t id) {
  const auto found = Modes().find(id);
  return found != Modes().end() ? found->second : nullptr;
}
