#include "platform/process_spawn.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

extern char** environ;

bool PlatformSplitCommand(const std::string& line, std::vector<std::string>& words) {
  words.clear();
  std::string word;
  bool in_word = false;
  const std::size_t n = line.size();
  std::size_t i = 0;
  while (i < n) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
      ++i;
      continue;
    }
    in_word = true;
    if (c == '\'') {
      const std::size_t end = line.find('\'', i + 1);
      if (end == std::string::npos) break;
      word.append(line, i + 1, end - i - 1);
      i = end + 1;
    } else if (c == '"') {
      std::size_t j = i + 1;
      while (j < n && line[j] != '"') {
        if (line[j] == '\\' && j + 1 < n && (line[j + 1] == '"' || line[j + 1] == '\\')) ++j;
        word += line[j++];
      }
      if (j >= n) break;
      i = j + 1;
    } else if (c == '\\') {
      if (i + 1 >= n) break;
      word += line[i + 1];
      i += 2;
    } else {
      word += c;
      ++i;
    }
  }
  if (i < n) {
    // Left early: an unterminated quote or a trailing backslash.
    words.clear();
    return false;
  }
  if (in_word) words.push_back(word);
  return true;
}

namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string PlatformFindProgram(const std::string& name) {
  if (name.empty()) return "";
  if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : "";
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    // An empty entry stands for the current folder.
    std::string folder = end > start ? folders.substr(start, end - start) : ".";
    const std::string candidate = folder + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return "";
}

bool PlatformSpawnDetached(const std::vector<std::string>& argv, std::function<void(int status)> on_exit,
                           std::string& error, int* child) {
  if (argv.empty()) {
    error = "no program given";
    return false;
  }
  const std::string program = PlatformFindProgram(argv[0]);
  if (program.empty()) {
    error = argv[0] + ": no such program";
    return false;
  }
  // Everything the child needs is prepared before the fork: between fork and
  // exec it makes only async-signal-safe calls.
  std::vector<std::string> args = argv;
  std::vector<char*> arg_ptrs;
  for (std::string& a : args) arg_ptrs.push_back(a.data());
  arg_ptrs.push_back(nullptr);
  // exec failing in the child is reported through this pipe; a successful exec
  // closes it (close-on-exec) and the parent reads end of file.
  int report[2] = {-1, -1};
  if (pipe2(report, O_CLOEXEC) != 0) {
    error = std::string("no pipe: ") + std::strerror(errno);
    return false;
  }
  const int null_in = open("/dev/null", O_RDONLY | O_CLOEXEC);
  const pid_t pid = fork();
  if (pid == 0) {
    if (null_in >= 0) dup2(null_in, STDIN_FILENO);
    // The program's own descriptors (the X connection, files, pipes) stay with it.
    const int keep = report[1];
    if (keep > 3) close_range(3, static_cast<unsigned>(keep) - 1, 0);
    close_range(static_cast<unsigned>(keep) + 1, ~0u, 0);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGPIPE, SIGCHLD}) signal(sig, SIG_DFL);
    // Its own process group: a Ctrl+C meant for this program does not reach it.
    setpgid(0, 0);
    execve(program.c_str(), arg_ptrs.data(), environ);
    const int cause = errno;
    ssize_t ignored = write(keep, &cause, sizeof cause);
    (void)ignored;
    _exit(127);
  }
  if (null_in >= 0) close(null_in);
  close(report[1]);
  if (pid < 0) {
    error = std::string("fork failed: ") + std::strerror(errno);
    close(report[0]);
    return false;
  }
  int cause = 0;
  ssize_t got;
  do {
    got = read(report[0], &cause, sizeof cause);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  if (got > 0) {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    error = program + ": " + std::strerror(cause);
    return false;
  }
  if (child != nullptr) *child = pid;
  std::thread([pid, on_exit = std::move(on_exit)] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
      if (errno != EINTR) {
        status = 0;
        break;
      }
    }
    const int code = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    if (on_exit) on_exit(code);
  }).detach();
  return true;
}

std::string PlatformProcessIdentity(int pid) {
  if (pid <= 0) return "";
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat;
  if (!std::getline(in, stat)) return "";
  // After the program's name in parentheses (which may hold anything): the state, then 18 fields
  // up to the start time in clock ticks since boot.
  const std::size_t close = stat.rfind(')');
  if (close == std::string::npos) return "";
  std::istringstream fields(stat.substr(close + 1));
  std::string state, field;
  fields >> state;
  for (int i = 0; i < 19 && fields >> field; ++i) {
  }
  if (!fields || state == "Z" || state == "X") return "";
  return std::to_string(pid) + " " + field;
}
