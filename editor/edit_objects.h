#pragma once

#include <string>
#include <vector>

#include "editor/edit_lists.h"

// The object definitions the user can give to objects: every named one of the
// game configuration ("OBJs_Names0001") and every one an object of the image uses.

struct ObjectDefinitionRow {
  unsigned zo = 0;   // definition address
  std::string name;  // the configuration's name, or "No Definition"
  int uses = 0;      // objects of the image's object lists that use it
};

// The definitions, in increasing address order.
std::vector<ObjectDefinitionRow> ObjectDefinitionRows();

// Reads a list answer ("1040" or "0x1040") as a definition address; false for anything else.
bool ParseDefinitionAnswer(const std::string& answer, unsigned& zo);

// Opens the Object Definition list (the rows above) with `text`; true with the
// chosen address in `zo`, false when cancelled or the answer is not an address
// (the status line says so).
bool AskObjectDefinition(const std::string& text, unsigned& zo);

// Asks for an object definition (the rows above) and gives it to the objects
// selected in `list`, which stay selected; nothing without a selection.
void ChooseObjectDefinition(RecordListEditor<QBR1RawObject>& list);
