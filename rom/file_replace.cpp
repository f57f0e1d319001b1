#include "rom/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

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
    temp = folder + "/.qbrre-save-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
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
  if (sync == ReplaceSync::Batch) return true;
  // The rename is durable once the folder is flushed too.
  const int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
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
  // A new file that refuses to replace anything: a backup that appeared meanwhile is kept as it is.
  // Private while it is written; then it gets the original's permissions, so a private file never
  // has a readable copy.
  const int fd = ::open(backup.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    if (errno == EEXIST) return true;
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
  // A partial backup would later pass for the original: remove it.
  if (!ok) ::unlink(backup.c_str());
  return ok;
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
