#include "platform/display_loss.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <atomic>

namespace {

std::atomic<void (*)()> keeper{nullptr};

int OnDisplayLost(Display*) {
  constexpr char kLost[] = "qbrre: the connection to the display was lost\n";
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, kLost, sizeof kLost - 1);
  if (void (*keep)() = keeper.load()) keep();
  // Not exit(): its clean-up waits for threads that wait for the display.
  _exit(kDisplayLostExitCode);
}

}  // namespace

void InstallDisplayLossHandler(void (*keep)()) {
  keeper = keep;
  XSetIOErrorHandler(OnDisplayLost);
}
