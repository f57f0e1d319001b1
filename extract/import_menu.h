#pragma once

#include <string>
#include <vector>

#include "extract/import.h"
#include "gui/command_ids.h"

// The Extraction mode's Import menu: "Folder..." puts a whole exchange folder
// back into the image (what --import does), the other entries one file of their
// kind. Each is one undoable edit; its per-file lines stay for the view.

struct ImportEntry {
  CommandId id;
  const char* label;   // as in the menu
  const char* prefix;  // the file names the entry takes ("gfx-"); "" for the folder entry
};

// The menu's entries in menu order.
const std::vector<ImportEntry>& ImportEntries();

// Asks for the folder or the file of `entry` and imports it; false when the
// user cancelled or nothing could be read (said in a box).
bool RunImportEntry(const ImportEntry& entry);

// The lines of the last import, and a one-line summary of it ("" before the first).
const std::vector<ImportLine>& LastImportLines();
const std::string& LastImportSummary();
// Forgets the last import (a new visit of the mode starts without one).
void ClearLastImport();

// Registers the entries, available under `available` (the mode runs on an open image).
void RegisterImportCommands(bool (*available)());
