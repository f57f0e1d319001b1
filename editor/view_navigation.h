#pragma once

class CCamera;
struct InputSnapshot;

// Mouse wheel and zoom input of the editor view, run by the camera once per
// logic update before it clamps its position:
// - the wheel scrolls 32 window pixels a notch up or down, with Shift (or a
//   sideways wheel) left or right;
// - Ctrl+wheel, Ctrl+Plus, Ctrl+Minus and Ctrl+0 (back to 100 %) step the zoom
//   through 25, 50, 100 and 200 %, keeping the level point under the mouse (or,
//   with the mouse off the view, the view's centre) in place.
// Everything is read from `in`, whose wheel notches count from the last update
// (and from nothing when the view was entered, so a new level does not replay them).
void ViewNavigationStep(CCamera& camera, const InputSnapshot& in);

// Sets the zoom to `percent`, moving the camera so that the level point shown
// at window pixel (wx, wy) stays there (before clamping).
void ZoomViewAround(CCamera& camera, int percent, int wx, int wy);
