#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/config_lock.h"
#include "platform/messages.h"
#include "shell/app/application.h"
#include "shell/runtime/frame.h"
#include "platform/allegro_include.h"
#include "shell/app/program.h"
#include "shell/base/variables.h"
#include "tests/common/close_harness.h"
#include "tests/common/headless_allegro.h"

namespace {

class MainLoopTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(StartHeadlessAllegro()); }

  CloseHarness engine_;
};

TEST(TickRate, DriverRateWinsAndZeroFallsBackToTheConfiguredRate) {
  struct Case {
    int driver, configured, expected;
  } cases[] = {{0, 60, 60}, {0, 50, 50}, {75, 60, 75}, {0, 0, 60}, {0, -30, 60}, {-1, 0, 60}};
  for (const Case& c : cases)
    EXPECT_EQ(ChooseTickRate(c.driver, c.configured), c.expected) << c.driver << "/" << c.configured;
}

TEST_F(MainLoopTest, EngineSettingsDefaultTo60HzAndMethod2) {
  const struct {
    const char* config;
    int hz, draw;
  } cases[] = {
      {"", 60, 2},
      {"[Window]\nw = 308\n", 60, 2},
      {"[Engine]\nHz = 75\n", 75, 2},
      {"[Engine]\nDraw = 4\nHz = 50\n", 50, 4},
  };
  for (const auto& c : cases) {
    {
      ConfigGuard guard;
      set_config_data(c.config, static_cast<int>(std::string(c.config).size()));
    }
    const EngineSettings engine = ReadEngineSettings();
    EXPECT_EQ(engine.hz, c.hz) << c.config;
    EXPECT_EQ(engine.draw, c.draw) << c.config;
  }
}

// Passes catch up one update per owed tick and draw once per pass.
TEST_F(MainLoopTest, OwedTicksAreWorkedOffInOnePass) {
  ticks = 5;
  int updates = 0, passes = 0;
  ModePass pass;
  pass.update = [&] {
    if (++updates == 5) STATEOVER = true;
  };
  pass.after_pass = [&] { ++passes; };
  RunModePasses(pass);
  EXPECT_EQ(updates, 5);
  EXPECT_EQ(passes, 1);
  EXPECT_EQ(ticks.load(), 0);
}

// An update that overruns a tick is followed by a frame, not by more updates.
TEST_F(MainLoopTest, ATickDuringAnUpdateEndsTheCatchUp) {
  ticks = 5;
  std::vector<int> updates_per_pass;
  int updates = 0, total = 0;
  ModePass pass;
  pass.update = [&] {
    ++updates;
    if (++total == 2) ticker();        // a tick arrives while the second update runs
    if (total == 6) STATEOVER = true;  // all owed updates done
  };
  pass.after_pass = [&] {
    updates_per_pass.push_back(updates);
    updates = 0;
  };
  RunModePasses(pass);
  ASSERT_EQ(updates_per_pass.size(), 2u);
  EXPECT_EQ(updates_per_pass[0], 2);
  EXPECT_EQ(updates_per_pass[1], 4);  // the three left plus the one that arrived
}

// The wait at the end of a pass sleeps until the timer ticks.
TEST_F(MainLoopTest, WaitForNextTickBlocksUntilATick) {
  std::atomic<bool> woke{false};
  std::thread waiter([&] {
    WaitForNextTick();
    woke = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_FALSE(woke.load());
  ticker();
  waiter.join();
  EXPECT_TRUE(woke.load());
  EXPECT_EQ(ticks.load(), 1);
}

// An idle pass sleeps through the ticks before its next frame: the timer wakes
// it at the tick it asked for, and input at the next tick (at once when one is owed).
TEST_F(MainLoopTest, TheTimerWakesAnIdleWaitAtTheTicksItWantsAndInputAtTheNext) {
  std::atomic<bool> woke{false};
  std::thread idle([&] {
    WaitForNextTick(3);
    woke = true;
  });
  // Ticks owed when the wait begins end it at once; these come while it sleeps.
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  ticker();
  ticker();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_FALSE(woke.load());
  ticker();
  idle.join();
  EXPECT_TRUE(woke.load());
  EXPECT_EQ(ticks.load(), 3);

  ticks = 0;
  woke = false;
  std::thread waiting_for_input([&] {
    WaitForNextTick(4);
    woke = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  ticker();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_FALSE(woke.load());
  WakeWorkerForInput();
  waiting_for_input.join();
  EXPECT_TRUE(woke.load());
  EXPECT_EQ(ticks.load(), 1);
  ticks = 0;
}

TEST_F(MainLoopTest, EscapePostsTheCloseMessageOnEveryUpdate) {
  key[KEY_ESC] = 1;
  Apllication_Critical_Functions();
  Apllication_Critical_Functions();
  key[KEY_ESC] = 0;
  Apllication_Critical_Functions();
  PlatformMessage m;
  int closes = 0;
  while (PlatformPeekMessage(m)) closes += m.message == PLATFORM_MSG_CLOSE;
  EXPECT_EQ(closes, 2);
}

// Close: both flags set, the main thread waits (handling messages) until the worker
// is done, then the window is destroyed and the quit message carries exit code 0.
TEST_F(MainLoopTest, CloseHandshakeWaitsForTheWorker) {
  std::thread worker([] {
    while (!GAMEOVER.load() || !STATEOVER.load()) std::this_thread::yield();
    PlatformPostMessage(PLATFORM_MSG_CLOSE);  // a second close while the first is handled
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    readytoclose = true;
    PlatformPostMessage(PLATFORM_MSG_WAKE);
  });
  WndProc(PLATFORM_MSG_CLOSE, 0);
  worker.join();
  EXPECT_TRUE(readytoclose.load());
  PlatformMessage m;
  std::vector<PlatformMessage> left;
  while (PlatformPeekMessage(m)) left.push_back(m);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].message, PLATFORM_MSG_QUIT);
  EXPECT_EQ(left[0].param, 0);
}

}  // namespace
