#include "platform/background_calls.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace {

constexpr std::size_t kPlaces = 16;  // as many functions as Allegro's own thread takes

using Clock = std::chrono::steady_clock;

// Whole milliseconds from now until `due`, rounded up so a sleep never ends early; 0 when past.
int MillisecondsUntil(Clock::time_point due) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now()).count();
  return static_cast<int>(std::max<long long>(0, left));
}

}  // namespace

BackgroundCalls::BackgroundCalls() : functions_(kPlaces, nullptr) {}

BackgroundCalls::~BackgroundCalls() { Stop(); }

bool BackgroundCalls::Start() {
  if (thread_.joinable()) return true;
  wake_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wake_fd_ < 0) return false;
  alive_ = true;
  thread_ = std::thread([this] {
    // Signals go to the threads that wait for them, never to this one.
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
    Loop();
  });
  thread_id_ = thread_.get_id();
  return true;
}

void BackgroundCalls::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> guard(lock_);
    alive_ = false;
  }
  enabled_.notify_all();
  Wake();
  thread_.join();
  close(wake_fd_.exchange(-1));
  std::fill(functions_.begin(), functions_.end(), nullptr);
  input_ = nullptr;
  input_fd_ = -1;
  queued_ = nullptr;
}

int BackgroundCalls::Register(Function f) {
  std::lock_guard<std::mutex> guard(lock_);
  const auto place = std::find(functions_.begin(), functions_.end(), nullptr);
  if (place == functions_.end()) return -1;
  *place = f;
  return 0;
}

int BackgroundCalls::Unregister(Function f) {
  // From inside a run this thread holds the lock already; the run skips an emptied place.
  const bool inside = std::this_thread::get_id() == thread_id_;
  std::unique_lock<std::mutex> guard(lock_, std::defer_lock);
  if (!inside) guard.lock();
  std::replace(functions_.begin(), functions_.end(), f, static_cast<Function>(nullptr));
  if (f == input_) {
    input_ = nullptr;
    input_fd_ = -1;
    queued_ = nullptr;
  }
  return 0;
}

void BackgroundCalls::WatchInput(Function f, int fd, bool (*queued)()) {
  std::lock_guard<std::mutex> guard(lock_);
  input_ = f;
  input_fd_ = fd;
  queued_ = queued;
}

void BackgroundCalls::Disable() {
  std::lock_guard<std::mutex> guard(lock_);
  ++disabled_;
}

void BackgroundCalls::Enable() {
  std::lock_guard<std::mutex> guard(lock_);
  if (--disabled_ == 0) enabled_.notify_all();
}

bool BackgroundCalls::Disabled() {
  std::lock_guard<std::mutex> guard(lock_);
  return disabled_ > 0;
}

void BackgroundCalls::Wake() {
  const int fd = wake_fd_.load();
  if (fd < 0) return;
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(fd, &one, sizeof one);
}

long BackgroundCalls::Runs() {
  std::lock_guard<std::mutex> guard(lock_);
  return runs_;
}

void BackgroundCalls::Sleep(int timeout_ms) {
  int fd = -1;
  {
    std::lock_guard<std::mutex> guard(lock_);
    fd = input_fd_;
  }
  const int wake = wake_fd_.load();
  pollfd fds[2] = {{wake, POLLIN, 0}, {fd, POLLIN, 0}};
  poll(fds, fd >= 0 ? 2 : 1, timeout_ms);
  if (fds[0].revents & POLLIN) {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t taken = read(wake, &count, sizeof count);
  }
}

void BackgroundCalls::RunOnce() {
  std::unique_lock<std::mutex> guard(lock_);
  enabled_.wait(guard, [this] { return disabled_ == 0 || !alive_; });
  if (!alive_) return;
  for (Function f : functions_) {
    if (f != nullptr) f(1);
  }
  ++runs_;
}

void BackgroundCalls::Loop() {
  const auto step = std::chrono::milliseconds(kStepMs);
  auto last = Clock::now() - step;
  bool input_left = false;
  for (;;) {
    bool steady = false;
    {
      std::lock_guard<std::mutex> guard(lock_);
      if (!alive_) return;
      steady = std::any_of(functions_.begin(), functions_.end(),
                           [this](Function f) { return f != nullptr && f != input_; });
    }
    const bool soon = steady || input_left;
    Sleep(MillisecondsUntil(last + (soon ? step : std::chrono::milliseconds(kIdleLookMs))));
    // Calls stay 10 ms apart however often input comes.
    std::this_thread::sleep_until(last + step);
    last = Clock::now();
    RunOnce();
    bool (*queued)() = nullptr;
    {
      std::lock_guard<std::mutex> guard(lock_);
      queued = queued_;
    }
    input_left = queued != nullptr && queued();
  }
}
