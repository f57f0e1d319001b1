#pragma once

#include "platform/allegro_include.h"

class CHG_WCaption;
class CHG_WLBorder;
class CHG_WBBorder;
class CHG_WDBorder;
class CHG_WRBorder;
class CHG_WAppMenu;
class CHG_WToolBar;
class CHG_WStatusBar;

// The left mouse button as four states (0 idle, 1 just pressed, 2 held, 3 just
// released), refreshed once per logic update by CHelioGUI::Proc; widgets read only this.
extern int mouse_q;

// Root of the self-drawn window frame: caption, borders, menu bar, toolbar and status
// bar, and the window's size in pixels. Exactly one exists, reached through `mui`.
class CHelioGUI {
 public:
  CHG_WCaption* c = nullptr;
  CHG_WLBorder* l = nullptr;
  CHG_WBBorder* b = nullptr;
  CHG_WDBorder* d = nullptr;
  CHG_WRBorder* r = nullptr;
  CHG_WAppMenu* m = nullptr;
  CHG_WToolBar* t = nullptr;
  CHG_WStatusBar* s = nullptr;
  int w = 520;
  int h = 176;
  // The four-state left button of a press that closed an open menu (0: none):
  // the widgets and the mode see the button idle until that press is released.
  int swallowed_q = 0;

  // Sets `mui`, builds the widgets (toolbar before menu bar) and gives the window its
  // 520x176 outline; the window is neither moved nor resized.
  CHelioGUI();
  // Deletes the widgets in the documented order.
  ~CHelioGUI();
  CHelioGUI(const CHelioGUI&) = delete;
  CHelioGUI& operator=(const CHelioGUI&) = delete;

  // mui = this.
  void install_pointer();

  // One logic step: refreshes mouse_q, then caption, resize widgets, toolbar, menu bar.
  // A press outside an open menu only closes the menu; nothing else sees it.
  void Proc();

  // Draws the whole frame into `bmp`; the menu bar last so its open menus cover the rest.
  void Draw(BITMAP* bmp);

  // Sizes the window for a view of tiles_w x tiles_h tiles of 32 pixels (0 keeps that
  // dimension), sets the resize permissions, applies the "Window"/"w" width override,
  // and centres the window horizontally, one third down.
  void ResizeTilesEx(int tiles_w, int tiles_h, bool h_resize, bool v_resize, bool h_scroll, bool v_scroll);

  // Main loop: runs the mode function of CurrentMode() until GAMEOVER, which may
  // be set at any moment (a close from the main thread); an unknown mode is
  // reported and closes the program.
  void WindowRunFunction();
};
