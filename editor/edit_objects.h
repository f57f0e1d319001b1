#pragma once

#include <string>
#include <vector>

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
