#pragma once

#include <vector>

#include "gui/MenuItems.h"
#include "gui/menu_keys.h"

// The menu bar: the 12-pixel band under the caption, built from the menu bar
// description of the current engine mode. Opens and closes menus with the mouse
// or the keys (MenuKeys) and sends chosen commands to AppMenuExecuteItem. The toolbar must exist (and be
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
  // The keys lead the open menu: the mouse's hover is ignored until the mouse
  // moves or clicks, so a pointer resting on a menu does not take the highlight back.
  bool keyboard = false;

  // Parses the description of the current mode and lays it out.
  explicit CHG_WAppMenu(MenuTable table = AppMenuL);
  ~CHG_WAppMenu();
  CHG_WAppMenu(const CHG_WAppMenu&) = delete;
  CHG_WAppMenu& operator=(const CHG_WAppMenu&) = delete;

  // Deletes every title and parses the current mode's description again.
  void Reload();
  // Places the titles (left group from x = 4, right group ending at w - 4) and their menus.
  void CalcPos();
  // One logic step: a new parse when the inserted entries changed
  // (MenuInsertGeneration), the keys (read from Allegro's key array), then title
  // hover, opening and closing, then each open menu.
  void Proc(int w, int h);
  // The keys of one update: Alt+letter opens the next title starting with it
  // (the first entry highlighted), F10 opens the first menu or closes the open
  // one, Up/Down move the highlight over the entries that can take it
  // (wrapping), Right enters a highlighted submenu or opens the next menu,
  // Left leaves a submenu or opens the previous menu (both wrapping), Enter
  // runs the highlighted entry as a click does (or enters its submenu).
  void ApplyKeys(const MenuKeys& keys);
  // Whether the keys of this update were the menu bar's: a menu was open when
  // the step began or is open now. Shortcuts and views then leave them alone.
  bool TakesKeys() const { return keys_taken_; }
  // Draws the bar and the open menu; drawn last so the menu covers everything.
  void Draw(BITMAP* bmp, int w, int h);
  // Whether the mouse is on the bar or inside the open menu (or an open submenu).
  bool HoldsMouse(int w) const;
  // Closes the open menu, if any, as a click on the empty part of the bar does.
  void CloseMenus();

 private:
  void Parse();
  void Clear();
  // Opens title `t` with its first entry highlighted and no submenu entered; 255 does nothing.
  void OpenByKey(int t);
  // The title `step` places from `from` that is not greyed, wrapping; 255 when none.
  int NextTitle(int from, int step) const;
  // The next title after the open one (or the first) whose label starts with `letter`; 255 when none.
  int TitleWithLetter(char letter) const;

  MenuKeyReader key_reader_;
  unsigned parsed_insert_ = 0;  // MenuInsertGeneration() at the last parse
  bool keys_taken_ = false;
  int keyboard_mouse_x_ = 0, keyboard_mouse_y_ = 0;  // where the mouse was when the keys took the lead
};

// Whether the menu bar of the GUI root took this update's keys (TakesKeys).
bool MenuBarTakesKeys();
