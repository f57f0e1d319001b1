#pragma once

#include <mutex>
#include <string>

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

// The lock every process of the program takes around a read-change-write of the settings file at
// `settings_path`: an exclusive flock on the file NAME.lock beside the file the path leads to
// (symbolic links followed; made when missing), held for the guard's lifetime and dropped by the
// system when the process ends, also by kill -9. Where no lock file can be made (a read-only
// folder, which no write reaches either), it holds nothing.
class SettingsFileLock {
 public:
  explicit SettingsFileLock(const std::string& settings_path);
  ~SettingsFileLock();
  SettingsFileLock(const SettingsFileLock&) = delete;
  SettingsFileLock& operator=(const SettingsFileLock&) = delete;

  // Whether the lock is held.
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};
