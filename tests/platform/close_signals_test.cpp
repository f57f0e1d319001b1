#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>

#include "platform/messages.h"
#include "platform/signals.h"

namespace {

// Each case runs in a child process (a death test), where the close handlers
// stay installed.

// True when exactly one message is queued and it is the close message.
bool OneCloseQueued() {
  PlatformMessage m;
  return PlatformPeekMessage(m) && m.message == PLATFORM_MSG_CLOSE && !PlatformPeekMessage(m);
}

TEST(CloseSignalsDeathTest, TheFirstSignalPostsCloseTheSecondEndsAtOnce) {
  const struct {
    int first, second;
  } cases[] = {{SIGTERM, SIGTERM}, {SIGINT, SIGINT}, {SIGHUP, SIGHUP}, {SIGTERM, SIGINT}, {SIGHUP, SIGTERM}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.first << " then " << c.second);
    EXPECT_EXIT(
        {
          PlatformClearMessages();
          TakeCloseSignals();
          if (CloseSignalReceived()) _exit(1);
          raise(c.first);
          if (!CloseSignalReceived() || !OneCloseQueued()) _exit(2);
          raise(c.second);
          _exit(3);
        },
        ::testing::ExitedWithCode(128 + c.second), "");
  }
}

// Held, a signal waits; taken up, it is handled by the close handler even when a
// library put its own handler in place meanwhile (as Allegro's start-up does).
TEST(CloseSignalsDeathTest, AHeldSignalWaitsAndIsTakenOverALibraryHandler) {
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(sig);
    EXPECT_EXIT(
        {
          PlatformClearMessages();
          HoldCloseSignals();
          raise(sig);
          PlatformMessage m;
          if (CloseSignalReceived() || PlatformPeekMessage(m)) _exit(1);
          signal(
              sig, +[](int) { _exit(2); });
          TakeCloseSignals();
          _exit(CloseSignalReceived() && OneCloseQueued() ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
  }
}

}  // namespace
