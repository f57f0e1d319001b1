#include "shell/base/close_request.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/messages.h"
#include "shell/base/functions.h"
#include "platform/allegro_include.h"
#include "shell/runtime/frame.h"

namespace {

int gate_calls = 0;
bool gate_answer = true;
bool Gate() {
  ++gate_calls;
  return gate_answer;
}
bool signal_work_pending = false;
int kept = 0;
bool keep_answer = true;
bool Pending() { return signal_work_pending; }
bool Keep() {
  ++kept;
  return keep_answer;
}

// The close messages queued so far, by parameter.
std::vector<int> Closes() {
  std::vector<int> params;
  PlatformMessage m;
  while (PlatformPeekMessage(m)) {
    if (m.message == PLATFORM_MSG_CLOSE) params.push_back(m.param);
  }
  return params;
}

class CloseRequest : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformClearMessages();
    gate_calls = 0;
    gate_answer = true;
    signal_work_pending = false;
    kept = 0;
    keep_answer = true;
    SetCloseGate(Gate);
    SetSignalCloseHooks(Pending, Keep);
  }
  void TearDown() override {
    key[KEY_ESC] = 0;
    Apllication_Critical_Functions();  // lets go of a refused Escape
    SetCloseGate(nullptr);
    SetSignalCloseHooks(nullptr, nullptr);
    PlatformClearMessages();
  }
};

TEST_F(CloseRequest, ExitAndTheCloseButtonCloseOnlyWhenTheGateAllows) {
  for (bool allow : {false, true}) {
    gate_answer = allow;
    CaptionButtonFunction(0);
    EXPECT_EQ(Closes(), allow ? std::vector<int>{0} : std::vector<int>{}) << allow;
  }
  EXPECT_EQ(gate_calls, 2);
  gate_answer = false;
  CaptionButtonFunction(0);  // a second Exit while the first close is under way asks nothing
  EXPECT_EQ(gate_calls, 2);
  EXPECT_EQ(Closes(), std::vector<int>{0});
}

TEST_F(CloseRequest, RefusedEscapeAsksAgainOnlyAfterItWasLetGo) {
  gate_answer = false;
  key[KEY_ESC] = 1;
  for (int update = 0; update < 5; ++update) Apllication_Critical_Functions();
  EXPECT_EQ(gate_calls, 1);
  key[KEY_ESC] = 0;
  Apllication_Critical_Functions();
  gate_answer = true;
  key[KEY_ESC] = 1;
  Apllication_Critical_Functions();
  Apllication_Critical_Functions();
  Apllication_Critical_Functions();
  // An allowed Escape posts on every update, as before, but asks only once: the close is under way.
  EXPECT_EQ(gate_calls, 2);
  EXPECT_EQ(Closes(), (std::vector<int>{0, 0, 0}));
}

TEST_F(CloseRequest, WindowManagerCloseWaitsForTheWorkersUpdate) {
  std::thread other([] { RequestProgramCloseFromAnyThread(); });
  other.join();
  EXPECT_EQ(gate_calls, 0);
  EXPECT_TRUE(Closes().empty());
  TakeCloseRequests();
  EXPECT_EQ(gate_calls, 1);
  EXPECT_EQ(Closes(), std::vector<int>{0});
  TakeCloseRequests();  // taken once
  EXPECT_EQ(gate_calls, 1);
}

TEST_F(CloseRequest, SignalCloseKeepsTheWorkFirstWhenThereIsAny) {
  EXPECT_FALSE(HandSignalCloseToWorker());  // nothing to keep: the main thread closes at once
  TakeCloseRequests();
  EXPECT_EQ(kept, 0);
  signal_work_pending = true;
  EXPECT_TRUE(HandSignalCloseToWorker());
  TakeCloseRequests();
  EXPECT_EQ(kept, 1);
  EXPECT_EQ(gate_calls, 0);  // a signal asks nothing
  // Kept but not saved: the program ends with the signal's status.
  EXPECT_EQ(Closes(), std::vector<int>{kCloseWorkKept});
  // Work that could not be kept anywhere closes all the same, marked as lost.
  keep_answer = false;
  EXPECT_TRUE(HandSignalCloseToWorker());
  TakeCloseRequests();
  EXPECT_EQ(kept, 2);
  EXPECT_EQ(Closes(), std::vector<int>{kCloseWorkLost});
}

}  // namespace
