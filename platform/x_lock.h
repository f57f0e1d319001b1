#pragma once

// Allegro's X lock, for the platform's own calls on Allegro's X connection
// (Allegro's background thread talks to the same connection).

// Holds the lock for one call. A call that waits for a reply reads the input
// that came before it into memory, where the background thread, which sleeps
// until the connection has something to read, would not see it: on release
// the thread is woken when input waits there.
class XLock {
 public:
  XLock();
  ~XLock();
  XLock(const XLock&) = delete;
  XLock& operator=(const XLock&) = delete;
};

// Takes the lock for a moment; true when input read from the connection waits in memory.
bool XInputQueued();
