#pragma once

// The main thread's message queue. It stands in for the window-message pump of
// the desktop window: any thread may post, only the main thread takes messages.

// Message numbers, kept at the values the window procedure has always used.
constexpr int PLATFORM_MSG_DESTROY = 0x0002;  // the window is gone; ends the pump
constexpr int PLATFORM_MSG_CLOSE = 0x0010;    // the window is asked to close
constexpr int PLATFORM_MSG_QUIT = 0x0012;     // leave the pump; the parameter is the exit code
constexpr int PLATFORM_MSG_WAKE = 0x0200;     // no action; wakes a thread waiting for a message

struct PlatformMessage {
  int message = 0;
  int param = 0;
};

// Appends a message to the queue and wakes the thread waiting in PlatformGetMessage.
void PlatformPostMessage(int message, int param = 0);

// Posts a message (not 0; parameter 0) from a signal handler: async-signal-safe, it takes
// no lock and allocates nothing, so it may interrupt any thread, even one inside
// the queue. Such messages are taken after those already queued. Returns false when
// the few places kept for them are all waiting to be taken (the message is dropped).
bool PlatformPostMessageFromSignal(int message);

// Blocks until a message is queued and takes it. Returns false for the quit message
// (which is still stored in `out`), true for every other one.
bool PlatformGetMessage(PlatformMessage& out);

// Takes the next message if there is one; never blocks.
bool PlatformPeekMessage(PlatformMessage& out);

// Drops every queued message (tests start from an empty queue).
void PlatformClearMessages();
