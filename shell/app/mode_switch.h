#pragma once

#include <cstdint>

// Switching modes from the "Mode" menu ($FF00-$FF05) and the start-up
// toolbar ($FE00-$FE05), entries in the order Level Editor, Extraction,
// Sprite Viewer, Palette Editor, Physmap Editor, Hex Editor.

// The engine state entry `id` stands for; -1 for other commands and for the
// physmap editor, which has no mode.
int ModeOfCommand(unsigned short id);

// The mode the start-up toolbar has chosen: the first successful Open enters
// it instead of the level editor. 1 (the level editor) until a button is chosen.
extern uint32_t StartupModeChoice;

// Whether a mode function is registered for engine state `mode`.
bool ModeRegistered(int mode);

// Whether an image is open (channel 0x10 holds one).
bool ImageIsOpen();

// Ends the current mode and enters `mode` when it is registered, an image is
// open and it is not the current mode; otherwise does nothing. True when it switched.
bool SwitchToMode(int mode);

// What a start-up toolbar button does: with an image open it switches at
// once; without one it makes `mode` the mode the next Open enters.
void ChooseStartupMode(int mode);

// The mode Open enters from the start-up screen: the start-up toolbar's
// choice when registered, else the level editor.
uint32_t ModeAfterStartupOpen();

// Registers the twelve commands. A Mode menu entry is available when its mode
// is registered, an image is open and it is not the current mode; a start-up
// toolbar button when its mode is registered.
void RegisterModeSwitchCommands();
