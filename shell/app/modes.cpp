#include "shell/app/modes.h"

namespace {

struct ModeEntry {
  uint32_t id;
  ModeFunction function;
};

const ModeEntry mode_table[] = {
    {0, STARTUP_SCREEN_SUBFUNCTION},
    {1, QBR1_LEVEL_EDITOR_SUBFUNCTION},
};

}  // namespace

ModeFunction FindModeFunction(uint32_t id) {
  for (const ModeEntry& entry : mode_table)
    if (entry.id == id) return entry.function;
  return nullptr;
}
