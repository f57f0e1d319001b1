#pragma once

#include <string>
#include <vector>

// Putting the files of an exchange folder (what `--extract` writes) back into
// the loaded image: characters (gfx-0xNN.png, gfx-0xNN.bin), tile sets
// (tileset-0xNN.bin), tile maps (tilemap-0xNN.bin) and palettes
// (palette-0xNN.bin, palette-0xNN.gpl).

// What the import did with one file.
struct ImportLine {
  std::string file;     // the file's name
  std::string outcome;  // "unchanged", "written (N bytes at 0xOFFSET)" or "refused: REASON"
  bool refused = false;
};

// True when `name` is the name of a file the extraction writes and the import takes back.
bool QBR1_IsImportableName(const std::string& name);

// Puts the files at `paths` (their names say what each holds) into the loaded
// image, all in one undoable edit. Every file is compared with the image as it
// was before the import: one whose content the image already holds is
// "unchanged" and writes nothing, a refused one writes nothing, and where a
// .png and a .bin (or a .gpl and a .bin) of the same thing both differ from the
// image and from each other, the .png (.gpl) goes in and both lines say so.
// One line per file, in name order.
std::vector<ImportLine> QBR1_ImportFiles(const std::vector<std::string>& paths);

// QBR1_ImportFiles for every file of `folder` whose name the extraction writes
// (QBR1_IsImportableName). False, with a short reason in `error`, when the
// folder cannot be read.
bool QBR1_ImportFolder(const std::string& folder, std::vector<ImportLine>& lines, std::string& error);

// Headless `--import DIR --output OUT ROM`: loads ROM as `--list` does (its
// copier header decided as Open decides it), imports DIR, writes the result to
// OUT (which may be ROM itself) through a temporary file and then prints one
// line per file ("NAME: OUTCOME") on stdout; when OUT cannot be written, only
// the stderr line, which says that nothing was written. Exit 0
// when no file was refused, 1 when one was or when the image, the folder or OUT
// could not be read or written, or OUT is one of the files of DIR the import
// read (under any name; nothing is printed or written then): one line on stderr.
int RunImportCommand(const std::string& folder, const std::string& output, const std::string& romPath);
