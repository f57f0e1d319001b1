#include "gui/MenuMain.h"

#include "gfx/ex_graphics.h"
#include "gui/HelioWin.h"
#include "gui/MenuLoad.h"
#include "gui/command_states.h"
#include "platform/system_sound.h"
#include "resources/skin.h"
#include "shell/base/functions.h"

namespace {
constexpr int kNone = 255;
}

CHG_WAppMenu::CHG_WAppMenu(MenuTable table) : table(table) { Parse(); }

CHG_WAppMenu::~CHG_WAppMenu() { Clear(); }

void CHG_WAppMenu::Reload() {
  Clear();
  Parse();
}

void CHG_WAppMenu::Clear() {
  for (CMenuItem* title : items) delete title;
  items.clear();
}

void CHG_WAppMenu::Parse() {
  menuchar = 0;
  children = 0;
  clicked = false;
  iselect = kNone;
  RM_FormatChar(table);
  for (int f = RM_FormatChar(table); f != 2; f = RM_FormatChar(table)) {
    if (f != 1) continue;
    items.push_back(new CMenuItem(0, nullptr, table));
    ++children;
  }
  CalcPos();
}

void CHG_WAppMenu::CalcPos() {
  // A title at x on the menu row; its submenu opens below it at the same x.
  const auto place = [](CMenuItem* t, int x) {
    t->ix = x;
    t->iy = 24;
    t->iw = t->text_w + 6;
    t->ih = 12;
    t->sx = x;
    t->sy = 36;
  };
  xl = 4;
  xr = -4;
  int i = 0;
  for (; i < children && items[i]->type != 2; ++i) {
    place(items[i], xl);
    xl += items[i]->text_w + 7;
  }
  // The rest, whatever their kind, are placed from the right, last title rightmost.
  for (int j = children - 1; j >= i; --j) {
    place(items[j], xr);
    xr -= items[j]->text_w + 7;
  }
  for (CMenuItem* t : items) t->CalcPos(t->type == 2);
}

void CHG_WAppMenu::Proc(int w, int h) {
  RefreshCommandStates(*this);
  bool hovered = false;
  for (int i = 0; i < children; ++i) {
    CMenuItem* t = items[i];
    if (t->state == 0) continue;
    const int x = t->ix < 0 ? w + t->ix - t->iw : t->ix;
    if (!IsMouseHover(x, t->iy, t->iw, t->ih)) continue;
    if (iselect != kNone && iselect != i && iselect < children) items[iselect]->state = 1;
    iselect = i;
    hovered = true;
    if (mouse_q == 1) clicked = !clicked;
  }
  if (!hovered) {
    // A click on the empty part of the bar closes the menu; clicks elsewhere do not.
    if (IsMouseHover(xl, 24, w - xl + xr, 12) && mouse_q == 1) {
      iselect = kNone;
      clicked = false;
    }
    if (!clicked) iselect = kNone;
  }
  const bool on_bar = IsMouseHover(4, 24, w - 8, 12);
  for (int i = 0; i < children; ++i) {
    CMenuItem* t = items[i];
    if (t->state == 0) continue;
    if (i != iselect) {
      t->state = 1;
    } else if (clicked) {
      if (on_bar) t->iselect = kNone;
      if (t->state != 3) {
        t->state = 3;
        PlaySystemSound("MenuPopup", false);
      }
    } else {
      t->state = on_bar ? 2 : 1;
    }
    t->Proc(w, h, t->state == 3);
  }
}

bool CHG_WAppMenu::HoldsMouse(int w) const {
  if (IsMouseHover(4, 24, w - 8, 12)) return true;
  if (!clicked || iselect < 0 || iselect >= children) return false;
  const CMenuItem* open = items[iselect];
  return open->state == 3 && open->MenuUnderMouse(w);
}

void CHG_WAppMenu::CloseMenus() {
  clicked = false;
  iselect = kNone;
  for (CMenuItem* t : items) {
    if (t->state != 0) t->state = 1;
  }
}

void CHG_WAppMenu::Draw(BITMAP* bmp, int w, int) {
  Rw_ncblit_vlinestretch(HelioBMP[9], bmp, 4, 24, w - 8);
  for (CMenuItem* t : items) t->Draw(bmp, w);
}
