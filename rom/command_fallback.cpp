#include "rom/command_fallback.h"

#include <atomic>

namespace {
std::atomic<CommandFallback> installed{nullptr};
}

void SetCommandFallback(CommandFallback fallback) { installed = fallback; }

bool RunCommandFallback(unsigned short id) {
  CommandFallback fallback = installed.load();
  return fallback != nullptr && fallback(id);
}
