#pragma once

// The editor as a process: the main thread pumps the window messages while the
// worker thread builds the program, runs the main loop and tears it down.
// SIGTERM, SIGINT and SIGHUP close it like Escape (a second one ends it at once).
// Returns the exit code (0 after an orderly close).
int RunEditor();

// Window procedure of the main thread: the close handshake with the worker
// (close: flags set, configuration restored and flushed until the worker is done),
// destroy (posts quit 0); every other message has no action.
void WndProc(int message, int param);
