#include "platform/config_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

std::recursive_mutex& ConfigMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

SettingsFileLock::SettingsFileLock(const std::string& settings_path) {
  // Beside the file the path leads to: two paths that are links to one file share one lock.
  char resolved[PATH_MAX];
  const std::string path = (::realpath(settings_path.c_str(), resolved) != nullptr ? resolved : settings_path) + std::string(".lock");
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);  // a lock file another user made
  if (fd_ < 0) return;
  int locked;
  do {
    locked = ::flock(fd_, LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

SettingsFileLock::~SettingsFileLock() {
  // Closing the last descriptor of the open file drops the lock.
  if (fd_ >= 0) ::close(fd_);
}
