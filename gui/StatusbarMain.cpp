#include "gui/StatusbarMain.h"

#include "gui/FramePieces.h"
#include "resources/skin.h"
#include "shell/base/variables.h"

void CHG_WStatusBar::Proc(int& w, int& h) {
  ResizeGestureStep(
      *this,
      {w - 20, h - 20, kGripSize, kGripSize, AllowHResize || AllowVResize, kCursorDResize, AllowHResize, AllowVResize},
      w, h);
}

void CHG_WStatusBar::Draw(BITMAP* dest, int w, int h) {
  DrawColumnStretched(HelioBMP[21], dest, 4, h - 20, w - 24);
  DrawCopy(HelioBMP[23], dest, w - 20, h - 20);
}
