#include "gui/WindowCaptionItems.h"

#include "gfx/ex_graphics.h"
#include "gui/HelioWin.h"
#include "gui/FramePieces.h"
#include "platform/window.h"
#include "resources/skin.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

namespace {

constexpr int kButtons = 5;
constexpr int kButtonSize = 20;
constexpr int kButtonStep = 21;

}  // namespace

CHG_Icon::CHG_Icon() : bmp(QBRREHelioWinIcon) {}

void CHG_Icon::Draw(BITMAP* dest, int x, int y) {
  if (bmp && dest) masked_blit(bmp, dest, 0, 0, x, y, bmp->w, bmp->h);
}

int CHG_WBtnArr::ButtonLeft(const CHG_WBtnArr& arr, int i, int x_right) {
  int x = x_right - kButtonSize;
  for (int k = 0; k < i; ++k)
    if (arr.Shown(k)) x -= kButtonStep;
  return x;
}

bool CHG_WBtnArr::Proc(int x_right, int y) {
  bool hot = false;
  int fired = -1;
  for (int i = 0; i < kButtons; ++i) {
    if (!Shown(i) || State(i) == 0) continue;
    const bool over = IsMouseHover(ButtonLeft(*this, i, x_right), y, kButtonSize, kButtonSize);
    const bool held = btdn == i + 1;
    switch (mouse_q) {
      case 0:
        SetState(i, over ? 2 : 1);
        hot = hot || over;
        break;
      case 1:
        SetState(i, over ? 3 : 1);
        if (over) {
          btdn = static_cast<uint16_t>(i + 1);
          hot = true;
        }
        break;
      case 2:
        if (btdn == 0) break;
        SetState(i, over && held ? 3 : 1);
        hot = hot || (over && held);
        break;
      case 3:
        if (btdn == 0) break;
        SetState(i, over && held ? 2 : 1);
        if (over && held) {
          hot = true;
          fired = i;
        }
        break;
      default: break;
    }
  }
  if (mouse_q == 3 && btdn != 0) {
    if (fired >= 0) CaptionButtonFunction(fired);
    btdn = 0;
  }
  return !hot;
}

void CHG_WBtnArr::Draw(BITMAP* dest, int x_right, int y) {
  BITMAP* cells = HelioBMP[3];
  if (!cells || !dest) return;
  for (int i = 0; i < kButtons; ++i) {
    if (!Shown(i)) continue;
    masked_blit(cells, dest, i * kButtonSize, State(i) * kButtonSize, ButtonLeft(*this, i, x_right), y, kButtonSize,
                kButtonSize);
  }
}

CHG_WCaption::CHG_WCaption() : ico(new CHG_Icon), btn(new CHG_WBtnArr) {}

CHG_WCaption::~CHG_WCaption() {
  delete ico;
  delete btn;
}

void CHG_WCaption::Proc(int w, int h) {
  const bool hot = !btn->Proc(w - kCaptionButtonsRightInset, kCaptionButtonsTop);
  if (!move_z && (hot || !IsMouseHover(0, 0, w, kCaptionHeight))) return;
  switch (mouse_q) {
    case 1: {
      int left = 0, top = 0, right = 0, bottom = 0;
      PlatformGetCursorPos(move_x, move_y);
      PlatformGetWindowRect(left, top, right, bottom);
      orig_x = left;
      orig_y = top;
      move_z = true;
      SetMouseCursorBitmap(kCursorMove);
      break;
    }
    case 2: {
      if (!move_z) break;
      int cursor_x = 0, cursor_y = 0, screen_w = 0, screen_h = 0;
      PlatformGetCursorPos(cursor_x, cursor_y);
      PlatformScreenSize(screen_w, screen_h);
      const int floor_y = screen_h - GetTaskBarHeight();
      int x = cursor_x - move_x + orig_x;
      int y = cursor_y - move_y + orig_y;
      if (x + w >= screen_w) x = screen_w - w;
      if (y + h >= floor_y) y = floor_y - h;
      // The top-left limits are applied last so they win for a window larger than the screen.
      if (x < 0) x = 0;
      if (y < 0) y = 0;
      PlatformMoveWindow(x, y, w, h);
      break;
    }
    case 3:
      if (!move_z) break;
      move_z = false;
      if (MC_CURRENT == kCursorMove) SetMouseCursorBitmap(kCursorNormal);
      break;
    default: break;
  }
}

void CHG_WCaption::Draw(BITMAP* dest, int w) {
  DrawMasked(HelioBMP[0], dest, 0, 0);
  DrawMasked(HelioBMP[2], dest, w - 6, 0);
  DrawColumnStretched(HelioBMP[1], dest, 6, 0, w - 12);
  btn->Draw(dest, w - kCaptionButtonsRightInset, kCaptionButtonsTop);
  ico->Draw(dest, 4, 4);
}
