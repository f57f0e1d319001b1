#include "shell/base/close_request.h"

#include <atomic>

#include "platform/messages.h"

namespace {

bool (*close_gate)() = nullptr;
// The gate has let a close through: the program is on its way out, and a key still held must not
// ask again before it gets there.
bool close_granted = false;
std::atomic<bool (*)()> signal_pending{nullptr};
bool (*signal_keep)() = nullptr;
std::atomic<bool> window_close_requested{false};
std::atomic<bool> signal_close_handed{false};

}  // namespace

void SetCloseGate(bool (*gate)()) {
  close_gate = gate;
  close_granted = false;
}

void SetSignalCloseHooks(bool (*pending)(), bool (*keep)()) {
  signal_keep = keep;
  signal_pending = pending;
}

bool RequestProgramClose() {
  if (!close_granted && close_gate != nullptr && !close_gate()) return false;
  close_granted = close_gate != nullptr;
  PlatformPostMessage(PLATFORM_MSG_CLOSE);
  return true;
}

void RequestProgramCloseFromAnyThread() { window_close_requested = true; }

bool HandSignalCloseToWorker() {
  bool (*pending)() = signal_pending.load();
  if (pending == nullptr || !pending()) return false;
  signal_close_handed = true;
  return true;
}

void TakeCloseRequests() {
  if (signal_close_handed.exchange(false)) {
    const bool kept = signal_keep == nullptr || signal_keep();
    PlatformPostMessage(PLATFORM_MSG_CLOSE, kept ? kCloseWorkKept : kCloseWorkLost);
    return;
  }
  if (window_close_requested.exchange(false)) RequestProgramClose();
}
