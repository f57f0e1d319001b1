#include "platform/background_calls.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

#include "tests/common/temp_folder.h"

namespace {

using namespace std::chrono_literals;

// The functions are plain function pointers, as the drivers' are; they count
// their calls here.
std::atomic<int> input_calls{0};
std::atomic<int> steady_calls{0};
std::atomic<int> pipe_read_end{-1};
std::atomic<int> queued_left{0};

void ReadInput(int threaded) {
  EXPECT_EQ(threaded, 1);
  ++input_calls;
  char bytes[64];
  while (read(pipe_read_end, bytes, sizeof bytes) > 0) {
  }
}

void SteadyWork(int) { ++steady_calls; }

bool InputLeft() { return queued_left > 0 && queued_left-- > 0; }

class BackgroundCallsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    input_calls = 0;
    steady_calls = 0;
    queued_left = 0;
    ASSERT_EQ(pipe(fds_), 0);
    // Non-blocking, so the reader drains what is there and returns.
    ASSERT_EQ(fcntl(fds_[0], F_SETFL, O_NONBLOCK), 0);
    pipe_read_end = fds_[0];
    ASSERT_TRUE(calls_.Start());
  }
  void TearDown() override {
    calls_.Stop();
    close(fds_[0]);
    close(fds_[1]);
  }
  void WatchPipe() {
    calls_.WatchInput(ReadInput, fds_[0], InputLeft);
    ASSERT_EQ(calls_.Register(ReadInput), 0);
  }
  void Send() { ASSERT_EQ(write(fds_[1], "x", 1), 1); }

  int fds_[2] = {-1, -1};
  BackgroundCalls calls_;
};

TEST_F(BackgroundCallsTest, AnIdleInputReaderSleepsAndRunsWhenInputComesOrItIsWoken) {
  WatchPipe();
  // Idle, the reader runs only at the 250 ms looks (a busy machine makes that fewer, never more).
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(300ms);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LE(input_calls.load(), 2 + elapsed / std::chrono::milliseconds(BackgroundCalls::kIdleLookMs));

  const int before_input = input_calls;
  Send();
  EXPECT_TRUE(WaitUntil([&] { return input_calls > before_input; }));

  const int before_wake = input_calls;
  calls_.Wake();
  EXPECT_TRUE(WaitUntil([&] { return input_calls > before_wake; }));
}

TEST_F(BackgroundCallsTest, InputLeftInMemoryIsTakenByTheNextStepsWithoutAWake) {
  WatchPipe();
  queued_left = 3;
  Send();
  // The run for the byte, then one run for each time input was reported left.
  EXPECT_TRUE(WaitUntil([] { return input_calls >= 4 && queued_left == 0; }));
}

TEST_F(BackgroundCallsTest, AFunctionOtherThanTheInputReaderGetsSteadyCalls) {
  WatchPipe();
  ASSERT_EQ(calls_.Register(SteadyWork), 0);
  EXPECT_TRUE(WaitUntil([] { return steady_calls >= 10; }));
  // The reader is called on the same runs.
  EXPECT_GE(input_calls.load(), 10);
  // Unregistering waits for a run under way, so no call comes after it.
  calls_.Unregister(SteadyWork);
  const int after = steady_calls;
  const long runs = calls_.Runs();
  calls_.Wake();
  EXPECT_TRUE(WaitUntil([&] { return calls_.Runs() >= runs + 2; }));
  EXPECT_EQ(steady_calls.load(), after);
}

TEST_F(BackgroundCallsTest, DisabledCallsWaitUntilEnabledAsOftenAsDisabled) {
  WatchPipe();
  calls_.Disable();
  calls_.Disable();
  EXPECT_TRUE(calls_.Disabled());
  const long runs = calls_.Runs();
  Send();
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(calls_.Runs(), runs);
  calls_.Enable();
  EXPECT_TRUE(calls_.Disabled());
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(calls_.Runs(), runs);
  calls_.Enable();
  EXPECT_FALSE(calls_.Disabled());
  EXPECT_TRUE(WaitUntil([&] { return calls_.Runs() > runs; }));
}

std::atomic<BackgroundCalls*> running_calls{nullptr};
std::atomic<int> self_removing_calls{0};

void RemovesItself(int) {
  ++self_removing_calls;
  running_calls.load()->Unregister(RemovesItself);
}

TEST_F(BackgroundCallsTest, AFunctionMayUnregisterItselfDuringARun) {
  self_removing_calls = 0;
  running_calls = &calls_;
  ASSERT_EQ(calls_.Register(RemovesItself), 0);
  EXPECT_TRUE(WaitUntil([] { return self_removing_calls == 1; }));
  const long runs = calls_.Runs();
  calls_.Wake();
  EXPECT_TRUE(WaitUntil([&] { return calls_.Runs() > runs + 1; }));
  EXPECT_EQ(self_removing_calls.load(), 1);
}

std::atomic<int> numbered_calls[16];

template <std::size_t... I>
void RegisterSixteen(BackgroundCalls& calls, std::index_sequence<I...>) {
  const BackgroundCalls::Function functions[] = {+[](int) { ++numbered_calls[I]; }...};
  for (BackgroundCalls::Function f : functions) EXPECT_EQ(calls.Register(f), 0);
}

TEST_F(BackgroundCallsTest, SixteenFunctionsFitAndTheSeventeenthIsRefused) {
  calls_.Disable();  // none of them needs to run
  RegisterSixteen(calls_, std::make_index_sequence<16>{});
  EXPECT_EQ(calls_.Register(SteadyWork), -1);
  calls_.Enable();
}

}  // namespace
