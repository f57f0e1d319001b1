#pragma once

#include <string>

#include "editor/classes.h"
#include "editor/edit_input.h"
#include "editor/edit_lists.h"
#include "editor/edit_tiles.h"

// The level editor's edit modes (the Modify group): what the mouse does in the
// level view. The view, its keys and its scroll bars stay the camera's.

enum class EditMode { TileMap, Objects, BananaMap };

// The state of the edit modes: one per program, kept across levels.
struct EditModes {
  EditMode mode = EditMode::TileMap;
  TileEditor tiles;
  RecordListEditor<QBR1RawObject> objects;
  RecordListEditor<QBR1RawBanana> bananas;
  std::string status;      // the last message for the status line
  int status_updates = 0;  // logic updates it stays shown
};

// The edit modes' state.
EditModes& Edits();

// The level editor calls these: Attach when its camera is built, Proc once per
// logic update after the camera's Proc, Draw after the camera's Draw, DrawStatus
// over the GUI, Detach before the camera goes.
void EditModesAttach(CCamera& camera);
void EditModesProc(CCamera& camera);
void EditModesDraw(BITMAP* dest, const CCamera& camera);
void EditModesDrawStatus(BITMAP* dest, int w, int h);
void EditModesDetach();

// Switches the mode; a gesture in progress ends first.
void SetEditMode(EditMode mode);
// Shows `text` in the status line for a few seconds.
void SetEditStatus(const std::string& text);

// Registers the Modify group, the Edit menu's list commands and their shortcuts.
void RegisterEditModeCommands();

// Whether window pixel (x, y) is on the shown tile picker (the wheel scrolls
// the picker there, not the view).
bool EditModesOwnWheelAt(int x, int y);

// The Edit menu's commands on the current mode's list; false when they cannot act.
bool EditCut();
bool EditCopy();
bool EditPaste();
bool EditDuplicate();
bool EditDelete();
bool EditSelectAll();

// Asks for an object definition (the configuration's named ones and every one
// the image uses) and gives it to the selected objects.
void ChooseObjectDefinition();
