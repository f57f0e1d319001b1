#include "platform/crash.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include "platform/dialog_backend.h"

const char* const kCrashTitle = "QBRRE - Program Crash!!";
const char* const kCrashText =
    "While running, an unknown exception has occured.\n"
    "QBRRE will terminate execution once this dialog is closed.\n"
    "\n"
    "You may attempt one of the following recovery options:";

namespace {

// A program's arguments kept ready for execve.
struct PreparedProgram {
  std::string path;  // "" when the program is not installed
  std::vector<std::string> args;
  std::vector<char*> argv;

  void Prepare(std::vector<std::string> programArgs) {
    path = FindProgram(programArgs[0].c_str());
    args = std::move(programArgs);
    argv.clear();
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
  }
};

// Everything the handler needs, built while the heap is still sound.
struct CrashBackend {
  std::string script;    // answer script, "" when none
  std::string log;       // dialog log, "" when none
  bool display = false;  // an X display could be opened
  PreparedProgram zenity;
  PreparedProgram xmessage;
  std::string logPrefix;   // log line up to the answer's opening quote
  std::string stderrText;  // what the stderr backend prints
};

CrashBackend* backend = nullptr;
std::atomic<bool> crashing{false};
std::atomic<void (*)()> work_keeper{nullptr};
// The signal that brought the crash; std::terminate counts as SIGABRT.
volatile sig_atomic_t crash_signal = SIGABRT;

constexpr const char* kQuit = "Quit Without Saving";

void LogAnswer(const CrashBackend& b, const char* answer) {
  if (b.log.empty()) return;
  char line[2048];
  std::size_t used = b.logPrefix.size();
  if (used + 8 >= sizeof line) return;
  std::memcpy(line, b.logPrefix.data(), used);
  used += JsonEscapeInto(answer, std::strlen(answer), line + used, sizeof line - used - 4);
  std::memcpy(line + used, "\"}\n", 3);
  AppendToDialogLog(b.log.c_str(), line, used + 3);
}

// Shows the dialog once through the first backend that works and copies the
// button chosen into `answer` ("" when it was closed without a choice).
void AskOnce(const CrashBackend& b, char* answer, std::size_t cap) {
  answer[0] = '\0';
  if (!b.script.empty()) {
    if (!NextScriptAnswer(b.script.c_str(), answer, cap)) std::strncpy(answer, kQuit, cap - 1);
    return;
  }
  if (b.display && !b.zenity.path.empty()) {
    int status = RunChild(b.zenity.path.c_str(), b.zenity.argv.data(), nullptr, 0, answer, cap);
    if (status != kChildNotRun) {
      if (status != 0) answer[0] = '\0';
      answer[std::strcspn(answer, "\r\n")] = '\0';
      return;
    }
  }
  if (b.display && !b.xmessage.path.empty()) {
    char ignored[64];
    int status = RunChild(b.xmessage.path.c_str(), b.xmessage.argv.data(), kCrashText, std::strlen(kCrashText), ignored,
                          sizeof ignored);
    if (status != kChildNotRun) {
      // xmessage reports the button as its exit code: 10 + the button's index.
      const std::vector<std::string>& choices = CrashChoices();
      int index = status - 10;
      if (index >= 0 && index < static_cast<int>(choices.size())) {
        std::strncpy(answer, choices[static_cast<std::size_t>(index)].c_str(), cap - 1);
      }
      return;
    }
  }
  std::strncpy(answer, kQuit, cap - 1);
  WriteFully(STDERR_FILENO, b.stderrText.data(), b.stderrText.size());
}

void OnFatalSignal(int sig) {
  crash_signal = sig;
  ShowCrashDialogAndExit();
}

void OnTerminate() { ShowCrashDialogAndExit(); }

}  // namespace

void InstallCrashSignalStack() {
  // Room for the dialog's buffers and a fork, whatever the thread's stack holds.
  constexpr std::size_t kSize = 256 * 1024;
  void* memory = mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) return;
  stack_t stack{};
  stack.ss_sp = memory;
  stack.ss_size = kSize;
  if (sigaltstack(&stack, nullptr) != 0) munmap(memory, kSize);
}

void InstallCrashHandler() {
  auto* b = new CrashBackend;
  const char* script = std::getenv("QBRRE_DIALOG_SCRIPT");
  const char* log = std::getenv("QBRRE_DIALOG_LOG");
  b->script = script != nullptr ? script : "";
  b->log = log != nullptr ? log : "";
  if (b->script.empty()) {
    b->display = DisplayAvailable();
    b->zenity.Prepare(ZenityBoxArgs(BoxKind::Crash, kCrashTitle, kCrashText));
    b->xmessage.Prepare(XmessageBoxArgs(BoxKind::Crash, kCrashTitle));
  }
  std::string line = DialogLogLine({BoxKind::Crash, kCrashTitle, kCrashText, ""});
  b->logPrefix = line.substr(0, line.size() - 3);  // drop the closing quote, brace and newline
  b->stderrText = StderrBoxText({BoxKind::Crash, kCrashTitle, kCrashText, kQuit});
  backend = b;

  InstallCrashSignalStack();
  ReclaimCrashSignals();
  std::set_terminate(OnTerminate);
}

void ReclaimCrashSignals() {
  if (backend == nullptr) return;
  struct sigaction action {};
  action.sa_handler = OnFatalSignal;
  action.sa_flags = SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigaction(sig, &action, nullptr);
}

void SetCrashWorkKeeper(void (*keep)()) { work_keeper = keep; }

void ShowCrashDialogAndExit() {
  // A second thread that crashes meanwhile waits for the first one's dialog.
  if (crashing.exchange(true)) {
    for (;;) pause();
  }
  // The work first: the dialog may wait for ever, or never come up.
  if (void (*keep)() = work_keeper.load()) keep();
  const int status = 128 + crash_signal;
  if (backend == nullptr) {
    WriteFully(STDERR_FILENO, kCrashText, std::strlen(kCrashText));
    _exit(status);
  }
  char answer[PATH_MAX];
  for (;;) {
    AskOnce(*backend, answer, sizeof answer);
    LogAnswer(*backend, answer);
    if (std::strcmp(answer, kQuit) == 0) _exit(status);
  }
}
