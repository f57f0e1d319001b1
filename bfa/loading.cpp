// Moving whole files between disk and a channel: the open-file dialog, loading and saving.
#include "bfa/bfa_internal.h"

#include "platform/dialogs.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace bfa_detail;

namespace {

// Splits a filter list "description\0pattern\0...\0" into its pairs; an unpaired description is dropped.
std::vector<FileFilter> ParseFilters(const char* parameters) {
  std::vector<FileFilter> filters;
  if (parameters == nullptr) return filters;
  const char* p = parameters;
  while (*p) {
    std::string description = p;
    p += description.size() + 1;
    if (!*p) break;
    std::string patterns = p;
    p += patterns.size() + 1;
    filters.push_back({std::move(description), std::move(patterns)});
  }
  return filters;
}

std::string WorkingDirectory() {
  std::vector<char> path(4096);
  while (::getcwd(path.data(), path.size()) == nullptr) {
    if (errno != ERANGE) return {};
    path.resize(path.size() * 2);
  }
  return path.data();
}

// Reads until size bytes have arrived or the file ends or fails; returns how many arrived.
std::size_t ReadFully(int fd, char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(fd, data + done, size - done);
    if (got > 0) {
      done += static_cast<std::size_t>(got);
    } else if (got < 0 && errno == EINTR) {
      continue;
    } else {
      break;
    }
  }
  return done;
}

// Puts a file read from disk into the current channel; the channel tests have passed.
void Install(BFA_LoadedFile&& file) {
  CurrentBuffer().swap(file.bytes);
  BFA_OpenedCRC32[BFA_ChanID] = file.crc;
}

}  // namespace

bool bfa_detail::ReadOpenedFile(int fd, std::vector<char>& out) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
      static_cast<unsigned long long>(info.st_size) > BFA_MAX_FILE_SIZE)
    return false;
  const auto size = static_cast<std::size_t>(info.st_size);
  std::vector<char> bytes(size);
  if (ReadFully(fd, bytes.data(), size) != size) return false;
  // A file that grew while it was read is not the file that was measured: refuse it rather than keep a part.
  char extra;
  if (ReadFully(fd, &extra, 1) != 0) return false;
  out.swap(bytes);
  return true;
}

std::string OpenFileDialog(const char* parameters, const char* title) {
  const std::string directory = WorkingDirectory();
  const std::string chosen = PlatformOpenFileDialog(title ? title : "", ParseFilters(parameters));
  // The dialog's navigation must never move the directory that the program's relative paths start from.
  if (!directory.empty() && WorkingDirectory() != directory) {
    const int restored = ::chdir(directory.c_str());
    (void)restored;  // if the directory has gone meanwhile there is nothing left to return to
  }
  return chosen.empty() ? BFA_NO_FILE_SELECTED : chosen;
}

bool BFA_ReadFile(const char* filename, BFA_LoadedFile& out) {
  // O_NONBLOCK: opening a FIFO without a writer must not hang; ReadOpenedFile then refuses it as not regular.
  const int fd = filename ? ::open(filename, O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
  bool ok = false;
  std::vector<char> bytes;
  if (fd >= 0) {
    ok = ReadOpenedFile(fd, bytes);
    ::close(fd);
  }
  if (!ok) {
    ShowOpenFailed(filename);
    return false;
  }
  out.crc = Checksum(bytes.data(), bytes.size());
  out.bytes.swap(bytes);
  return true;
}

bool BFA_LoadFrom(const char* filename, BFA_LoadedFile&& file) {
  if (!ChannelAllows(Operation::Load, filename)) return false;
  if (file.bytes.size() > BFA_MAX_FILE_SIZE) {
    ShowOpenFailed(filename);
    return false;
  }
  Install(std::move(file));
  return true;
}

bool BFA_Load(const char* filename) {
  if (!ChannelAllows(Operation::Load, filename)) return false;
  BFA_LoadedFile file;
  if (!BFA_ReadFile(filename, file)) return false;
  Install(std::move(file));
  return true;
}

int BFA_Open(const char* parameters, const char* title) {
  const std::string chosen = OpenFileDialog(parameters, title);
  if (chosen == BFA_NO_FILE_SELECTED) return 2;
  return BFA_Load(chosen.c_str()) ? 0 : 1;
}

bool BFA_Save(const char* filename) {
  if (!ChannelAllows(Operation::Save, filename)) return false;
  // O_NONBLOCK: a FIFO without a reader fails at once instead of hanging the program.
  const int fd = filename ? ::open(filename, O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666) : -1;
  if (fd < 0) {
    ShowSaveFailed(filename);
    return false;
  }
  const std::vector<char>& buffer = CurrentBuffer();
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t put = ::write(fd, buffer.data() + done, buffer.size() - done);
    if (put > 0) {
      done += static_cast<std::size_t>(put);
    } else if (!(put < 0 && errno == EINTR)) {
      break;
    }
  }
  // A file that did not take every byte (disk full, a pipe, a write error on close) is not a saved file.
  const bool closed = ::close(fd) == 0;
  if (done != buffer.size() || !closed) {
    ShowSaveFailed(filename);
    return false;
  }
  return true;
}

crc32 BFA_LoadCRC32(const char* filename) {
  // Opened for reading and writing: this checks a file the program may go on to write, so a read-only or
  // locked file counts as one that cannot be opened. O_NONBLOCK keeps a FIFO from hanging the open.
  const int fd = filename ? ::open(filename, O_RDWR | O_NONBLOCK | O_CLOEXEC) : -1;
  if (fd < 0) {
    ShowOpenFailed(filename);
    return 0;
  }
  std::vector<char> bytes;
  const bool ok = ReadOpenedFile(fd, bytes);
  ::close(fd);
  if (!ok) {
    ShowOpenFailed(filename);
    return 0;
  }
  return Checksum(bytes.data(), bytes.size());
}
