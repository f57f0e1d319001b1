#include "platform/signals.h"

#include <atomic>
#include <csignal>
#include <pthread.h>
#include <unistd.h>

#include "platform/messages.h"

namespace {

std::atomic<bool> received{false};
std::atomic<int> received_signal{0};
static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);

sigset_t CloseSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&set, sig);
  return set;
}

// Only a lock-free flag, the message queue's signal post and _exit: all of them
// async-signal-safe.
void OnCloseSignal(int sig) {
  if (received.exchange(true)) _exit(128 + sig);
  received_signal = sig;
  PlatformPostMessageFromSignal(PLATFORM_MSG_CLOSE);
}

}  // namespace

void HoldCloseSignals() {
  const sigset_t set = CloseSignalSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void TakeCloseSignals() {
  struct sigaction action {};
  action.sa_handler = OnCloseSignal;
  // Interrupted system calls of the receiving thread carry on; a close signal of
  // another kind waits until the handler is done, so the two are counted in turn.
  action.sa_flags = SA_RESTART;
  action.sa_mask = CloseSignalSet();
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
  // Ctrl+\ asks for a quit with a core dump, not for the crash dialog that the
  // library's handler would lead to.
  signal(SIGQUIT, SIG_DFL);
  pthread_sigmask(SIG_UNBLOCK, &action.sa_mask, nullptr);
}

bool CloseSignalReceived() { return received.load(); }

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

int CloseSignalNumber() { return received_signal.load(); }
