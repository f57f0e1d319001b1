#pragma once

#include <string>

#include "platform/allegro_include.h"

class CMenuItem;

// One 22x24 icon button of the toolbar. Push buttons fire when released over
// them; sticky buttons fire when pressed and stay down.
class CToolItem {
 public:
  CMenuItem* menug_parent;  // menu entry linked to this button; not owned
  int ID;                   // command number
  int state;                // 0 disabled, 1 normal, 2 hover, 3 down, 4 disabled and down
  bool sticky;              // stays down when clicked
  int checkgroup;           // group code: bits 8-11 first button, bits 4-7 number of buttons
  int ix, iy;               // top-left corner in the window
  int iw, ih;               // 22 and 24
  int num;                  // index of the button in the toolbar
  int icon;                 // index into FunctionIcons
  std::string tooltip;      // the description's text for the button
  int tiplen;               // width of tooltip in the menu font
  BITMAP* work;             // 16x16 scratch for a changed icon; owned
  bool listed_enabled;      // the description enables the button (its command may still be unavailable)

  CToolItem(int x, int y, int num);
  ~CToolItem();
  CToolItem(const CToolItem&) = delete;
  CToolItem& operator=(const CToolItem&) = delete;

  // Per-step hook of the button; buttons have no logic of their own.
  void Proc(int w, int h);
  // Draws the button face for its state and its icon.
  void Draw(BITMAP* bmp);
};
