#include "gui/ToolbarMain.h"

#include "gfx/ex_graphics.h"
#include "gui/HelioWin.h"
#include "gui/MenuLoad.h"
#include "gui/MenuMain.h"
#include "gui/command_states.h"
#include "resources/skin.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

namespace {

bool MenuOpen() { return mui != nullptr && mui->m != nullptr && mui->m->clicked; }

// Disabled buttons (states 0 and 4) never react to the mouse.
bool Reacts(const CToolItem* b) { return b->state != 0 && b->state != 4; }

}  // namespace

CHG_WToolBar::CHG_WToolBar(MenuTable table) : table(table) { Parse(); }

CHG_WToolBar::~CHG_WToolBar() { Clear(); }

void CHG_WToolBar::Reload() {
  Clear();
  Parse();
}

void CHG_WToolBar::Clear() {
  for (CToolItem* b : items) delete b;
  items.clear();
}

void CHG_WToolBar::Parse() {
  iselect = 255;
  children = 0;
  display_org = true;
  QBRVersion = 0;
  QBRRegion = 0;
  tiprest = 0;
  menuchar = 0;
  RM_FormatChar(table);
  int x = 6, n = 0;
  bool after_button = false;
  for (int f = RM_FormatChar(table); f != 2; f = RM_FormatChar(table)) {
    if (f != 1) continue;
    const int kind = RM_ItemTypeChar(table);
    if (kind == 3) {
      if (after_button) x += 1;
      CToolItem* b = new CToolItem(x, 36, n);
      items.push_back(b);
      ++children;
      b->ID = RM_ItemNumber(table);
      b->state = RM_ItemEnabled(table);
      b->listed_enabled = b->state != 0 && b->state != 4;
      b->icon = RM_IconNumber(table);
      b->sticky = RM_ItemEnabled(table) == 1;
      b->checkgroup = RM_CheckGroup(table);
      b->tooltip = RM_ItemString(table, b->tiplen);
      x += 22;
      ++n;
      after_button = true;
    } else if (kind == 4) {
      x += 7;
      after_button = false;
    }
    RM_FormatChar(table);
  }
}

void CHG_WToolBar::UpdateGroup(int i) {
  const int first = (items[i]->checkgroup >> 8) & 15;
  const int count = (items[i]->checkgroup >> 4) & 15;
  // A group code may name buttons that do not exist; only existing ones change.
  for (int j = first; j < first + count && j < children; ++j) {
    CToolItem* b = items[j];
    const bool disabled = !Reacts(b);
    if (j == i) {
      if (b->menug_parent != nullptr) b->menug_parent->checked = true;
      b->state = disabled ? 4 : 3;
    } else {
      if (b->menug_parent != nullptr) b->menug_parent->checked = false;
      b->state = disabled ? 0 : 1;
    }
  }
}

void CHG_WToolBar::Proc(int w, int h) {
  RefreshCommandStates(*this);
  const int previous = iselect;
  bool hovered = false;
  for (int i = 0; i < children; ++i) {
    CToolItem* b = items[i];
    // The bottom two rows of a button do not count as on it.
    if (!Reacts(b) || !IsMouseHover(b->ix, b->iy, 22, 22)) continue;
    if (iselect != 255 && iselect != i && iselect < children && !items[iselect]->sticky) items[iselect]->state = 1;
    iselect = i;
    hovered = true;
  }
  if (!hovered) iselect = 255;

  if (!MenuOpen()) {
    const bool in_band = IsMouseHover(4, 36, w - 8, 24);
    for (int i = 0; i < children; ++i) {
      CToolItem* b = items[i];
      if (!Reacts(b)) continue;
      if (i == iselect && in_band) {
        if (b->state == 1) b->state = 2;
        if (b->state == 2 && mouse_q == 1) {
          b->state = 3;
          if (b->sticky) {
            AppMenuExecuteItem(b->ID, false);
            UpdateGroup(i);
          }
        }
        if (b->state == 3 && mouse_q == 3 && !b->sticky) {
          b->state = 1;
          AppMenuExecuteItem(b->ID, false);
          UpdateGroup(i);
        }
      } else if (!b->sticky || b->state != 3) {
        b->state = 1;
      }
    }
  }

  // A tooltip waits for the mouse to rest on one button; a click starts the wait again.
  if (iselect == 255 || iselect != previous || mouse_q != 0) {
    tiprest = 0;
  } else if (tiprest < kTooltipDelay) {
    ++tiprest;
  }

  for (CToolItem* b : items) b->Proc(w, h);
}

bool CHG_WToolBar::TooltipShown() const {
  return iselect != 255 && iselect < children && tiprest >= kTooltipDelay && !MenuOpen() &&
         !items[iselect]->tooltip.empty();
}

void CHG_WToolBar::Draw(BITMAP* bmp, int w, int h) {
  Rw_ncblit_vlinestretch(HelioBMP[12], bmp, 4, 36, w - 8);
  if (display_org && CurrentMode() != Mode::StartupScreen) {
    Rw_ncblit(HelioBMP[13], bmp, w - 29, 36);
    Rw_ncblit_vlinestretch(HelioBMP[14], bmp, w - 28, 36, 24);
    if (RegionFlagIcons != nullptr) masked_blit(RegionFlagIcons, bmp, QBRVersion * 16, 0, w - 24, 45, 16, 12);
    if (MicroFont != nullptr) textprintf_ex(bmp, MicroFont, w - 27, 38, -1, -1, "NULL");
  }
  for (CToolItem* b : items) b->Draw(bmp);
  if (TooltipShown()) DrawTooltip(bmp, w, h);
}

void CHG_WToolBar::DrawTooltip(BITMAP* bmp, int w, int h) {
  const CToolItem* b = items[iselect];
  const int tw = b->tiplen + 8, th = 18;
  // Under the button, kept inside the window's frame.
  int x = b->ix;
  if (x + tw > w - 4) x = w - 4 - tw;
  if (x < 4) x = 4;
  const int y = b->iy + b->ih + 2;
  if (y + th > h - 4) return;
  rectfill(bmp, x, y, x + tw - 1, y + th - 1, 0xFF303030);
  rect(bmp, x, y, x + tw - 1, y + th - 1, 0xFF282828);
  if (NMenuFont[2] != nullptr) textprintf_ex(bmp, NMenuFont[2], x + 4, y + 3, -1, -1, "%s", b->tooltip.c_str());
}
