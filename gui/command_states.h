#pragma once

class CHG_WAppMenu;
class CHG_WToolBar;

// Gives every command entry of the menu bar the state its command allows now:
// disabled (0) while the command is unavailable or the description disables it,
// usable again once it is available; a usable entry of an open menu is drawn
// greyed while its command says so (CommandGreyed); a check entry's mark
// follows the command's checked(). Titles, submenus and separators are left alone. Run at the start of
// every logic update of the bar.
void RefreshCommandStates(CHG_WAppMenu& menu);

// The same for the toolbar: an unavailable button is disabled (0), or disabled
// and down (4) when it was down; a sticky button whose command has checked() is
// down exactly while it is checked.
void RefreshCommandStates(CHG_WToolBar& tools);
