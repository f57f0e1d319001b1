#pragma once

#include <string>
#include <vector>

#include "gui/MenuLoad.h"
#include "platform/allegro_include.h"

// One node of the menu bar's tree: a title on the bar, a drop-down entry, a
// separator or a submenu, parsed from the menu bar description. Titles (level 0)
// and the entries of menus placed from the right keep `ix`/`sx` as negative
// offsets from the window's right edge.
class CMenuItem {
 public:
  std::vector<CMenuItem*> sub;  // entries of this menu or submenu; owned
  CMenuItem* parent;            // the menu holding this entry; null for titles
  int ID;                       // command number (commands only)
  int icon;                     // index into FunctionIcons; 65535 = none
  int level;                    // 0 title, 1 entry of a title's menu, 2 entry of a submenu, ...
  int type;              // 1 menu from the left / submenu, 2 menu from the right, 3 command, 4 separator, 0 unknown
  int state;             // 0 disabled, 1 normal, 2 highlighted, 3 open (titles)
  std::string text;      // label
  int text_w;            // width of text in the menu font
  std::string shortcut;  // the command's registered shortcut as shown at the right ("Ctrl+S"); "" for none
  int shortcut_w;        // width of shortcut in the menu font
  int children;          // number of entries in sub
  int iselect;           // highlighted entry of this menu; 255 = none
  int ix, iy, iw, ih;    // the item's own rectangle
  int sx, sy, sw, sh;    // the rectangle of this item's drop-down menu
  bool visible;          // drawn in its clickable form last frame; consumed by Proc
  BITMAP* work;          // 16x16 scratch for a greyed icon; owned
  bool checked;          // check entries: the mark is shown
  bool ischeck;          // the entry is a check entry
  int checkgroup;        // radio group code; 0 = none
  bool listed_enabled;   // the description enables the entry (its command may still be unavailable)
  bool greyed;           // drawn in the disabled look, yet choosable (CommandGreyed)

  // Builds the item by parsing the menu bar description (of `table`) at the
  // current read position; a command with a group code links itself to its tool
  // button. The closing bracket after a command or separator is read skipping
  // blanks, so blanks are insignificant everywhere in a description.
  CMenuItem(int level, CMenuItem* parent, MenuTable table = AppMenuL);
  ~CMenuItem();
  CMenuItem(const CMenuItem&) = delete;
  CMenuItem& operator=(const CMenuItem&) = delete;

  // Lays out this item's drop-down menu and, recursively, its submenus.
  void CalcPos(bool right);
  // One logic step: highlights entries under the mouse (unless `hover` is false:
  // the keyboard leads and the highlight stays where the keys put it) and chooses
  // commands clicked.
  void Proc(int w, int h, bool open, bool hover = true);
  // Draws the item (and its open drop-down) into bmp for a window w pixels wide.
  void Draw(BITMAP* bmp, int w);

  // Whether the menu this item belongs to is placed from the right of the bar.
  bool PlacedFromRight() const;
  // Left edge of the item's rectangle in window pixels.
  int WindowX(int w) const;
  // Left edge of this item's drop-down menu in window pixels.
  int DropDownX(int w) const;
  // Whether the mouse is inside this item's drop-down menu or a submenu open in it.
  bool MenuUnderMouse(int w) const;
  // Whether this entry can be highlighted: not a separator, not greyed.
  bool Selectable() const;
  // Whether this entry opens a submenu of its own (menus placed from the left only).
  bool OpensSubmenu() const;
  // The entry of this menu `step` (+1 or -1) places from `from` that can be
  // highlighted, wrapping at the ends; `from` = 255 starts before the first
  // (or after the last) entry. 255 when no entry can be.
  int NextSelectable(int from, int step) const;
  // Runs the entry's command as a click on it does (a check entry toggles and
  // keeps its menu open, any other closes the menu bar).
  void Choose();

 private:
  void ChooseInGroup();
  void CloseMenuBar();
  void LinkToolButton();
  void DrawDropDown(BITMAP* bmp, int w);
  void DrawArrow(BITMAP* bmp, int x, int colour);
  void DrawPicture(BITMAP* bmp, int x);
};
