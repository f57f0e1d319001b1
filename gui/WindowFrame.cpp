#include "gui/WindowFrame.h"

#include "gui/FramePieces.h"
#include "gui/HelioWin.h"
#include "platform/window.h"
#include "resources/skin.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

void ResizeGestureStep(CHG_ResizeGesture& g, const ResizeZone& zone, int& w, int& h) {
  if ((!g.size_z && !IsMouseHover(zone.x, zone.y, zone.w, zone.h)) || !zone.permitted) {
    if (MC_CURRENT == zone.cursor && g.m) {
      SetMouseCursorBitmap(kCursorNormal);
      g.m = false;
    }
    return;
  }
  SetMouseCursorBitmap(zone.cursor);
  g.m = true;
  switch (mouse_q) {
    case 1:
      PlatformGetCursorPos(g.size_x, g.size_y);
      PlatformGetWindowRect(g.orig_l, g.orig_t, g.orig_r, g.orig_b);
      g.size_z = true;
      break;
    case 2: {
      if (!g.size_z) break;
      int cursor_x = 0, cursor_y = 0, screen_w = 0, screen_h = 0;
      PlatformGetCursorPos(cursor_x, cursor_y);
      PlatformScreenSize(screen_w, screen_h);
      int new_w = g.orig_r - g.orig_l + (zone.change_w ? cursor_x - g.size_x : 0);
      int new_h = g.orig_b - g.orig_t + (zone.change_h ? cursor_y - g.size_y : 0);
      const int max_h = screen_h - GetTaskBarHeight();
      if (new_w > screen_w) new_w = screen_w;
      if (new_h > max_h) new_h = max_h;
      // The minimum is applied last: it wins over a screen smaller than it.
      if (new_w < kMinWindowW) new_w = kMinWindowW;
      if (new_h < kMinWindowH) new_h = kMinWindowH;
      w = new_w;
      h = new_h;
      SetRegionHelio(w, h);
      PlatformMoveWindow(g.orig_l, g.orig_t, w, h);
      break;
    }
    case 3: g.size_z = false; break;
    default: break;
  }
}

void CHG_WLBorder::Draw(BITMAP* dest, int h) { DrawRowStretched(HelioBMP[5], dest, 0, kCaptionHeight, h - 28); }

void CHG_WRBorder::Proc(int& w, int& h) {
  ResizeGestureStep(*this, {w - 4, kCaptionHeight, 4, h - 28, AllowHResize, kCursorHResize, true, false}, w, h);
}

void CHG_WRBorder::Draw(BITMAP* dest, int w, int h) {
  DrawRowStretched(HelioBMP[4], dest, w - 4, kCaptionHeight, h - 28);
}

void CHG_WBBorder::Proc(int& w, int& h) {
  ResizeGestureStep(*this, {4, h - 4, w - 8, 4, AllowVResize, kCursorVResize, false, true}, w, h);
}

void CHG_WBBorder::Draw(BITMAP* dest, int w, int h) {
  DrawMasked(HelioBMP[6], dest, 0, h - 4);
  DrawColumnStretched(HelioBMP[7], dest, 4, h - 4, w - 8);
}

void CHG_WDBorder::Proc(int& w, int& h) {
  ResizeGestureStep(*this, {w - 4, h - 4, 4, 4, AllowHResize && AllowVResize, kCursorDResize, true, true}, w, h);
}

void CHG_WDBorder::Draw(BITMAP* dest, int w, int h) { DrawMirrored(HelioBMP[6], dest, w - 4, h - 4); }
