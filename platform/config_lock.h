#pragma once

#include <mutex>

// Allegro's configuration routines keep global state and are not thread-safe,
// yet the worker and the main thread (while closing) both use them. Every
// configuration call of the program holds this one lock.
std::recursive_mutex& ConfigMutex();

// Holds ConfigMutex() for the lifetime of the guard.
class ConfigGuard {
 public:
  ConfigGuard() : lock_(ConfigMutex()) {}

 private:
  std::lock_guard<std::recursive_mutex> lock_;
};
