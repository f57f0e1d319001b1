#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

// The thread that calls the drivers' background functions (Allegro's X input
// reader, a sound driver's mixer) with the rules Allegro gives them: each call
// gets 1 ("called from a thread"), calls are at least 10 ms apart, none runs
// while the functions are held back (Disable), and they run with the calls'
// lock held, so registering waits until a run is over.
//
// It sleeps until there is work instead of looking every millisecond: the input
// connection has something to read, someone wakes it (Wake), or, while a
// function that wants steady calls is registered (every one but the input
// reader), the next 10 ms step. While idle it still looks every 250 ms, for
// input another thread's call on the connection read into memory unseen.
class BackgroundCalls {
 public:
  using Function = void (*)(int threaded);

  // The shortest time between two runs, and the step of steady calls.
  static constexpr int kStepMs = 10;
  // The longest sleep while only the input reader is registered.
  static constexpr int kIdleLookMs = 250;

  BackgroundCalls();
  ~BackgroundCalls();
  BackgroundCalls(const BackgroundCalls&) = delete;
  BackgroundCalls& operator=(const BackgroundCalls&) = delete;

  // Starts the thread (all signals blocked in it). False when it could not start.
  bool Start();
  // Ends the thread and waits for it; the registrations are dropped.
  void Stop();

  // Adds `f` to the functions of every run; -1 when all 16 places are taken.
  int Register(Function f);
  // Takes `f` out; also from inside a run. Returns 0.
  int Unregister(Function f);
  // The input reader: `f` is called when `fd` has something to read, and
  // `queued` (called after each run, may be null) tells whether input is left
  // waiting in memory, which the next step then takes.
  void WatchInput(Function f, int fd, bool (*queued)());

  // Hold back runs until as many Enable calls as Disable calls were made.
  void Disable();
  void Enable();
  bool Disabled();

  // Has the thread run its functions soon: at once, or when the 10 ms since
  // the last run have passed. Any thread may call it.
  void Wake();

  // Runs so far (for tests).
  long Runs();

 private:
  void Loop();
  // Sleeps until there is work or `timeout_ms` (-1: no limit) passed.
  void Sleep(int timeout_ms);
  void RunOnce();

  std::mutex lock_;  // held during runs, (un)registration and Disable/Enable
  std::condition_variable enabled_;
  int disabled_ = 0;
  std::vector<Function> functions_;
  Function input_ = nullptr;
  int input_fd_ = -1;
  bool (*queued_)() = nullptr;
  std::atomic<int> wake_fd_{-1};  // an eventfd written by Wake and Stop
  bool alive_ = false;
  long runs_ = 0;
  std::thread thread_;
  std::thread::id thread_id_;
};
