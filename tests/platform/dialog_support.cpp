#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/platform/dialog_fixture.h"

namespace {
const char* const kVariables[] = {"QBRRE_DIALOG_SCRIPT", "QBRRE_DIALOG_LOG", "DISPLAY", "PATH"};
}

void WriteTextFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  ASSERT_TRUE(out.good()) << path;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void DialogTest::SetUp() {
  for (const char* name : kVariables) {
    const char* value = std::getenv(name);
    saved_.emplace_back(name, value != nullptr ? value : std::string("\x01unset"));
  }
  unsetenv("QBRRE_DIALOG_SCRIPT");
  unsetenv("QBRRE_DIALOG_LOG");
  PlatformUseDesktopDialogs();
  std::string pattern = (std::filesystem::temp_directory_path() / "dialog_test_XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  dir_ = pattern;
}

void DialogTest::TearDown() {
  PlatformUseDesktopDialogs();
  for (const auto& [name, value] : saved_) {
    if (value == "\x01unset") {
      unsetenv(name.c_str());
    } else {
      setenv(name.c_str(), value.c_str(), 1);
    }
  }
  std::filesystem::remove_all(dir_);
}

void DialogTest::UseScript(const std::string& content) {
  // A fresh file name each time: the script position belongs to the file named.
  std::string script = Path("script" + std::to_string(++scripts_) + ".txt");
  WriteTextFile(script, content);
  setenv("QBRRE_DIALOG_SCRIPT", script.c_str(), 1);
  setenv("QBRRE_DIALOG_LOG", Path("log.jsonl").c_str(), 1);
  PlatformChooseDialogBackend();
}

std::vector<std::string> DialogTest::LogLines() const {
  std::istringstream in(ReadTextFile(Path("log.jsonl")));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}
