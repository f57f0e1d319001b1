#pragma once

#include <vector>

#include "gui/MenuLoad.h"
#include "gui/ToolbarItems.h"

// The toolbar: the 24-pixel band under the menu bar, a row of icon buttons built
// from the toolbar description of the current engine mode, plus (outside the
// start-up screen) a small panel at the right end. A button's tooltip shows
// after the mouse has rested on it for kTooltipDelay logic steps.
class CHG_WToolBar {
 public:
  std::vector<CToolItem*> items;  // buttons in description order (separators are not items); owned
  int iselect;                    // button under the mouse; 255 = none
  int children;                   // number of buttons
  bool display_org;               // show the panel at the right end
  int QBRVersion;                 // flag cell shown in the panel
  int QBRRegion;                  // not read by the toolbar
  int tiprest;                    // logic steps the mouse has rested on button iselect
  MenuTable table;                // the descriptions parsed (AppToolL; tests give their own)

  // About half a second of logic steps at the usual 60 updates per second.
  static constexpr int kTooltipDelay = 30;

  // Parses the description of the current mode.
  explicit CHG_WToolBar(MenuTable table = AppToolL);
  ~CHG_WToolBar();
  CHG_WToolBar(const CHG_WToolBar&) = delete;
  CHG_WToolBar& operator=(const CHG_WToolBar&) = delete;

  // Deletes every button and parses the current mode's description again.
  void Reload();
  // One logic step: hover, press and release; ignores the mouse while a menu is open.
  void Proc(int w, int h);
  // Draws the band, the panel, the buttons and a due tooltip.
  void Draw(BITMAP* bmp, int w, int h);
  // Puts button i down and the other buttons of its radio group up, and marks
  // the linked menu entries to match.
  void UpdateGroup(int i);
  // Whether the tooltip of button iselect is due.
  bool TooltipShown() const;

 private:
  void Parse();
  void Clear();
  void DrawTooltip(BITMAP* bmp, int w, int h);
};
