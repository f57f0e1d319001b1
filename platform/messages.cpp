#include "platform/messages.h"

#include <atomic>
#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <unistd.h>

namespace {

// Messages posted by signal handlers wait in these places (0: free) until the
// queue takes them. Lock-free atomics at namespace scope are ready before any code
// runs, so a handler never meets anything half-built.
constexpr int kSignalPlaces = 4;
std::atomic<int> signalled[kSignalPlaces];
static_assert(std::atomic<int>::is_always_lock_free);

// Write end of the wake-up pipe; -1 until the queue exists (nobody waits before).
std::atomic<int> wake_write{-1};

// How often a queue without a wake-up pipe looks for messages.
constexpr int kPollWithoutPipeMs = 10;

// The waiting thread sleeps in poll() on a pipe rather than on a condition
// variable, because a signal handler can write to a pipe but cannot notify.
struct Queue {
  std::mutex mutex;
  std::deque<PlatformMessage> messages;
  int wake_read = -1;  // -1 when no pipe could be made

  Queue() {
    int fds[2];
    if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) return;
    wake_read = fds[0];
    wake_write = fds[1];
  }
};

// Function-local so that posting from a static destructor or an early thread
// never meets an unconstructed queue.
Queue& TheQueue() {
  static Queue queue;
  return queue;
}

// Async-signal-safe. A full pipe already holds a wake-up, so a failed write loses nothing.
void Wake() {
  const int fd = wake_write.load();
  if (fd < 0) return;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
}

void DrainWakeups(const Queue& q) {
  if (q.wake_read < 0) return;
  char sink[64];
  while (read(q.wake_read, sink, sizeof sink) > 0) {
  }
}

void WaitForWakeup(const Queue& q) {
  pollfd fd{q.wake_read, POLLIN, 0};
  if (q.wake_read >= 0) {
    poll(&fd, 1, -1);
  } else {
    poll(nullptr, 0, kPollWithoutPipeMs);
  }
}

// Moves the messages posted by signal handlers to the end of the queue. Needs the mutex.
void TakeSignalled(Queue& q) {
  for (std::atomic<int>& place : signalled) {
    const int message = place.exchange(0);
    if (message != 0) q.messages.push_back({message, 0});
  }
}

bool TakeFront(Queue& q, PlatformMessage& out) {
  TakeSignalled(q);
  if (q.messages.empty()) return false;
  out = q.messages.front();
  q.messages.pop_front();
  return true;
}

}  // namespace

void PlatformPostMessage(int message, int param) {
  Queue& q = TheQueue();
  {
    std::lock_guard<std::mutex> lock(q.mutex);
    q.messages.push_back({message, param});
  }
  Wake();
}

bool PlatformPostMessageFromSignal(int message) {
  const int saved_errno = errno;
  bool placed = false;
  for (std::atomic<int>& place : signalled) {
    int free = 0;
    if (place.compare_exchange_strong(free, message)) {
      placed = true;
      break;
    }
  }
  if (placed) Wake();
  errno = saved_errno;
  return placed;
}

bool PlatformGetMessage(PlatformMessage& out) {
  Queue& q = TheQueue();
  for (;;) {
    // Wake-ups are drained before the queue is looked at: a message posted later
    // leaves a new byte in the pipe, so the wait below cannot miss it.
    DrainWakeups(q);
    {
      std::lock_guard<std::mutex> lock(q.mutex);
      if (TakeFront(q, out)) return out.message != PLATFORM_MSG_QUIT;
    }
    WaitForWakeup(q);
  }
}

bool PlatformPeekMessage(PlatformMessage& out) {
  Queue& q = TheQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  return TakeFront(q, out);
}

void PlatformClearMessages() {
  Queue& q = TheQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  q.messages.clear();
  for (std::atomic<int>& place : signalled) place = 0;
}
