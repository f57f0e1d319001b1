#include "gui/MenuItems.h"

#include "gfx/ex_graphics.h"
#include "gui/HelioWin.h"
#include "gui/MenuLoad.h"
#include "gui/MenuMain.h"
#include "gui/ToolbarMain.h"
#include "gui/commands.h"
#include "platform/system_sound.h"
#include "resources/skin.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

namespace {

constexpr int kNoIcon = 65535;
constexpr int kNone = 255;
constexpr int kLabelX = 22;         // an entry's label, from the entry's left edge
constexpr int kShortcutGap = 16;    // between the longest label and the shortcut column
constexpr int kShortcutMargin = 6;  // from a shortcut's right end to the entry's right edge

CHG_WToolBar* ToolBar() { return mui != nullptr ? mui->t : nullptr; }

}  // namespace

CMenuItem::CMenuItem(int level, CMenuItem* parent, MenuTable table)
    : parent(parent),
      ID(0),
      icon(kNoIcon),
      level(level),
      type(0),
      state(1),
      text_w(0),
      shortcut_w(0),
      children(0),
      iselect(kNone),
      ix(0),
      iy(0),
      iw(3),
      ih(3),
      sx(0),
      sy(0),
      sw(96),
      sh(0),
      // An entry becomes choosable only once it has been drawn highlighted, so
      // that a click in the first step after a parse cannot reach a closed menu.
      visible(false),
      work(create_bitmap_ex(32, 16, 16)),
      checked(false),
      ischeck(false),
      checkgroup(0),
      listed_enabled(true),
      greyed(false) {
  type = RM_ItemTypeChar(table);
  if (type == 3) {
    ID = RM_ItemNumber(table);
    state = RM_ItemEnabled(table) != 0 ? 1 : 0;
    listed_enabled = state != 0;
    icon = RM_IconNumber(table);
    const int check = RM_ItemEnabled(table);
    ischeck = check != 65535;
    checked = ischeck && check != 0;
    checkgroup = RM_CheckGroup(table);
    if (checkgroup != 0) LinkToolButton();
    text = RM_ItemString(table, text_w);
    shortcut = ShortcutText(static_cast<CommandId>(ID));
    shortcut_w = helio_stringlength(shortcut);
    greyed = CommandGreyed(static_cast<CommandId>(ID));  // refreshed while its menu is open
    RM_FormatChar(table);
  } else if (type == 4) {
    RM_FormatChar(table);
  } else if (type == 1 || type == 2) {
    state = RM_ItemEnabled(table) != 0 ? 1 : 0;
    icon = RM_IconNumber(table);
    text = RM_ItemString(table, text_w);
    for (int f = RM_FormatChar(table); f != 2; f = RM_FormatChar(table)) {
      if (f != 1) continue;
      sub.push_back(new CMenuItem(level + 1, this, table));
      ++children;
    }
  }
}

CMenuItem::~CMenuItem() {
  // A button must not keep pointing at an entry that is gone (a menu bar reloaded
  // on its own, without the toolbar).
  if (CHG_WToolBar* t = checkgroup != 0 ? ToolBar() : nullptr) {
    for (CToolItem* b : t->items) {
      if (b->menug_parent == this) b->menug_parent = nullptr;
    }
  }
  parent = nullptr;
  for (CMenuItem* e : sub) delete e;
  if (work != nullptr) destroy_bitmap(work);
}

void CMenuItem::LinkToolButton() {
  CHG_WToolBar* t = ToolBar();
  const int first = checkgroup & 15;
  const int count = (checkgroup >> 4) & 15;
  if (t == nullptr || first >= t->children || t->items[first]->checkgroup == 0) return;
  for (int j = first; j < first + count && j < t->children; ++j) {
    if (t->items[j]->menug_parent == nullptr) {
      t->items[j]->menug_parent = this;
      return;
    }
  }
}

bool CMenuItem::PlacedFromRight() const {
  const CMenuItem* title = this;
  while (title->parent != nullptr) title = title->parent;
  return title->type == 2;
}

int CMenuItem::WindowX(int w) const { return PlacedFromRight() ? w + ix - iw : ix; }

int CMenuItem::DropDownX(int w) const { return PlacedFromRight() ? w + sx - sw : sx; }

bool CMenuItem::MenuUnderMouse(int w) const {
  if (children == 0) return false;
  if (IsMouseHover(DropDownX(w), sy, sw, sh)) return true;
  // A highlighted entry with entries of its own shows its submenu (menus placed from the left only).
  if (PlacedFromRight()) return false;
  for (const CMenuItem* e : sub) {
    if (e->state == 2 && e->MenuUnderMouse(w)) return true;
  }
  return false;
}

bool CMenuItem::Selectable() const { return type != 4 && state != 0; }

bool CMenuItem::OpensSubmenu() const { return children > 0 && !PlacedFromRight(); }

int CMenuItem::NextSelectable(int from, int step) const {
  if (children == 0) return kNone;
  int i = from >= 0 && from < children ? from : (step > 0 ? -1 : children);
  for (int tried = 0; tried < children; ++tried) {
    i = (i + step + children) % children;
    if (sub[i]->Selectable()) return i;
  }
  return kNone;
}

void CMenuItem::CalcPos(bool right) {
  if (children == 0) return;
  sw = 96;
  sh = 2;
  int pad = 28;
  int longest_label = 0, longest_shortcut = 0;
  for (CMenuItem* e : sub) {
    // From the first entry with a submenu on, leave room for the arrow.
    if (pad == 28 && e->children > 0) pad = 34;
    if (e->text_w + pad > sw) sw = e->text_w + pad;
    if (e->text_w > longest_label) longest_label = e->text_w;
    if (e->shortcut_w > longest_shortcut) longest_shortcut = e->shortcut_w;
  }
  // Shortcuts form a column at the right, a gap clear of the longest label
  // (entries lie 2 pixels inside each side of the menu).
  if (longest_shortcut > 0) {
    const int with_shortcuts = 2 + kLabelX + longest_label + kShortcutGap + longest_shortcut + kShortcutMargin + 2;
    if (with_shortcuts > sw) sw = with_shortcuts;
  }
  for (CMenuItem* e : sub) {
    e->iy = sh + sy;
    e->iw = sw - 4;
    e->ix = right ? sx - 2 : sx + 2;
    if (right) {
      e->sx = 0;
      e->sy = 0;
    } else {
      // A submenu opens to the right, overlapping this menu by one pixel.
      e->sx = sw + sx - 1;
      e->sy = sh + sy - 2;
    }
    if (e->type == 4) {
      e->ih = 1;
      sh += 2;
    } else {
      e->ih = 20;
      sh += 21;
    }
  }
  sh += 2;
  for (CMenuItem* e : sub) e->CalcPos(false);
}

void CMenuItem::Proc(int w, int h, bool open, bool hover) {
  if (children > 0) {
    const bool right = PlacedFromRight();
    for (int i = 0; i < children && hover; ++i) {
      CMenuItem* e = sub[i];
      if (!IsMouseHover(e->WindowX(w), e->iy, e->iw, e->ih)) continue;
      if (iselect != kNone && iselect != i && sub[iselect]->state != 0) sub[iselect]->state = 1;
      if (iselect != i) {
        iselect = i;
        if (!right && e->children > 0 && open && e->state != 0) PlaySystemSound("MenuPopup", false);
      }
    }
    for (int i = 0; i < children; ++i) {
      CMenuItem* e = sub[i];
      if (i == iselect) {
        if (hover && IsMouseHover(DropDownX(w), sy, sw, sh)) e->iselect = kNone;
        if (e->state != 0) {
          e->state = 2;
          e->Proc(w, h, open, hover);
        }
      } else if (e->state != 0) {
        e->state = 1;
        e->Proc(w, h, false, hover);
      }
    }
    return;
  }
  if (visible && level != 0 && type == 3 && state == 2 && mouse_q == 1 && IsMouseHover(WindowX(w), iy, iw, ih))
    Choose();
  visible = false;
}

void CMenuItem::Choose() {
  const bool right = PlacedFromRight();
  if (!right && checkgroup != 0) {
    ChooseInGroup();
    return;
  }
  AppMenuExecuteItem(ID, true);
  if (ischeck) {
    // A command that knows its check state says it; otherwise the mark toggles.
    const CommandHandler* handler = FindCommand(static_cast<unsigned short>(ID));
    checked = handler != nullptr && handler->checked != nullptr ? handler->checked() : !checked;
    state = 1;
  } else {
    CloseMenuBar();
  }
}

void CMenuItem::ChooseInGroup() {
  if (parent == nullptr) return;
  const int first = (checkgroup >> 8) & 15;
  const int count = (checkgroup >> 4) & 15;
  const int tool = checkgroup & 15;
  for (int k = first; k < first + count && k < parent->children; ++k) {
    CMenuItem* e = parent->sub[k];
    if (e != this) {
      e->checked = false;
      continue;
    }
    checked = true;
    AppMenuExecuteItem(ID, true);
    state = 1;
    CHG_WToolBar* t = ToolBar();
    if (tool == 0 || t == nullptr) continue;
    // Keep the toolbar's side of the same choice in step; only existing buttons change.
    // The group's entries and its buttons correspond by their place in the group.
    for (int j = tool; j < tool + count && j < t->children; ++j) {
      CToolItem* b = t->items[j];
      const bool disabled = b->state == 0 || b->state == 4;
      if (j == tool + (k - first)) {
        b->state = disabled ? 4 : 3;
      } else {
        b->state = disabled ? 0 : 1;
      }
    }
  }
}

void CMenuItem::CloseMenuBar() {
  state = 1;
  if (mui != nullptr && mui->m != nullptr) {
    mui->m->iselect = kNone;
    mui->m->clicked = false;
  }
}

void CMenuItem::Draw(BITMAP* bmp, int w) {
  if (level == 0) {
    if (type != 1 && type != 2) return;
    const bool right = type == 2;
    const int x = right ? w + ix - iw : ix;
    if (state != 0) Rw_ncblit_vlinestretch(HelioBMP[8 + state], bmp, x, 24, iw);
    if (NMenuFont[state] != nullptr) textprintf_ex(bmp, NMenuFont[state], x + 4, 24, -1, -1, "%s", text.c_str());
    Rw_ncblit(HelioBMP[8], bmp, right ? x - 1 : x + iw, 24);
    if (state == 3 && children > 0) DrawDropDown(bmp, w);
    return;
  }

  const int x = WindowX(w);
  if (type == 4) {
    hline(bmp, x, iy, x + iw - 1, 0xFF101010);
    return;
  }
  const int font = greyed ? 0 : state >= 0 && state <= 3 ? state : 1;
  if (state == 2) rectfill(bmp, x, iy, x + iw - 1, iy + ih - 1, 0xFF484848);
  if (NMenuFont[font] != nullptr) {
    textprintf_ex(bmp, NMenuFont[font], x + kLabelX, iy + 4, -1, -1, "%s", text.c_str());
    if (!shortcut.empty()) {
      const int right_end = x + iw - kShortcutMargin;
      textprintf_ex(bmp, NMenuFont[font], right_end - shortcut_w, iy + 4, -1, -1, "%s", shortcut.c_str());
    }
  }
  if (PlacedFromRight()) {
    // Menus placed from the right hold plain commands only: no arrow, no nested menu.
    visible = true;
  } else if (children > 0) {
    DrawArrow(bmp, x, state == 2 ? 0xFFC0C0C0 : 0xFF808080);
    if (state == 2) DrawDropDown(bmp, w);
  } else if (state == 2) {
    visible = true;
  }
  DrawPicture(bmp, x);
}

void CMenuItem::DrawDropDown(BITMAP* bmp, int w) {
  const int x = DropDownX(w);
  rect(bmp, x, sy, x + sw - 1, sy + sh - 1, 0xFF282828);
  rectfill(bmp, x + 1, sy + 1, x + sw - 2, sy + sh - 2, 0xFF303030);
  for (CMenuItem* e : sub) e->Draw(bmp, w);
}

void CMenuItem::DrawArrow(BITMAP* bmp, int x, int colour) {
  vline(bmp, x + iw - 6, iy + 7, iy + 13, colour);
  vline(bmp, x + iw - 5, iy + 8, iy + 12, colour);
  vline(bmp, x + iw - 4, iy + 9, iy + 11, colour);
  putpixel(bmp, x + iw - 3, iy + 10, colour);
}

void CMenuItem::DrawPicture(BITMAP* bmp, int x) {
  const int picture = ischeck ? (checked ? 0 : kNoIcon) : icon;
  if (picture == kNoIcon || FunctionIcons == nullptr || picture * 16 + 16 > FunctionIcons->w) return;
  if (state != 0 && !greyed) {
    masked_blit(FunctionIcons, bmp, picture * 16, 0, x + 2, iy + 2, 16, 16);
  } else if (work != nullptr) {
    blit(FunctionIcons, work, picture * 16, 0, 0, 0, 16, 16);
    Rw_draw_monochrome(work, bmp, x + 2, iy + 2, 0xFF282828);
  }
}
