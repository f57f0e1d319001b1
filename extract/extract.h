#pragma once

#include <atomic>
#include <string>
#include <vector>

// Writing the decoded resources of the loaded image into a folder: pictures
// (level terrains, tile-set sheets, sprites) and the raw data behind them
// (8x8 graphics, tile-set definitions, tile maps, palettes, sprite pixels).

// What one extraction writes.
enum class ExtractKind {
  Terrains,     // level-0xNN.png: the level picture of `--export all`
  TileSets,     // tileset-0xNN.png: the level's 32x32 tiles, 16 to a row, RGBA
  Sprites,      // sprite-0xNNNN.png: every sprite an object draws, cropped, RGBA
  Gfx,          // gfx-0xNN.bin and .png: an archetype's decompressed 8x8 characters, raw and as an indexed sheet
  TileSetData,  // tileset-0xNN.bin: an archetype's tile definitions as stored
  TileMaps,     // tilemap-0xNN.bin: a level's map words, column by column
  Palettes,     // palette-0xNN.bin (128 words) and palette-0xNN.gpl per level
  SpriteData,   // sprite-0xNNNN.bin: width, height (16-bit words), one index byte per pixel
};

// Every kind, in the order `all` writes them.
extern const ExtractKind kAllExtractKinds[8];

// The command-line name of a kind ("terrains", "tilesets", "sprites", "gfx",
// "tileset-data", "tilemaps", "palettes", "sprite-data").
const char* ExtractKindName(ExtractKind kind);

// The kind named `name`; false when no kind has that name.
bool ExtractKindFromName(const std::string& name, ExtractKind& kind);

// The file-name pattern a kind writes, for the extraction view ("level-0xNN.png").
const char* ExtractKindPattern(ExtractKind kind);

// What an extraction did: files written, one line per thing it could not
// write (skipped, the run went on), and the file that could not be created
// when the folder refused a write (the run stopped there).
struct ExtractReport {
  int written = 0;
  std::vector<std::string> skipped;
  std::string failed_path;  // empty unless a write failed
  std::string failed_reason;  // why it failed, a short reason
  bool cancelled = false;   // the run stopped because ExtractControl::cancel was set
  std::vector<std::string> files;  // the names of the files written, in order
};

// How an extraction runs, and what another thread may watch and change while it does.
struct ExtractControl {
  int workers = 0;                  // threads that decode and encode; 0: one per core
  std::atomic<int> written{0};      // files written so far by this run
  std::atomic<bool> cancel{false};  // set from any thread: stop after the file being written
};

// Writes the files of `kind` for the loaded image (channel 0x10, game
// configuration selected) into the existing folder `folder`. Each file is
// written under a temporary name and renamed into place, so a failure never
// leaves half a file under a final name nor harms the file that was there; a
// symbolic link is written through. `image_file` (the file the image was read
// from; "" for none) is never written: a name of the folder that reaches it
// ends the run like a write that fails. Items are decoded and encoded on
// `control->workers` threads (one per core without `control`) and written in
// one fixed order, so the files and the report are the same for any number of
// workers.
ExtractReport QBR1_Extract(ExtractKind kind, const std::string& folder, const std::string& image_file,
                           ExtractControl* control = nullptr);

// The line that names the failed write of `report`: cannot write "PATH": REASON.
std::string ExtractFailureLine(const ExtractReport& report);

// What the loaded image holds that the kinds write one file each for.
struct ExtractCounts {
  int levels = 0;      // viewable levels
  int archetypes = 0;  // archetypes those levels use
  int sprites = 0;     // sprite numbers their objects draw
};

// Counts them (one walk over every level's objects).
ExtractCounts QBR1_CountExtractables();

// How many files `kind` writes for an image holding `counts` (before any is skipped).
int ExtractFileCount(ExtractKind kind, const ExtractCounts& counts);

// Headless `--extract KIND --output DIR ROM`: loads the image as `--list` does,
// creates DIR when needed and writes the files of KIND (or of every kind for
// "all"). Skipped items are named on stderr, one line each, and the run exits 0;
// exit 1 with a one-line error when the image cannot be read, KIND is unknown
// or a file cannot be written.
int RunExtractCommand(const std::string& kind, const std::string& output, const std::string& romPath);
