#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dialogs.h"

// A temporary directory, the dialog environment variables cleared (and
// restored afterwards) and the desktop backend chosen, so each test picks its backend.
class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Path of a file in the test's directory.
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  // Names a new script holding `content` in QBRRE_DIALOG_SCRIPT and makes the
  // start-up choice (the scripted backend over it); points the log at log.jsonl.
  void UseScript(const std::string& content);
  // Lines of the dialog log.
  std::vector<std::string> LogLines() const;

  std::string dir_;

 private:
  std::vector<std::pair<std::string, std::string>> saved_;
  int scripts_ = 0;
};

void WriteTextFile(const std::string& path, const std::string& content);
std::string ReadTextFile(const std::string& path);
