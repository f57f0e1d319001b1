#pragma once

#include <string>
#include <vector>

#include "extract/extract.h"
#include "gui/command_ids.h"
#include "platform/allegro_include.h"

// The Extraction mode: a view of what each entry of the Graphics and Binary
// menus writes, and the commands of those entries, which ask for a folder and
// write the files there.

// One entry of the Graphics or Binary menu.
struct ExtractionEntry {
  CommandId id;       // command number
  const char* menu;   // "Graphics" or "Binary"
  const char* label;  // the entry's text
  bool known;         // false: the program does not know this data; the entry stays unavailable
  ExtractKind kind;   // what a known entry writes
};

// The thirteen entries, in menu order.
const std::vector<ExtractionEntry>& ExtractionEntries();

// The mode's picture: one row per entry with its files and how many the
// loaded image gives, counted when the view is built, and below them the
// progress of a running extraction.
class ExtractionView {
 public:
  ExtractionView();
  // Draws the rows into dest, below the toolbar.
  void Draw(BITMAP* dest) const;
  // The status line: the last extraction's result, or what to do.
  std::string Status() const;
  // Files entry `index` of ExtractionEntries() writes (0 for an unknown entry).
  int Files(std::size_t index) const { return files_[index]; }

 private:
  // The last import's summary and per-file lines from row `y` down.
  void DrawImportLines(BITMAP* dest, int y) const;

  std::vector<int> files_;
};

// Carries out entry `entry`: asks for a folder (cancelling does nothing) and
// starts writing the files there on a thread of its own (ExtractionJob); the
// view shows how far it got. Nothing while an extraction runs.
void RunExtractionEntry(const ExtractionEntry& entry);

// Whether an extraction started by an entry has not been reported yet.
bool ExtractionRunning();

// Asks the running extraction to stop after the file being written.
void CancelExtraction();

// Once the running extraction has ended (at once when `wait`), tells the user
// what was written, skipped or refused, or, when cancelled, which files stay,
// in a box and the status line. True when it reported one.
bool ReportFinishedExtraction(bool wait);

// Mode function of the Extraction mode (Mode::Extraction).
void QBR1_EXTRACTION_SUBFUNCTION();

// Registers the commands of the known entries; available while the Extraction
// mode runs on an open image. The unknown entries stay unregistered, so unavailable.
void RegisterExtractionCommands();
