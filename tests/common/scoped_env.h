#pragma once

#include <optional>
#include <string>

// Sets (or, with nullptr, removes) an environment variable while it lives and puts back what was
// there before when destroyed, also when an assertion ends the test early.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;
  // Changes the value again; the destructor still restores the value from before the first.
  void Set(const char* value);

 private:
  std::string name_;
  std::optional<std::string> before_;
};
