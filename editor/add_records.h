#pragma once

#include <string>
#include <vector>

#include "editor/edit_lists.h"
#include "level/new_records.h"

// Adding records to the level shown, at a level point: an object of a
// definition the user chooses from the Object Definition list, a banana group
// of a shape the user chooses from the shapes the image uses. Each is one undo
// step and may move the list (editor/list_growth.h); the status line says what
// was added and where its bytes came from.

// Asks for a definition and adds an object of it at level point (x, y); its
// kind byte and byte 1 come from QBR1_ObjectTemplate. False when the list was
// cancelled or nothing changed.
bool AddObjectAt(RecordListEditor<QBR1RawObject>& list, int x, int y);

// The rows of the shape list, one per shape: shape (4 hex digits, the answer),
// file offset, "columns x rows", bananas, groups using it.
std::vector<std::vector<std::string>> BananaShapeRows(const std::vector<BananaShapeUse>& shapes);

// Asks for a shape the image uses and adds a group of it at level point (x, y)
// (x in pixels, y rounded down to 8). False when cancelled or nothing changed.
bool AddBananaGroupAt(RecordListEditor<QBR1RawBanana>& list, int x, int y);
