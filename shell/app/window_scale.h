#pragma once

#include <string>

// The window scale for high-density screens: every pixel of the program shown
// as 2 x 2, 3 x 3 or 4 x 4 screen pixels (PlatformSetWindowScale).

// The scale asked for with --scale N on the command line; 0 when not given.
extern int RequestedWindowScale;

// The largest scale from `requested` (1-4; any other value counts as 1) down to
// 1 at which the editor's window of 776 x 604 fits a screen of w x h pixels
// (h without the desktop panel's strip).
int FitWindowScale(int requested, int screen_w, int screen_h);

// The line that tells the user a scale asked for (1-4, from --scale or else from "Scale" in
// [Engine]) was lowered to `scale` for a screen of w x h pixels; "" when it was kept.
std::string WindowScaleNotice(int requested, bool from_command_line, int scale, int screen_w, int screen_h);

// Chooses the scale for a screen of w x h pixels: RequestedWindowScale, else
// "Scale" of section "Engine" of the configuration, fitted to the screen; sets
// it in the platform layer and returns it; a lowered scale is named on stderr (WindowScaleNotice).
// Called once the graphics mode is set.
int ChooseWindowScale(int screen_w, int screen_h);

// The largest scale (1-4) at which the editor's window fits the screen now, beside
// the desktop panel's strip: FitWindowScale(4, ...) of the screen in its own pixels.
int LargestWindowScale();

// Changes the running window's scale to `scale` (1-4) from the settings: the window
// keeps its size in the program's pixels (cut to the screen where it would not fit),
// is placed as the editor's window is when it opens, and is drawn whole again at
// the new scale, cursor included.
void ChangeWindowScale(int scale);
