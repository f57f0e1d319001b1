#include "tests/common/scoped_env.h"

#include <cstdlib>

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* before = std::getenv(name)) before_ = before;
  Set(value);
}

ScopedEnv::~ScopedEnv() { Set(before_ ? before_->c_str() : nullptr); }

void ScopedEnv::Set(const char* value) {
  if (value != nullptr) setenv(name_.c_str(), value, 1);
  else unsetenv(name_.c_str());
}
