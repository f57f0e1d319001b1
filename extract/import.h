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
  std::string outcome;  // "unchanged", "unchanged since extraction", "written (N bytes at 0xOFFSET)" or "refused: REASON"
  bool refused = false;
};

struct ImportOptions {
  bool all = false;  // take every file that differs from the image, also one the manifest says is as extracted
};

// True when `name` is the name of a file the extraction writes and the import
// takes back; names are matched without regard to case.
bool QBR1_IsImportableName(const std::string& name);

// Puts the files at `paths` (their names say what each holds) into the loaded
// image, all in one undoable edit. Every file is compared with the image as it
// was before the import: one whose content the image already holds is
// "unchanged" and writes nothing; unless `options.all`, one whose bytes are
// still those the manifest of its folder (extract/extract_manifest.h) records
// is "unchanged since extraction" and writes nothing, so an old folder cannot
// undo later edits of the image; a refused one writes nothing. Where a .png and
// a .bin (or a .gpl and a .bin) of the same thing both differ from the image and
// from each other, the .png (.gpl) goes in and both lines say so; two files that
// would write different bytes to the same place (two of one form, or levels that
// share a map or a palette) are both refused, each line naming the other.
// One line per file, in name order.
std::vector<ImportLine> QBR1_ImportFiles(const std::vector<std::string>& paths, const ImportOptions& options = {});

// QBR1_ImportFiles for every file of `folder` whose name the extraction writes
// (QBR1_IsImportableName); no line when it holds none. False, with a short
// reason in `error`, when the folder cannot be read.
bool QBR1_ImportFolder(const std::string& folder, std::vector<ImportLine>& lines, std::string& error,
                       const ImportOptions& options = {});

// What to say of a folder without a file to import ("the folder ... " + this).
extern const char* const kImportNothingToImport;

// Headless `--import [--all] DIR --output OUT ROM`: loads ROM as `--list` does (its
// copier header decided as Open decides it), imports DIR (QBR1_ImportFolder with
// `options`), writes the result to OUT (which may be ROM itself) through a temporary
// file and then prints one line per file ("NAME: OUTCOME") on stdout; when OUT cannot
// be written, only the stderr line, which says that nothing was written. Exit 0 when
// no file was refused, 1 when one was or when the image, the folder or OUT could not
// be read or written, the folder holds no file to import, or OUT is one of the files
// of DIR the import
// read (under any name; nothing is printed or written then): one line on stderr.
int RunImportCommand(const std::string& folder, const std::string& output, const std::string& romPath,
                     const ImportOptions& options = {});
