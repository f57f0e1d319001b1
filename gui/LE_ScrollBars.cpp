#include "gui/LE_ScrollBars.h"

#include "gfx/ex_graphics.h"
#include "gui/HelioWin.h"
#include "gui/view_frame.h"
#include "resources/skin.h"
#include "shell/base/functions.h"

// The drag follows Allegro's mouse position. It is in window coordinates, but
// the window does not move during a drag and X keeps sending the pointer to
// the window that saw the press, so its differences are the cursor's
// differences on the screen, also outside the window.

namespace {

// Arrow button background by state.
int ButtonColour(int state) {
  switch (state) {
    case 1: return static_cast<int>(0xFF808080);
    case 2: return static_cast<int>(0xFFC0C0C0);
    case 3: return static_cast<int>(0xFF000000);
    default: return static_cast<int>(0xFF282828);
  }
}

// Places a thumb on a track: its length is the visible share of the level
// and its start the view's share, both scaled to the track. A level of no
// extent shows a full-length thumb.
void PlaceThumb(float view, float visible, float total, float track, float origin, float& loc, float& length) {
  if (total <= 0) {
    length = track;
    loc = origin;
    return;
  }
  length = visible / total * track;
  if (length > track) length = track;
  loc = view / total * track + origin;
}

constexpr int kThickness = 12;

}  // namespace

void CHG_HScrollBar::PreProc(int level_w, int& view_x) {
  const ViewFrame f = EditorViewFrame();
  const float track = static_cast<float>(f.w - 39);
  const float total = static_cast<float>(level_w);
  if (!scr_z && !IsMouseHover(static_cast<int>(draw_loc_x), f.h - 32, static_cast<int>(draw_loc_w), kThickness)) {
    return;
  }
  if (mouse_q == 1) {
    if (total <= 0 || track <= 0) return;
    scr_x = MouseX();
    bar_x = draw_loc_x;
    bar_w = total / track;
    scr_z = true;
  } else if (mouse_q == 2 && scr_z) {
    draw_loc_x = static_cast<float>(MouseX() - scr_x) + bar_x - 14;
    view_x = static_cast<int>(draw_loc_x * bar_w);
  } else if (mouse_q == 3 && scr_z) {
    scr_z = false;
  }
}

void CHG_HScrollBar::Proc(int level_w, int view_x) {
  const ViewFrame f = EditorViewFrame();
  PlaceThumb(static_cast<float>(view_x), static_cast<float>(f.AreaW()), static_cast<float>(level_w),
             static_cast<float>(f.w - 39), 14, draw_loc_x, draw_loc_w);
}

void CHG_HScrollBar::Draw(BITMAP* bmp) {
  const ViewFrame f = EditorViewFrame();
  const int w = f.w;
  const int top = f.h - 32;
  rectfill(bmp, 4, top, 15, top + 11, ButtonColour(LB_State));
  rectfill(bmp, w - 28, top, w - 17, top + 11, ButtonColour(RB_State));
  Rw_ncdraw(HelioBMP[LB_State == 3 ? 26 : 25], bmp, 4, top);
  Rw_ncdraw(HelioBMP[RB_State == 3 ? 28 : 27], bmp, w - 28, top);
  Rw_ncblit_vlinestretch(HelioBMP[35], bmp, 16, top, w - 44);
  const int x0 = static_cast<int>(draw_loc_x);
  const int len = static_cast<int>(draw_loc_w);
  Rw_ncdraw(HelioBMP[37], bmp, x0, top);
  Rw_ncdraw(HelioBMP[40], bmp, static_cast<int>(draw_loc_x + draw_loc_w - 2), top);
  Rw_ncblit_vlinestretch(HelioBMP[38], bmp, static_cast<int>(draw_loc_x + 2), top, len - 4);
}

void CHG_VScrollBar::PreProc(int level_h, int& view_y) {
  const ViewFrame f = EditorViewFrame();
  const float track = static_cast<float>(f.h - 111);
  const float total = static_cast<float>(level_h);
  if (!scr_z && !IsMouseHover(f.w - 16, static_cast<int>(draw_loc_y), kThickness, static_cast<int>(draw_loc_h))) {
    return;
  }
  if (mouse_q == 1) {
    if (total <= 0 || track <= 0) return;
    scr_y = MouseY();
    bar_y = draw_loc_y;
    bar_h = total / track;
    scr_z = true;
  } else if (mouse_q == 2 && scr_z) {
    draw_loc_y = static_cast<float>(MouseY() - scr_y) + bar_y - 70;
    view_y = static_cast<int>(draw_loc_y * bar_h);
  } else if (mouse_q == 3 && scr_z) {
    scr_z = false;
  }
}

void CHG_VScrollBar::Proc(int level_h, int view_y) {
  const ViewFrame f = EditorViewFrame();
  PlaceThumb(static_cast<float>(view_y), static_cast<float>(f.AreaH()), static_cast<float>(level_h),
             static_cast<float>(f.h - 111), 70, draw_loc_y, draw_loc_h);
}

void CHG_VScrollBar::Draw(BITMAP* bmp) {
  const ViewFrame f = EditorViewFrame();
  const int left = f.w - 16;
  const int h = f.h;
  rectfill(bmp, left, 60, left + 11, 71, ButtonColour(TB_State));
  rectfill(bmp, left, h - 44, left + 11, h - 33, ButtonColour(BB_State));
  Rw_ncdraw(HelioBMP[TB_State == 3 ? 30 : 29], bmp, left, 60);
  Rw_ncdraw(HelioBMP[BB_State == 3 ? 32 : 31], bmp, left, h - 44);
  Rw_ncblit_hlinestretch(HelioBMP[36], bmp, left, 72, h - 116);
  const int y0 = static_cast<int>(draw_loc_y);
  const int len = static_cast<int>(draw_loc_h);
  Rw_ncdraw(HelioBMP[41], bmp, left, y0);
  Rw_ncdraw(HelioBMP[44], bmp, left, static_cast<int>(draw_loc_y + draw_loc_h - 2));
  Rw_ncblit_hlinestretch(HelioBMP[42], bmp, left, static_cast<int>(draw_loc_y + 2), len - 4);
}
