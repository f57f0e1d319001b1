#pragma once

// The mapping between window pixels and level pixels of the editor's view:
// the live camera's position (the level point at the view's top-left corner,
// window pixel (4, 60)) and the zoom. Window pixels are the program's own 1x
// layout coordinates: for the mouse pass the input snapshot's wx and wy, not Allegro's
// raw mouse_x and mouse_y, which count the pixels of a scaled window.

// Zoom of the level view in percent: 25, 50, 100 or 200.
int ViewZoom();

// Level point shown at window pixel (wx, wy) of the level view (camera position and zoom applied).
void WindowToLevel(int wx, int wy, int& lx, int& ly);

// Window pixel at which level point (lx, ly) is shown.
void LevelToWindow(int lx, int ly, int& wx, int& wy);

// Level pixels spanned by `pixels` window pixels at the zoom, rounded toward
// minus infinity (what WindowToLevel adds to the camera position).
int WindowToLevelSpan(int pixels);

// Sets the zoom; any value other than 25, 50, 100 or 200 is ignored.
void SetViewZoom(int percent);

// The zoom `steps` steps in from `percent` along 25, 50, 100, 200 (negative
// steps zoom out), stopping at the ends.
int StepViewZoom(int percent, int steps);
