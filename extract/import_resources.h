#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "level/leveldata.h"
#include "level/rom_access.h"

// The resources of the image the import writes, one kind and number at a time:
// what the image holds now, what a file says it should hold, and the write.

enum class ImportKind { Characters, TileSet, TileMap, Palette };

// What a file name says: kind, archetype or level number, and whether it is
// the form that wins over a .bin of the same thing (.png characters, .gpl palette).
struct ImportName {
  ImportKind kind = ImportKind::Characters;
  int number = 0;
  bool preferred = false;
};

// Reads a name the extraction writes ("gfx-0x0C.png"); false for any other.
bool ParseImportName(const std::string& name, ImportName& out);

// One resource of the image as it was before the import.
struct ImportResource {
  ImportKind kind = ImportKind::Characters;
  int number = 0;
  std::string refusal;                 // non-empty: the image has no such resource; files for it are refused
  std::vector<unsigned char> current;  // its content, in the form a file gives it (characters, bytes, map words)
  long long offset = 0;                // where it lies in the image
  long long held = 0;                  // bytes it occupies there (a compressed block: dictionary to end marker)
  bool plain = true;                   // characters stored uncompressed (every other kind is plain)
  leveldata level;                     // the level of a tile map
  std::vector<std::uint32_t> sheet_row;  // characters: the colours their sheet is written in
};

// The resource of `kind` and `number` in `before` (the image before the
// import; the level tables are read from the loaded image, which the import
// does not change).
ImportResource QBR1_ImportResource(ImportKind kind, int number, const RomView& before);

// The content `bytes` (a file named as `name`) gives the resource, in the form
// of ImportResource::current. False, with the reason, when the file cannot be
// taken: not of the form or size the resource has.
bool QBR1_ImportContent(const ImportName& name, const std::vector<unsigned char>& bytes, const ImportResource& resource,
                        std::vector<unsigned char>& content, std::string& reason);

// Writes `content` (different from resource.current) into the loaded image
// through the image edits. "written (N bytes at 0xOFFSET)" in `outcome`, or
// false with the reason when it does not fit where the resource lies.
// Compressed characters that no longer fit move to the lowest free place of
// the declared graphics space when the archetype's graphics may move
// (level/graphics_space.h), and its pointer is rewritten in the same edit.
bool QBR1_ImportWrite(const ImportResource& resource, const std::vector<unsigned char>& content, const RomView& before,
                      std::string& outcome);

// What `content` puts at the resource's place in the image, to find two files
// that would write different bytes to the same place: from `offset` on, the
// bytes and which of them are the resource's (a tile map's rows or columns
// leave bytes between them alone). Characters are `whole`: their place is the
// stored block, and two of them meet when they share any of it.
struct ImportPlace {
  long long offset = 0;
  std::vector<unsigned char> bytes;
  std::vector<bool> mine;
  bool whole = false;

  long long Last() const { return offset + static_cast<long long>(bytes.size()) - 1; }
};
ImportPlace QBR1_ImportPlace(const ImportResource& resource, const std::vector<unsigned char>& content,
                             const RomView& before);
