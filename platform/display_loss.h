// A lost display (the X server ended, the user logged out): Xlib calls its I/O error handler and,
// by default, exit(), whose clean-up then waits for threads that wait for the display. Here the
// handler keeps the unsaved work and ends the process at once, whichever thread found the loss.
#pragma once

// Exit code of a process whose display was lost.
constexpr int kDisplayLostExitCode = 1;

// Installs the I/O error handler of Xlib: it says so on stderr, runs `keep` (async-signal-safe calls
// only: the other threads may hold any lock) and ends the process with kDisplayLostExitCode.
void InstallDisplayLossHandler(void (*keep)());
