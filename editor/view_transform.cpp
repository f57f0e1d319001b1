#include "editor/view_transform.h"

#include "editor/classes.h"

namespace {

constexpr int kZooms[] = {25, 50, 100, 200};
constexpr int kZoomCount = 4;

int view_zoom = 100;

// Floor division: window pixels left of or above the view map to level points
// before the camera position, rounded toward minus infinity like the ones after it.
int FloorDiv(int a, int b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

// The camera position and the window pixel it is shown at.
void Origin(int& cx, int& cy, int& ox, int& oy) {
  const ViewFrame frame = cam ? cam->frame : ViewFrame{};
  cx = cam ? cam->x : 0;
  cy = cam ? cam->y : 0;
  ox = frame.ox;
  oy = frame.oy;
}

}  // namespace

int ViewZoom() { return view_zoom; }

void SetViewZoom(int percent) {
  for (int z : kZooms)
    if (z == percent) view_zoom = percent;
}

int StepViewZoom(int percent, int steps) {
  int index = 2;
  for (int i = 0; i < kZoomCount; ++i)
    if (kZooms[i] == percent) index = i;
  index += steps;
  if (index < 0) index = 0;
  if (index >= kZoomCount) index = kZoomCount - 1;
  return kZooms[index];
}

int WindowToLevelSpan(int pixels) { return FloorDiv(pixels * 100, view_zoom); }

void WindowToLevel(int wx, int wy, int& lx, int& ly) {
  int cx = 0, cy = 0, ox = 0, oy = 0;
  Origin(cx, cy, ox, oy);
  lx = cx + WindowToLevelSpan(wx - ox);
  ly = cy + WindowToLevelSpan(wy - oy);
}

void LevelToWindow(int lx, int ly, int& wx, int& wy) {
  int cx = 0, cy = 0, ox = 0, oy = 0;
  Origin(cx, cy, ox, oy);
  wx = ox + FloorDiv((lx - cx) * view_zoom, 100);
  wy = oy + FloorDiv((ly - cy) * view_zoom, 100);
}
