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

// The X input reader while it is registered; the display is opened anew with every start.
bg_func input_reader = nullptr;

int Init() {
  input_reader = nullptr;
  return Calls().Start() ? 0 : -1;
}

void Exit() { Calls().Stop(); }

int Register(bg_func f) {
  // The X system driver registers its input reader right after it opened the
  // display; what is registered later (a sound driver's mixer) wants steady calls.
  if (input_reader == nullptr && _xwin.display != nullptr) {
    input_reader = f;
    Calls().WatchInput(f, ConnectionNumber(_xwin.display), XInputQueued);
  }
  return Calls().Register(f);
}

int Unregister(bg_func f) {
  // The X system driver takes its reader out just before it closes the display.
  if (f == input_reader) input_reader = nullptr;
  return Calls().Unregister(f);
}

void EnableInterrupts() { Calls().Enable(); }

void DisableInterrupts() { Calls().Disable(); }

int InterruptsDisabled() { return Calls().Disabled() ? 1 : 0; }

}  // namespace

void PlatformUseQuietBackgroundThread() {
  // The X system driver starts the manager it finds here, the one of the threaded build.
  _bg_man_pthreads = {1, Init, Exit, Register, Unregister, EnableInterrupts, DisableInterrupts, InterruptsDisabled};
}

void PlatformWakeBackgroundThread() { Calls().Wake(); }

void PlatformSendDrawing() {
  if (input_reader == nullptr) return;
  XLock lock;
  if (_xwin.display != nullptr) XFlush(_xwin.display);
}
