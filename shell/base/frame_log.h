#pragma once

#include <cstdint>

// The frame log, for programs that drive this one from outside (the end-to-end
// tests). When QBRRE_FRAME_LOG names a file, one line is appended to it per event:
//   "enter N"  the main loop enters mode N;
//   "ready N"  mode N has shown its first frame since it was entered, so its
//              logic updates read the keyboard and mouse from now on;
// and the file FILE.passes holds the number of frame passes that have run logic
// updates so far, as decimal digits rewritten in place: input held until that
// number grew by two was read by at least one whole pass, however long the
// passes take. Without the variable nothing is written. Worker thread only.

// The main loop enters mode `mode`.
void FrameLogModeEntered(uint32_t mode);

// A pass ran its logic updates.
void FrameLogUpdatesRan();

// A pass presented its frame.
void FrameLogFrameShown();
