#include "platform/messages.h"

#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

struct Queue {
  std::mutex mutex;
  std::condition_variable ready;
  std::deque<PlatformMessage> messages;
};

// Function-local so that posting from a static destructor or an early thread
// never meets an unconstructed queue.
Queue& TheQueue() {
  static Queue queue;
  return queue;
}

}  // namespace

void PlatformPostMessage(int message, int param) {
  Queue& q = TheQueue();
  {
    std::lock_guard<std::mutex> lock(q.mutex);
    q.messages.push_back({message, param});
  }
  q.ready.notify_one();
}

bool PlatformGetMessage(PlatformMessage& out) {
  Queue& q = TheQueue();
  std::unique_lock<std::mutex> lock(q.mutex);
  q.ready.wait(lock, [&q] { return !q.messages.empty(); });
  out = q.messages.front();
  q.messages.pop_front();
  return out.message != PLATFORM_MSG_QUIT;
}

bool PlatformPeekMessage(PlatformMessage& out) {
  Queue& q = TheQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  if (q.messages.empty()) return false;
  out = q.messages.front();
  q.messages.pop_front();
  return true;
}

void PlatformClearMessages() {
  Queue& q = TheQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  q.messages.clear();
}
