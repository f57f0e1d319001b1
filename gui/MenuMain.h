#pragma once

#include <vector>

#include "gui/MenuItems.h"

// The menu bar: the 12-pixel band under the caption, built from the menu bar
// description of the current engine mode. Opens and closes menus with the mouse
// and sends chosen commands to AppMenuExecuteItem. The toolbar must exist (and be
// parsed) first: group entries link themselves to its buttons while parsing.
class CHG_WAppMenu {
 public:
  std::vector<CMenuItem*> items;  // menu titles in description order; owned
  bool clicked;                   // a menu is open
  int iselect;                    // title under the mouse or open; 255 = none
  int xl;                         // where the free part of the bar begins
  int xr;                         // where it ends, as a negative offset from the right edge
  int children;                   // number of titles
  MenuTable table;                // the descriptions parsed (AppMenuL; tests give their own)

  // Parses the description of the current mode and lays it out.
  explicit CHG_WAppMenu(MenuTable table = AppMenuL);
  ~CHG_WAppMenu();
  CHG_WAppMenu(const CHG_WAppMenu&) = delete;
  CHG_WAppMenu& operator=(const CHG_WAppMenu&) = delete;

  // Deletes every title and parses the current mode's description again.
  void Reload();
  // Places the titles (left group from x = 4, right group ending at w - 4) and their menus.
  void CalcPos();
  // One logic step: title hover, opening and closing, then each open menu.
  void Proc(int w, int h);
  // Draws the bar and the open menu; drawn last so the menu covers everything.
  void Draw(BITMAP* bmp, int w, int h);
  // Whether the mouse is on the bar or inside the open menu (or an open submenu).
  bool HoldsMouse(int w) const;
  // Closes the open menu, if any, as a click on the empty part of the bar does.
  void CloseMenus();

 private:
  void Parse();
  void Clear();
};
