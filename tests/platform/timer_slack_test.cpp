#include "platform/timer_slack.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// A thread started while the slack is set keeps it after its starter has set
// its own back to the default: Allegro's input thread relies on that.
TEST(TimerSlack, AThreadKeepsTheSlackItStartedWithAndItsStarterGoesBack) {
  const unsigned long standard = PlatformTimerSlack();
  constexpr unsigned long kCoarse = 9000000;
  ASSERT_NE(standard, kCoarse);
  PlatformSetTimerSlack(kCoarse);
  EXPECT_EQ(PlatformTimerSlack(), kCoarse);
  unsigned long inherited = 0, later = 0;
  std::atomic<bool> reset{false};
  std::thread started([&] {
    inherited = PlatformTimerSlack();
    // Wait until the starter has reset its own slack, then look again.
    while (!reset) std::this_thread::yield();
    later = PlatformTimerSlack();
  });
  PlatformSetTimerSlack(0);
  EXPECT_EQ(PlatformTimerSlack(), standard);
  reset = true;
  started.join();
  EXPECT_EQ(inherited, kCoarse);
  EXPECT_EQ(later, kCoarse);
}

}  // namespace
