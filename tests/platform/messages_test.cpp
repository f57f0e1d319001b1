#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>
#include <vector>

#include "platform/messages.h"

namespace {

class MessageQueueTest : public ::testing::Test {
 protected:
  void SetUp() override { PlatformClearMessages(); }
  void TearDown() override { PlatformClearMessages(); }
};

std::vector<PlatformMessage> TakeAll() {
  std::vector<PlatformMessage> taken;
  PlatformMessage m;
  while (PlatformPeekMessage(m)) taken.push_back(m);
  return taken;
}

TEST_F(MessageQueueTest, SignalPostsFollowQueuedMessagesAndFourWaitAtMost) {
  PlatformPostMessage(PLATFORM_MSG_WAKE, 7);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(PlatformPostMessageFromSignal(0x100 + i)) << i;
  EXPECT_FALSE(PlatformPostMessageFromSignal(0x104));
  const std::vector<PlatformMessage> taken = TakeAll();
  ASSERT_EQ(taken.size(), 5u);
  EXPECT_EQ(taken[0].message, PLATFORM_MSG_WAKE);
  EXPECT_EQ(taken[0].param, 7);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(taken[1 + i].message, 0x100 + i);
    EXPECT_EQ(taken[1 + i].param, 0);
  }
  // Taken, the places are free again.
  EXPECT_TRUE(PlatformPostMessageFromSignal(PLATFORM_MSG_CLOSE));
  PlatformClearMessages();
  EXPECT_TRUE(TakeAll().empty());
}

// The handler of this test's signal posts the close message, as the program's
// close handlers do.
void PostCloseFromSignal(int) { PlatformPostMessageFromSignal(PLATFORM_MSG_CLOSE); }

// A thread asleep in PlatformGetMessage wakes for a message posted by a signal
// handler, whether the handler interrupts that thread or runs on another one.
TEST_F(MessageQueueTest, ASignalHandlerWakesTheWaitingThread) {
  struct sigaction action {
  }, old{};
  action.sa_handler = PostCloseFromSignal;
  sigemptyset(&action.sa_mask);
  ASSERT_EQ(sigaction(SIGUSR1, &action, &old), 0);
  const struct {
    const char* name;
    bool on_waiter;
  } cases[] = {{"handled by the waiting thread", true}, {"handled by another thread", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::atomic<bool> done{false};
    PlatformMessage taken;
    std::thread waiter([&] {
      if (!c.on_waiter) {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGUSR1);
        pthread_sigmask(SIG_BLOCK, &set, nullptr);
      }
      PlatformGetMessage(taken);
      done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // asleep in the queue by now
    if (c.on_waiter) {
      pthread_kill(waiter.native_handle(), SIGUSR1);
    } else {
      raise(SIGUSR1);
    }
    for (int i = 0; i < 200 && !done.load(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const bool woke = done.load();
    if (!woke) PlatformPostMessage(PLATFORM_MSG_WAKE);  // frees a waiter that missed its wake-up
    waiter.join();
    EXPECT_TRUE(woke);
    EXPECT_EQ(taken.message, woke ? PLATFORM_MSG_CLOSE : PLATFORM_MSG_WAKE);
    EXPECT_TRUE(TakeAll().empty());
  }
  sigaction(SIGUSR1, &old, nullptr);
}

}  // namespace
