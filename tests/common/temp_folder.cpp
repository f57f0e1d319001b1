#include "tests/common/temp_folder.h"

#include <stdlib.h>

#include <string>
#include <system_error>
#include <thread>

TempFolder::TempFolder() {
  std::error_code error;
  std::string pattern = (std::filesystem::temp_directory_path(error) / "qbrre-test-XXXXXX").string();
  if (!error && mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code error;
  if (!path_.empty()) std::filesystem::remove_all(path_, error);
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}
