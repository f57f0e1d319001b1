#pragma once

// The engine state a close goes through, fresh for one test and put back after
// it (also when an assertion ends the test): the main thread's message queue
// empty, the tick semaphore made with one wake-up, no tick owed, the close
// flags clear and the engine state as it was. For the tests of the close
// handshake and of closes that land while the main loop switches modes.

#include <semaphore.h>

#include <cstdint>

#include "platform/messages.h"
#include "shell/base/variables.h"

class CloseHarness {
 public:
  CloseHarness() : saved_state_(ENGINE_STATE.load()) {
    PlatformClearMessages();
    sem_init(&sem_rest, 0, 1);
    ticks = 0;
    GAMEOVER = false;
    STATEOVER = false;
    readytoclose = false;
  }
  ~CloseHarness() {
    sem_destroy(&sem_rest);
    ticks = 0;
    ENGINE_STATE = saved_state_;
    GAMEOVER = false;
    STATEOVER = false;
    readytoclose = false;
    PlatformClearMessages();
  }
  CloseHarness(const CloseHarness&) = delete;
  CloseHarness& operator=(const CloseHarness&) = delete;

 private:
  uint32_t saved_state_;
};
