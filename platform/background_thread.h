#pragma once

// Allegro's background thread, which reads the X input (and feeds a sound
// driver), replaced by a quiet one (platform/background_calls.h). Allegro's own
// wakes every millisecond to see whether 10 ms have passed, then asks the X
// server for a reply whether or not anything came: some 200 wake-ups and 100
// round trips a second in an idle window. The quiet one reads the input when
// the connection has some; the program sends its drawing itself.

// Puts the quiet thread in place of Allegro's; call before install_allegro.
void PlatformUseQuietBackgroundThread();

// Has the background thread run its functions soon (at once, or 10 ms after its
// last run): input waits in the X connection's memory (x_lock.h).
void PlatformWakeBackgroundThread();

// Sends the drawing requests waiting in the X connection's buffer to the
// display, which Allegro's thread did every 10 ms and the quiet one leaves to
// the program: after each frame is presented. Nothing while it is not in use.
void PlatformSendDrawing();
