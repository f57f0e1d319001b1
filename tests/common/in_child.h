#pragma once

// Runs a test's step in a child process, so that what it changes about the process (a file size
// limit, dropped rights, a kill) stays there.

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

// Runs `body` in a child process; its exit code, or 100 + the signal that ended it.
inline int InChild(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}
