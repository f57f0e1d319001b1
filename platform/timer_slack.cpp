#include "platform/timer_slack.h"

#include <sys/prctl.h>

void PlatformSetTimerSlack(unsigned long nanoseconds) { prctl(PR_SET_TIMERSLACK, nanoseconds, 0, 0, 0); }

unsigned long PlatformTimerSlack() {
  const int slack = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
  return slack < 0 ? 0 : static_cast<unsigned long>(slack);
}
