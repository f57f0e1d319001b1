#include "rom/file_replace.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// Temporary files are named PREFIX + the writer's process id + "-" + a count.
constexpr const char* kTempPrefix = ".qbrre-save-";

std::string Reason(const char* step) { return std::string(step) + " (" + std::strerror(errno) + ")"; }

bool WriteAll(int fd, const unsigned char* data, std::size_t n) {
  std::size_t done = 0;
  while (done < n) {
    const ssize_t put = ::write(fd, data + done, n - done);
    if (put > 0) {
      done += static_cast<std::size_t>(put);
    } else if (!(put < 0 && errno == EINTR)) {
      if (put == 0) errno = ENOSPC;
      return false;
    }
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path names, symbolic links followed, also a link to a file that does not exist yet (it
// is created where the link points, so the link stays a link); the path itself when it names nothing.
std::string Target(const std::string& path) {
  std::string at = path;
  for (int hops = 0; hops < 40; ++hops) {
    char resolved[PATH_MAX];
    if (::realpath(at.c_str(), resolved) != nullptr) return resolved;
    char link[PATH_MAX];
    const ssize_t n = ::readlink(at.c_str(), link, sizeof link - 1);
    if (n <= 0) return at;
    const std::string to(link, static_cast<std::size_t>(n));
    at = to[0] == '/' ? to : FolderOf(at) + "/" + to;
  }
  return at;
}

// A new file in `folder` that no other writer has (O_EXCL), open for writing; -1 when the folder
// refuses. Private while it is written when it will replace a file (it gets that file's permissions
// before the rename); else it is created with the permissions any new file gets, the umask applied
// by the system (reading the umask would mean setting it, which races with other threads).
int CreateTemp(const std::string& folder, bool replacing, std::string& temp) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = folder + "/" + kTempPrefix + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// A rename is durable once its folder is flushed too.
void SyncFolder(const std::string& folder) {
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace

bool ReadRegularFile(const std::string& path, std::vector<unsigned char>& out, std::string& error) {
  // O_NONBLOCK: a FIFO without a writer must not hang the read; it is refused as not regular.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = Reason("cannot open it");
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    error = "not a regular file";
    return false;
  }
  std::vector<unsigned char> bytes(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  bool ok = true;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got > 0) {
      done += static_cast<std::size_t>(got);
    } else if (!(got < 0 && errno == EINTR)) {
      ok = false;
      break;
    }
  }
  unsigned char extra;
  // A file that changed size while it was read is not the file that was measured.
  if (ok && ::read(fd, &extra, 1) != 0) ok = false;
  ::close(fd);
  if (!ok) {
    error = "it could not be read whole";
    return false;
  }
  out.swap(bytes);
  return true;
}

bool ReplaceFile(const std::string& path, const unsigned char* data, std::size_t n, std::string& error,
                 ReplaceSync sync) {
  const std::string target = Target(path);
  struct stat old {};
  // A loop of links is never replaced by a file.
  if (::lstat(target.c_str(), &old) == 0 && S_ISLNK(old.st_mode)) {
    error = "it is a symbolic link that leads nowhere";
    return false;
  }
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (existed && !S_ISREG(old.st_mode)) {
    error = "it is not a regular file";
    return false;
  }
  std::string temp;
  const int fd = CreateTemp(FolderOf(target), existed, temp);
  if (fd < 0) {
    error = Reason("cannot create a temporary file in its folder");
    return false;
  }
  bool ok = true;
  if (!WriteAll(fd, data, n)) {
    error = Reason("writing failed");
    ok = false;
  } else if (sync == ReplaceSync::Durable && ::fsync(fd) != 0) {
    error = Reason("flushing to disk failed");
    ok = false;
  }
  // The replaced file's permissions; a new file has the ones it was created with.
  if (ok && existed && ::fchmod(fd, old.st_mode & 07777) != 0) {
    error = Reason("setting its permissions failed");
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    error = Reason("writing failed");
    ok = false;
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    error = Reason("replacing the file failed");
    ok = false;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  if (sync == ReplaceSync::Durable) SyncFolder(FolderOf(target));
  return true;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat x {
  }, y{};
  return ::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

bool ReplaceFile(const std::string& path, const std::vector<unsigned char>& bytes, std::string& error,
                 ReplaceSync sync) {
  return ReplaceFile(path, bytes.data(), bytes.size(), error, sync);
}

std::string OutputIsInput(const std::string& output, const std::vector<std::string>& inputs) {
  for (const std::string& input : inputs)
    if (SameFile(output, input)) return "it is the input \"" + input + "\"; choose another file";
  return "";
}

bool KeepBackupOnce(const std::string& path, const std::string& backup, std::string& error) {
  struct stat info {};
  if (::lstat(backup.c_str(), &info) == 0) return true;
  std::vector<unsigned char> bytes;
  if (!ReadRegularFile(path, bytes, error)) {
    error = "cannot read it to keep a backup: " + error;
    return false;
  }
  struct stat original {};
  if (::stat(path.c_str(), &original) != 0) {
    error = Reason("cannot read it to keep a backup");
    return false;
  }
  // Written under a temporary name and given the backup's name only when whole, so a kill during
  // the copy leaves no partial backup that would later pass for the original. Private while it is
  // written; then it gets the original's permissions, so a private file never has a readable copy.
  std::string temp;
  const int fd = CreateTemp(FolderOf(backup), true, temp);
  if (fd < 0) {
    error = Reason(("cannot create the backup " + backup).c_str());
    return false;
  }
  bool ok = WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
  if (!ok) error = Reason(("writing the backup " + backup + " failed").c_str());
  if (ok && ::fchmod(fd, original.st_mode & 07777) != 0) {
    error = Reason(("setting the permissions of the backup " + backup + " failed").c_str());
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    error = Reason(("writing the backup " + backup + " failed").c_str());
    ok = false;
  }
  // A name that never replaces one: a backup that appeared meanwhile is kept as it is. A link where
  // the file system has them, else a rename that refuses to replace.
  if (ok && ::link(temp.c_str(), backup.c_str()) != 0 && errno != EEXIST &&
      ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, backup.c_str(), RENAME_NOREPLACE) != 0 && errno != EEXIST) {
    error = Reason(("naming the backup " + backup + " failed").c_str());
    ok = false;
  }
  ::unlink(temp.c_str());
  if (ok) SyncFolder(FolderOf(backup));
  return ok;
}

void RemoveStaleTempFilesBeside(const std::string& path) {
  DIR* dir = ::opendir(FolderOf(path).c_str());
  if (dir == nullptr) return;
  const std::string prefix = kTempPrefix;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    // .qbrre-save-PID-N: the writer's process id, then its count.
    char* end = nullptr;
    const long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
    if (end == name.c_str() + prefix.size() || *end != '-' || pid <= 0 || pid > INT_MAX) continue;
    // A running writer (this process among them) may be writing it; only a file whose process is gone is stale.
    if (pid == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    struct stat info {};
    if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

FileStamp StampOf(const std::string& path) {
  FileStamp s;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return s;
  s.exists = true;
  s.size = static_cast<unsigned long long>(info.st_size);
  s.mtime_ns = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
  s.inode = info.st_ino;
  s.device = info.st_dev;
  return s;
}
