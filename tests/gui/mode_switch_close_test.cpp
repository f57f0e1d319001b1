#include <gtest/gtest.h>

#include <semaphore.h>

#include "gui/HelioWin.h"
#include "gui/commands.h"
#include "gui/mode_loop.h"
#include "gui/mode_table.h"
#include "platform/config_lock.h"
#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "shell/base/variables.h"
#include "shell/runtime/frame.h"
#include "tests/common/close_harness.h"
#include "tests/common/headless_allegro.h"

namespace {

// A mode that hands over to a second one after two updates, the way Open and
// Page Up / Page Down end a mode to enter the next one; the second runs until
// its mode ends, as the level editor does. A close lands once,
// at one chosen moment of the first hand-over, exactly as the main thread's
// close does it (GAMEOVER, then STATEOVER). Whatever the moment, the main loop
// must return, and no update may start after the close.
constexpr Mode kModeA = static_cast<Mode>(0x7A), kModeB = static_cast<Mode>(0x7B);
constexpr int kUpdatesPerMode = 2;
// Far more updates than the hand-overs need: a loop that ignores the close runs
// into this and is stopped, so the test fails instead of hanging.
constexpr int kRunaway = 200;

enum class Landing { BeforeClear, Cleared, Checked, Found, WithTheSwitchRequest, InTheNextModesUpdate };

struct Record {
  Landing landing = Landing::BeforeClear;
  int entries = 0;  // mode functions entered
  int updates = 0;  // updates started
  int updates_after_close = 0;
  bool closed = false;
  bool runaway = false;
};
Record run;

void Close() {
  run.closed = true;
  GAMEOVER = true;
  STATEOVER = true;
}

void LandAt(Landing landing) {
  if (!run.closed && run.landing == landing) Close();
}

// Lands the close before the main loop's next step, in the hand-over from the
// first mode to the second.
void BeforeStep(ModeLoopStep next) {
  if (run.entries != 1) return;
  switch (next) {
    case ModeLoopStep::Clear: LandAt(Landing::BeforeClear); break;
    case ModeLoopStep::CheckClose: LandAt(Landing::Cleared); break;
    case ModeLoopStep::Find: LandAt(Landing::Checked); break;
    case ModeLoopStep::Run: LandAt(Landing::Found); break;
  }
}

// The main loop of WindowRunFunction, one step at a time.
void RunMainLoop() {
  CModeLoop loop;
  do {
    BeforeStep(loop.next);
  } while (loop.Step());
}

void RunMode(Mode next) {
  ++run.entries;
  int mine = 0;
  ModePass pass;
  pass.update = [&mine, next] {
    // The timer's part: one more tick owed, and the pass's wake-up.
    ticks.fetch_add(1);
    sem_post(&sem_rest);
    ++run.updates;
    if (run.closed) ++run.updates_after_close;
    if (run.updates > kRunaway) {
      run.runaway = true;
      GAMEOVER = true;
      STATEOVER = true;
      return;
    }
    if (run.entries == 2) LandAt(Landing::InTheNextModesUpdate);
    if (run.entries == 1 && ++mine == kUpdatesPerMode) {
      RequestMode(next);
      LandAt(Landing::WithTheSwitchRequest);
    }
  };
  RunModePasses(pass);
}
void ModeA() { RunMode(kModeB); }
void ModeB() { RunMode(kModeA); }

class ModeSwitchCloseTest : public ::testing::TestWithParam<Landing> {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(StartHeadlessAllegro()); }
  void SetUp() override {
    {
      ConfigGuard guard;
      set_config_data("", 0);
    }
    window = HeadlessWindow{};
    window.screen_w = 1280;
    window.screen_h = 1024;
    PlatformUseHeadlessWindow(window);
    PlatformUseScriptedDialogs([](const DialogRecord&) { return std::string("ok"); });
    gui = new CHelioGUI;
    RegisterMode(kModeA, ModeA);
    RegisterMode(kModeB, ModeB);
    ticks = 1;
    ENGINE_STATE = static_cast<uint32_t>(kModeA);
  }
  void TearDown() override {
    RegisterMode(kModeA, nullptr);
    RegisterMode(kModeB, nullptr);
    delete gui;
    mui = nullptr;
    PlatformUseX11Window();
    PlatformUseDesktopDialogs();
  }

  HeadlessWindow window;
  CloseHarness engine_;
  Installed<CommandTable> commands_;
  CHelioGUI* gui = nullptr;
};

TEST_P(ModeSwitchCloseTest, ACloseAtAnyMomentOfAModeSwitchEndsTheMainLoop) {
  run = Record{};
  run.landing = GetParam();
  RunMainLoop();
  EXPECT_TRUE(run.closed);
  EXPECT_FALSE(run.runaway) << "the main loop went on after the close";
  EXPECT_EQ(run.updates_after_close, 0);
  EXPECT_TRUE(GAMEOVER.load());
  // The first mode's updates; the second mode ran one update only when the close landed in it.
  EXPECT_EQ(run.updates, kUpdatesPerMode + (GetParam() == Landing::InTheNextModesUpdate ? 1 : 0));
}

std::string LandingName(const ::testing::TestParamInfo<Landing>& info) {
  static const char* const kNames[] = {"BeforeClear", "Cleared",           "Checked",
                                       "Found",       "WithSwitchRequest", "InNextModesUpdate"};
  return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryMoment, ModeSwitchCloseTest,
                         ::testing::Values(Landing::BeforeClear, Landing::Cleared, Landing::Checked, Landing::Found,
                                           Landing::WithTheSwitchRequest, Landing::InTheNextModesUpdate),
                         LandingName);

}  // namespace
