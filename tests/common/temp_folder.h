#pragma once

// Private temporary folders and polling waits for the tests: no test uses a fixed name in the shared
// temporary folder, and no test waits a fixed time for something another thread or process does.

#include <chrono>
#include <filesystem>
#include <functional>

// A fresh empty folder of its own under the temporary folder ($TMPDIR or /tmp), removed with its
// contents when the object is destroyed, also when an assertion ends the test early.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // The folder; empty when it could not be made.
  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the folder.
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Calls `done` every few milliseconds until it returns true or `deadline` has passed; returns its last
// answer. Deadlines are generous: a slow machine only makes the wait longer, never the test fail.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline = std::chrono::seconds(20));
