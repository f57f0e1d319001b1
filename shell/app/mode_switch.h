#pragma once

#include <optional>

#include "gui/command_ids.h"
#include "gui/mode_table.h"

// Which mode the program shows: switching from the "Mode" menu ($FF00-$FF05)
// and the start-up toolbar ($FE00-$FE05), entries in the order Level Editor,
// Extraction, Sprite Viewer, Palette Editor, Physmap Editor, Hex Editor; and
// the mode that follows a successful Open.

// The mode entry `id` stands for; none for other commands and for the physmap
// editor, which has no mode.
std::optional<Mode> ModeOfCommand(CommandId id);

// The mode the start-up toolbar has chosen: the first successful Open enters
// it instead of the level editor. The level editor until a button is chosen.
extern Mode StartupModeChoice;

// Whether a mode function is registered for `mode`.
bool ModeRegistered(Mode mode);

// Ends the current mode and enters `mode` when it is registered, an image is
// open and it is not the current mode; otherwise does nothing. True when it switched.
bool SwitchToMode(Mode mode);

// What a start-up toolbar button does: with an image open it switches at
// once; without one it makes `mode` the mode the next Open enters.
void ChooseStartupMode(Mode mode);

// The mode a successful Open enters: from the start-up screen the start-up
// toolbar's choice when registered, else (and from every other mode) the level editor.
Mode ModeAfterOpen();

// The Open command ($0000): opens an image (AppMenuOpenImage) and, when it is
// in use, requests ModeAfterOpen().
void OpenAndEnterMode();
// File > Open Patch...: the patch and the image it applies to (rom/patch_open.h), then the mode an
// Open enters.
void OpenPatchAndEnterMode();

// Registers the twelve commands. A Mode menu entry is available when its mode
// is registered, an image is open and it is not the current mode; a start-up
// toolbar button when its mode is registered.
void RegisterModeSwitchCommands();
