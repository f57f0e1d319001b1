#pragma once

#include "platform/allegro_include.h"

// State of a resize gesture, shared by every widget that resizes the window.
struct CHG_ResizeGesture {
  int size_x = 0, size_y = 0;                          // cursor screen position when the resize began
  int orig_t = 0, orig_r = 0, orig_l = 0, orig_b = 0;  // window's screen rectangle then
  bool size_z = false;                                 // a resize is in progress
  bool m = false;                                      // this widget set the cursor shape and must reset it
};

// What a resize widget may change and how it looks while it does.
struct ResizeZone {
  int x, y, w, h;  // hit zone in window pixels
  bool permitted;  // the resize directions this widget needs are allowed
  int cursor;      // cursor shape shown over the zone
  bool change_w;   // dragging changes the width
  bool change_h;   // dragging changes the height
};

// One logic step of a resize widget: a press in the zone starts the gesture; while
// held, the window follows the cursor, clamped to 512x256 .. screen (above the task bar);
// the release ends it. The root's w and h change through the references.
void ResizeGestureStep(CHG_ResizeGesture& g, const ResizeZone& zone, int& w, int& h);

// Left border: drawn only, never resizes.
class CHG_WLBorder {
 public:
  void Draw(BITMAP* dest, int h);
};

// Right border: resizes the width.
class CHG_WRBorder : public CHG_ResizeGesture {
 public:
  void Proc(int& w, int& h);
  void Draw(BITMAP* dest, int w, int h);
};

// Bottom border: resizes the height.
class CHG_WBBorder : public CHG_ResizeGesture {
 public:
  void Proc(int& w, int& h);
  void Draw(BITMAP* dest, int w, int h);
};

// Bottom-right corner: resizes both.
class CHG_WDBorder : public CHG_ResizeGesture {
 public:
  void Proc(int& w, int& h);
  void Draw(BITMAP* dest, int w, int h);
};
