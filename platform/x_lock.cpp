#include "platform/allegro_include.h"

#include "platform/x_lock.h"

#include <xalleg.h>

#include "platform/background_thread.h"

namespace {

// True when input waits in the connection's memory; call under the lock.
bool QueuedUnderLock() { return _xwin.display != nullptr && XEventsQueued(_xwin.display, QueuedAlready) > 0; }

}  // namespace

// Allegro's macros step a volatile counter, which C++20 deprecates; the macros are
// used as they stand, so that warning is silenced for them alone.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-volatile"
#else
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wvolatile"
#endif

XLock::XLock() { XLOCK(); }

XLock::~XLock() {
  const bool queued = QueuedUnderLock();
  XUNLOCK();
  if (queued) PlatformWakeBackgroundThread();
}

bool XInputQueued() {
  XLOCK();
  const bool queued = QueuedUnderLock();
  XUNLOCK();
  return queued;
}

#if defined(__clang__)
#pragma clang diagnostic pop
#else
#pragma GCC diagnostic pop
#endif
