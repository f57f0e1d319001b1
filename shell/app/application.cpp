#include "shell/app/application.h"

#include <atomic>
#include <cstdio>
#include <thread>

#include "gui/HelioWin.h"
#include "platform/crash.h"
#include "platform/display_loss.h"
#include "platform/messages.h"
#include "platform/signals.h"
#include "rom/autosave.h"
#include "rom/globaldata.h"
#include "rom/launch_game.h"
#include "shell/app/program.h"
#include "shell/base/close_request.h"
#include "shell/base/variables.h"

namespace {

std::atomic<int> exit_code{0};
bool closing = false;  // main thread only: a close is being handled

// Worker thread: everything the program does happens here.
void threadfunc() {
  InstallCrashSignalStack();
  {
    CProgram program;
    if (screen == nullptr) {
      // Without Allegro or a graphics mode there is nothing to run; end the process.
      exit_code = 1;
      readytoclose = true;
      PlatformPostMessage(PLATFORM_MSG_CLOSE);
      return;
    }
    // Allegro is in place: the close handlers replace the ones its start-up put on
    // SIGTERM and SIGINT. A close signal that waited through start-up is handled
    // here, and the GUI is then not built at all: the window is still invisible.
    TakeCloseSignals();
    // And the crash handlers replace Allegro's, which would shut it down under the running threads.
    ReclaimCrashSignals();
    if (!CloseSignalReceived()) {
      CHelioGUI gui;
      gui.WindowRunFunction();
    }
    mui = nullptr;
    readytoclose = true;
    PlatformPostMessage(PLATFORM_MSG_WAKE);
  }
}

}  // namespace

void WndProc(int message, int param) {
  switch (message) {
    case PLATFORM_MSG_CLOSE: {
      // Escape posts a close on every update while held; one handshake is enough.
      if (closing) return;
      // A signal's close waits while the worker keeps its unsaved work; the worker then posts the
      // close again, confirmed.
      const bool handed_back = param == kCloseConfirmed || param == kCloseWorkLost || param == kCloseWorkKept;
      if (!handed_back && CloseSignalReceived() && HandSignalCloseToWorker()) return;
      // Edits that no recovery copy holds are lost, and edits kept only in one are not saved: the exit
      // status says so.
      if (param == kCloseWorkLost) exit_code = 1;
      if (param == kCloseWorkKept) exit_code = 128 + CloseSignalNumber();
      closing = true;
      // GAMEOVER before STATEOVER: a worker that leaves its mode on STATEOVER must
      // already see GAMEOVER, or the dispatcher would clear STATEOVER and go on.
      GAMEOVER = true;
      STATEOVER = true;
      while (!readytoclose.load()) {
        PlatformMessage next;
        if (PlatformGetMessage(next)) WndProc(next.message, next.param);
      }
      WndProc(PLATFORM_MSG_DESTROY, 0);
      return;
    }
    case PLATFORM_MSG_DESTROY: PlatformPostMessage(PLATFORM_MSG_QUIT, exit_code.load()); return;
    default: return;
  }
}

int RunEditor() {
  InstallCrashHandler();
  // A crash or a lost display keeps the unsaved edits in the document's recovery copy.
  SetCrashWorkKeeper(KeepWorkFromSignal);
  InstallDisplayLossHandler(KeepWorkFromSignal);
  // Held by every thread until the worker takes them up (Allegro's threads, started
  // by the worker meanwhile, keep holding them).
  HoldCloseSignals();
  // Game files an emulator kept past the last run are removed once it has ended.
  RemoveEndedGameFiles();
  std::thread worker(threadfunc);
  PlatformMessage message;
  while (PlatformGetMessage(message)) WndProc(message.message, message.param);
  // The worker tears the program down after it signalled readiness; Allegro's exit
  // hook must not run before that is finished.
  worker.join();
  return message.param;
}
