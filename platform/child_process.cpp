#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/dialog_backend.h"

extern char** environ;

namespace {

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// Writes all of `data` to the child's stdin. SIGPIPE is blocked meanwhile (and a
// pending one swallowed) so that a child that exits without reading cannot end
// this process.
void FeedInput(int fd, const char* data, std::size_t len) {
  sigset_t pipeSet, oldSet;
  sigemptyset(&pipeSet);
  sigaddset(&pipeSet, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSet, &oldSet);
  WriteFully(fd, data, len);
  sigset_t pending;
  sigpending(&pending);
  if (sigismember(&pending, SIGPIPE) && !sigismember(&oldSet, SIGPIPE)) {
    const timespec zero{0, 0};
    sigtimedwait(&pipeSet, nullptr, &zero);
  }
  pthread_sigmask(SIG_SETMASK, &oldSet, nullptr);
}

}  // namespace

int RunChild(const char* path, char* const argv[], const char* input, std::size_t inputLen, char* out,
             std::size_t outCap) {
  if (outCap > 0) out[0] = '\0';
  int inPipe[2] = {-1, -1};
  int outPipe[2] = {-1, -1};
  if (pipe2(inPipe, O_CLOEXEC) != 0) return kChildNotRun;
  if (pipe2(outPipe, O_CLOEXEC) != 0) {
    CloseFd(inPipe[0]);
    CloseFd(inPipe[1]);
    return kChildNotRun;
  }
  pid_t parent = getpid();
  pid_t pid = fork();
  if (pid == 0) {
    // Child: only async-signal-safe calls until exec. The pipe ends are first
    // moved above the standard descriptors, because when this process runs with
    // stdin or stdout closed they may have been given numbers 0 or 1. Without the
    // pipes as its stdin and stdout the program would answer on this process's own
    // stdout, so it is then not run and the next backend shows the box.
    int childIn = fcntl(inPipe[0], F_DUPFD_CLOEXEC, 3);
    int childOut = fcntl(outPipe[1], F_DUPFD_CLOEXEC, 3);
    if (childIn < 0 || childOut < 0 || dup2(childIn, STDIN_FILENO) < 0 || dup2(childOut, STDOUT_FILENO) < 0)
      _exit(kChildNotRun);
    // The dialog programs chatter about themes and accessibility on stderr.
    int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (devNull >= 0 && devNull != STDERR_FILENO) dup2(devNull, STDERR_FILENO);
    // The program may hold its close signals; the dialog must not inherit that.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    // A dialog outliving a killed program would wait for an answer nobody reads.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(kChildNotRun);
    execve(path, argv, environ);
    _exit(kChildNotRun);
  }
  CloseFd(inPipe[0]);
  CloseFd(outPipe[1]);
  if (pid < 0) {
    CloseFd(inPipe[1]);
    CloseFd(outPipe[0]);
    return kChildNotRun;
  }
  if (input != nullptr && inputLen > 0) FeedInput(inPipe[1], input, inputLen);
  CloseFd(inPipe[1]);

  std::size_t used = 0;
  char sink[256];
  for (;;) {
    // Beyond the caller's buffer the output is drained and dropped, so the
    // child never blocks on a full pipe.
    bool room = used + 1 < outCap;
    ssize_t n = room ? read(outPipe[0], out + used, outCap - 1 - used) : read(outPipe[0], sink, sizeof sink);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (room) used += static_cast<std::size_t>(n);
  }
  if (outCap > 0) out[used] = '\0';
  CloseFd(outPipe[0]);

  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return -1;
}

std::string FindProgram(const char* name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    // An empty entry stands for the current directory.
    std::string candidate = (end > start ? dirs.substr(start, end - start) : std::string(".")) + "/" + name;
    struct stat info {};
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    start = end + 1;
  }
  return "";
}
