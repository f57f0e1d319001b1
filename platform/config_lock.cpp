#include "platform/config_lock.h"

std::recursive_mutex& ConfigMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}
