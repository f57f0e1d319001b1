#pragma once

// Closing on a signal. SIGTERM (kill, a desktop logout), SIGINT (Ctrl+C in the
// terminal that started the program) and SIGHUP (that terminal closed) post the
// close message, so the program ends the way Escape ends it. A second one while
// closing ends the process at once with exit code 128 + the signal number.
//
// Allegro's start-up puts its own handlers on SIGTERM and SIGINT, which shut the
// library down under the running worker. So the signals are held (blocked) from
// the start, and taken up by the worker once Allegro is in place, replacing them.

// Blocks the close signals in the calling thread and in every thread it starts
// from now on; a close signal that comes meanwhile waits for TakeCloseSignals.
void HoldCloseSignals();

// Installs the close handlers (replacing whatever a library put there) and unblocks
// the close signals in the calling thread, which receives them from then on. A
// signal that was waiting is handled before this returns.
void TakeCloseSignals();

// True once a close signal has been handled.
bool CloseSignalReceived();

// Ignores SIGXFSZ, so that a write past the file size limit (ulimit -f) fails with EFBIG and is
// reported like any failed write, its temporary file removed, instead of killing the process. For the
// commands without a window, which start no other program (an ignored signal stays ignored across exec).
void IgnoreFileSizeSignal();

// The first close signal handled (0 before one).
int CloseSignalNumber();
