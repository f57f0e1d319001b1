#pragma once

// Allegro's background thread, which reads the X input (and feeds a sound
// driver), replaced by a quiet one (platform/background_calls.h). Allegro's own
// wakes every millisecond to see whether 10 ms have passed, then asks the X
// server for a reply whether or not anything came: some 200 wake-ups and 100
// round trips a second in an idle window. The quiet one reads the input when
// the connection has some, and sends the drawing when the program wakes it.

// Puts the quiet thread in place of Allegro's; call before install_allegro.
void PlatformUseQuietBackgroundThread();

// Has the background thread run its functions soon (at once, or 10 ms after its
// last run): after a frame was drawn, whose requests then leave the connection's
// buffer for the display. Does nothing while Allegro's own thread is in use.
void PlatformWakeBackgroundThread();
