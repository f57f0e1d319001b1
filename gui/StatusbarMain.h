#pragma once

#include "gui/WindowFrame.h"
#include "platform/allegro_include.h"

// The status bar: a 16-pixel band above the bottom border with a resize grip at its
// right end. It has no text of its own; the level editor prints into it.
class CHG_WStatusBar : public CHG_ResizeGesture {
 public:
  // The grip resizes in whichever directions are allowed.
  void Proc(int& w, int& h);
  void Draw(BITMAP* dest, int w, int h);
};
