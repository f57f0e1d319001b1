#pragma once

#include <cstddef>
#include <string>

// ROM offsets of the game's tables, read from section "Global_Offsets" of the
// game configuration. Each is a file offset into the ROM image, or the bank a
// table's 16-bit pointers point into.
struct globaldata {
  unsigned long ThemeFuncTable = 0;   // theme word per level
  unsigned long ThemePalBank = 0;     // bank of the level palettes
  unsigned long LvlNameBank = 0;      // bank of the level names
  unsigned long LvlNameTable1 = 0;    // name index per level, inside LvlNameBank
  unsigned long LvlNameTable2 = 0;    // name pointers, inside LvlNameBank
  unsigned long LvlStackTable = 0;    // tile map base per archetype (long pointers)
  unsigned long LvlCamBank = 0;       // bank of the camera records
  unsigned long LvlCamTable = 0;      // camera record pointers, inside LvlCamBank
  unsigned long LvlOBJMapBank = 0;    // bank of the object maps
  unsigned long LvlOBJMapTable = 0;   // object map pointers, inside LvlOBJMapBank
  unsigned long LvlBNAMapTable1 = 0;  // banana map index per level
  unsigned long LvlBNAMapTable2 = 0;  // banana map pointers (relative to this table)
  unsigned long OBJPalBank = 0;       // bank of the object palettes
  unsigned long BananaGraphics = 0;   // banana sprite sheet
  unsigned long BananaPalette = 0;    // the bananas' 15 colours
};

// The offsets of the open image; all 0 until the first successful LoadQBR1.
extern globaldata qbr1gbl;

// The question shown when an image is not the supported version.
extern const std::string unidmsg;

// CRC-32 of the one supported image file.
constexpr unsigned long kQBR1KnownCRC32 = 0xC946DCA0;

// The game configuration file, relative to the working directory.
extern const char* const kGameConfigPath;
// The demo image's game configuration, shipped beside it.
extern const char* const kDemoGameConfigPath;

// The program's own configuration file, laid over the game configuration.
extern const char* const kProgramConfigPath;

// One key of "Global_Offsets" with its default.
struct GlobalOffsetKey {
  const char* key;
  unsigned long globaldata::*field;
  unsigned long fallback;
};

// The 15 keys of "Global_Offsets" in reading order.
extern const GlobalOffsetKey kGlobalOffsetKeys[15];

// Reads the 15 offsets from the configuration in force into gbl (defaults for
// missing keys).
void ReadGlobalOffsets(globaldata& gbl);

// Makes the game configuration `config` (a path under GameConfig/, found as PlatformGameConfigFile
// finds it) current with Configuration.INI as its override and reads the offsets into gbl. Asks
// nothing.
void SelectGameConfig(globaldata& gbl, const std::string& config = kGameConfigPath);

// The game configuration an image of checksum `crc` is edited with: kGameConfigPath for the
// supported image; for an image this program saved, the configuration its entry in section
// "EditedImages" of the configuration in force names (checksum -> file name in GameConfig/; an entry
// holding the supported image's checksum, as older versions wrote them, names kGameConfigPath); ""
// when the image is not known.
std::string KnownImageConfig(unsigned long crc);
// The copier header to split off a file of `file_size` bytes whose whole CRC-32 is `whole_crc`: none
// when the whole file is a known image (KnownImageConfig), else QBR1_CopierHeaderSize's rule by size.
std::size_t QBR1_OpenedHeaderSize(std::size_t file_size, unsigned long whole_crc);
// Remembers a saved image in "EditedImages": key `crc` (8 upper-case hex digits), value the file name
// of its game configuration `config` (a path under GameConfig/).
void RememberEditedImage(unsigned long crc, const std::string& config);

// Identifies the image by crc (KnownImageConfig), asks the user about an unknown one, then selects
// its game configuration (kGameConfigPath for an unknown one) and fills gbl. False when the user declined (nothing
// changed).
bool LoadQBR1(unsigned long crc, globaldata& gbl);

// Returns to the program's own configuration (shutdown, before flushing).
void CloseGameConfig();
