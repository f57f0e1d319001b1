#include "platform/allegro_include.h"

#include "platform/background_thread.h"

#include <xalleg.h>

#include "platform/background_calls.h"
#include "platform/x_lock.h"

namespace {

BackgroundCalls& Calls() {
  static BackgroundCalls calls;
  return calls;
}

// Whether the X input reader is known; the display is opened anew with every start.
bool input_seen = false;

int Init() {
  input_seen = false;
  return Calls().Start() ? 0 : -1;
}

void Exit() { Calls().Stop(); }

int Register(bg_func f) {
  // The X system driver registers its input reader right after it opened the
  // display; what is registered later (a sound driver's mixer) wants steady calls.
  if (!input_seen && _xwin.display != nullptr) {
    input_seen = true;
    Calls().WatchInput(f, ConnectionNumber(_xwin.display), XInputQueued);
  }
  return Calls().Register(f);
}

int Unregister(bg_func f) { return Calls().Unregister(f); }

void EnableInterrupts() { Calls().Enable(); }

void DisableInterrupts() { Calls().Disable(); }

int InterruptsDisabled() { return Calls().Disabled() ? 1 : 0; }

}  // namespace

void PlatformUseQuietBackgroundThread() {
  // The X system driver starts the manager it finds here, the one of the threaded build.
  _bg_man_pthreads = {1, Init, Exit, Register, Unregister, EnableInterrupts, DisableInterrupts, InterruptsDisabled};
}

void PlatformWakeBackgroundThread() { Calls().Wake(); }
