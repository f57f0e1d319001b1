#include "gui/MenuMain.h"

#include <cctype>

#include "gfx/ex_graphics.h"
#include "gui/HelioWin.h"
#include "gui/MenuLoad.h"
#include "gui/command_states.h"
#include "platform/system_sound.h"
#include "resources/skin.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

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
  parsed_insert_ = MenuInsertGeneration();
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

int CHG_WAppMenu::NextTitle(int from, int step) const {
  if (children == 0) return kNone;
  int i = from >= 0 && from < children ? from : (step > 0 ? -1 : children);
  for (int tried = 0; tried < children; ++tried) {
    i = (i + step + children) % children;
    if (items[i]->state != 0) return i;
  }
  return kNone;
}

int CHG_WAppMenu::TitleWithLetter(char letter) const {
  // From the open title on, so that pressing the letter again goes on to the next title with it.
  int i = clicked && iselect < children ? iselect : kNone;
  for (int tried = 0; tried < children; ++tried) {
    i = NextTitle(i, 1);
    if (i == kNone) return kNone;
    const std::string& text = items[i]->text;
    if (!text.empty() && std::toupper(static_cast<unsigned char>(text[0])) == letter) return i;
  }
  return kNone;
}

void CHG_WAppMenu::OpenByKey(int t) {
  if (t == kNone) return;
  CMenuItem* title = items[t];
  title->iselect = title->NextSelectable(kNone, 1);
  for (CMenuItem* e : title->sub) e->iselect = kNone;
  iselect = t;
  clicked = true;
}

void CHG_WAppMenu::ApplyKeys(const MenuKeys& keys) {
  if (!keys.Any()) return;
  const int mouse_x = MouseX(), mouse_y = MouseY();
  const auto lead = [&] {
    keyboard = true;
    keyboard_mouse_x_ = mouse_x;
    keyboard_mouse_y_ = mouse_y;
  };
  if (keys.alt_letter != 0) {
    const int t = TitleWithLetter(keys.alt_letter);
    if (t == kNone) return;
    OpenByKey(t);
    lead();
    return;
  }
  if (keys.f10) {
    if (clicked) {
      CloseMenus();
    } else {
      OpenByKey(NextTitle(kNone, 1));
      lead();
    }
    return;
  }
  if (!clicked || iselect >= children) return;
  lead();
  CMenuItem* title = items[iselect];
  // The menu whose highlight the keys move: the deepest one entered.
  CMenuItem* menu = title;
  while (menu->iselect < menu->children) {
    CMenuItem* e = menu->sub[menu->iselect];
    if (!e->OpensSubmenu() || e->iselect >= e->children) break;
    menu = e;
  }
  CMenuItem* entry = menu->iselect < menu->children ? menu->sub[menu->iselect] : nullptr;
  const bool enters = entry != nullptr && entry->Selectable() && entry->OpensSubmenu();
  if (keys.up || keys.down) {
    menu->iselect = menu->NextSelectable(menu->iselect, keys.down ? 1 : -1);
  } else if (keys.right) {
    if (enters) entry->iselect = entry->NextSelectable(kNone, 1);
    else OpenByKey(NextTitle(iselect, 1));
  } else if (keys.left) {
    if (menu != title) menu->iselect = kNone;
    else OpenByKey(NextTitle(iselect, -1));
  } else if (keys.enter && entry != nullptr && entry->Selectable()) {
    if (enters) entry->iselect = entry->NextSelectable(kNone, 1);
    else if (entry->type == 3) entry->Choose();
  }
}

void CHG_WAppMenu::Proc(int w, int h) {
  // The entries changed by a command (a recent image opened or gone) show from the next step on.
  if (MenuInsertGeneration() != parsed_insert_) Reload();
  RefreshCommandStates(*this);
  const bool was_open = clicked;
  ApplyKeys(key_reader_.Take());
  if (keyboard && (mouse_q == 1 || MouseX() != keyboard_mouse_x_ || MouseY() != keyboard_mouse_y_)) keyboard = false;
  const bool hover = !keyboard;
  bool hovered = false;
  for (int i = 0; i < children && hover; ++i) {
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
  const bool on_bar = hover && IsMouseHover(4, 24, w - 8, 12);
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
    t->Proc(w, h, t->state == 3, hover);
  }
  if (!clicked) keyboard = false;
  keys_taken_ = was_open || clicked;
}

bool MenuBarTakesKeys() { return mui != nullptr && mui->m != nullptr && mui->m->TakesKeys(); }

bool CHG_WAppMenu::HoldsMouse(int w) const {
  if (IsMouseHover(4, 24, w - 8, 12)) return true;
  if (!clicked || iselect < 0 || iselect >= children) return false;
  const CMenuItem* open = items[iselect];
  return open->state == 3 && open->MenuUnderMouse(w);
}

void CHG_WAppMenu::CloseMenus() {
  clicked = false;
  keyboard = false;
  iselect = kNone;
  for (CMenuItem* t : items) {
    if (t->state != 0) t->state = 1;
  }
}

void CHG_WAppMenu::Draw(BITMAP* bmp, int w, int) {
  Rw_ncblit_vlinestretch(HelioBMP[9], bmp, 4, 24, w - 8);
  for (CMenuItem* t : items) t->Draw(bmp, w);
}
