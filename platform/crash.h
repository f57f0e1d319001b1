#pragma once

// The crash dialog: a fatal signal (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT)
// or std::terminate shows "QBRRE - Program Crash!!" through the dialog
// backends (kind "crash") until "Quit Without Saving" is chosen, which ends
// the process with exit code 128 + the signal (SIGABRT for std::terminate). The
// other four buttons leave it up. Before the dialog, the registered keeper
// writes the unsaved work away.

// Title and text of the crash dialog.
extern const char* const kCrashTitle;
extern const char* const kCrashText;

// Installs the signal handlers and the terminate handler, and gives the calling
// thread an alternate signal stack. Called once by the program's start-up (never
// by unit tests, whose sanitizers and seams keep their own handlers). The
// dialog backend (script, log, display, programs) is chosen here, because the
// handler itself may not allocate.
void InstallCrashHandler();

// Puts the crash handlers back over those a library installed since (Allegro's
// start-up installs its own, which shut the library down under the running
// threads before the dialog). Nothing before InstallCrashHandler.
void ReclaimCrashSignals();

// Gives the calling thread its own alternate signal stack, so that a stack
// overflow on it still reaches the crash dialog. For threads started after
// InstallCrashHandler.
void InstallCrashSignalStack();

// What runs before the crash dialog to keep the unsaved work: async-signal-safe
// calls only. nullptr (the default): nothing.
void SetCrashWorkKeeper(void (*keep)());

// Runs the keeper, shows the crash dialog until it is quit, then ends the
// process with exit code 128 + the fatal signal. Uses only async-signal-safe
// calls once InstallCrashHandler has run.
[[noreturn]] void ShowCrashDialogAndExit();
