#include "platform/dialogs.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <unistd.h>

#include "platform/dialog_backend.h"

namespace {

std::mutex seamMutex;
std::function<std::string(const DialogRecord&)> seam;

// Value of an environment variable naming a file, or nullptr when unset or empty.
const char* EnvFile(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

// Runs one desktop dialog program; false when it is not installed or could not
// be executed, so the next backend gets the box.
bool RunDesktopProgram(std::vector<std::string> args, const std::string& input, int& status, std::string& output) {
  std::string path = FindProgram(args[0].c_str());
  if (path.empty()) return false;
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  // Enough for any path the file chooser returns.
  std::vector<char> buffer(PATH_MAX * 4);
  status = RunChild(path.c_str(), argv.data(), input.data(), input.size(), buffer.data(), buffer.size());
  if (status == kChildNotRun) return false;
  output = buffer.data();
  return true;
}

// The chooser starts where relative paths point (otherwise it opens on the
// desktop's recent files).
std::string WorkingFolder() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

// Shows the box on the desktop: zenity, else xmessage (which has no file
// chooser). False when neither could show it.
bool ShowOnDesktop(DialogRecord& record, const std::vector<FileFilter>* filters) {
  int status = 0;
  std::string output;
  std::vector<std::string> zenity = filters != nullptr ? ZenityOpenArgs(record.title, *filters, WorkingFolder())
                                                       : ZenityBoxArgs(record.kind, record.title, record.text);
  if (RunDesktopProgram(zenity, "", status, output)) {
    record.answer = ZenityAnswer(record.kind, status, output);
    return true;
  }
  if (filters != nullptr) return false;
  if (RunDesktopProgram(XmessageBoxArgs(record.kind, record.title), record.text, status, output)) {
    record.answer = XmessageAnswer(record.kind, status);
    return true;
  }
  return false;
}

// Batch and CI runs have nobody to answer: print the box and take its default.
void ShowOnStderr(DialogRecord& record) {
  record.answer = DefaultAnswer(record.kind);
  std::string message = StderrBoxText(record);
  std::fwrite(message.data(), 1, message.size(), stderr);
}

std::string Ask(BoxKind kind, const std::string& title, const std::string& text,
                const std::vector<FileFilter>* filters) {
  DialogRecord record{kind, title, text, ""};
  std::function<std::string(const DialogRecord&)> capture;
  {
    std::lock_guard<std::mutex> lock(seamMutex);
    capture = seam;
  }
  const char* script = EnvFile("QBRRE_DIALOG_SCRIPT");
  if (capture) {
    record.answer = NormaliseAnswer(kind, capture(record));
  } else if (script != nullptr) {
    char line[PATH_MAX + 64];
    record.answer = NextScriptAnswer(script, line, sizeof line) ? NormaliseAnswer(kind, line) : DefaultAnswer(kind);
  } else if (!DisplayAvailable() || !ShowOnDesktop(record, filters)) {
    ShowOnStderr(record);
  }
  if (const char* log = EnvFile("QBRRE_DIALOG_LOG")) {
    std::string line = DialogLogLine(record);
    AppendToDialogLog(log, line.data(), line.size());
  }
  return record.answer;
}

}  // namespace

std::string PlatformShowBox(BoxKind kind, const std::string& title, const std::string& text) {
  return Ask(kind, title, text, nullptr);
}

std::string PlatformOpenFileDialog(const std::string& title, const std::vector<FileFilter>& filters) {
  std::string text;
  for (const FileFilter& filter : filters) {
    if (!text.empty()) text += "\n";
    text += filter.description + " (" + filter.patterns + ")";
  }
  std::string answer = Ask(BoxKind::Open, title, text, &filters);
  return answer == DefaultAnswer(BoxKind::Open) ? "" : answer;
}

void SetDialogSeam(std::function<std::string(const DialogRecord&)> answer) {
  std::lock_guard<std::mutex> lock(seamMutex);
  seam = std::move(answer);
}
