#pragma once

#include <string>

// One level as the ROM tables describe it.
struct leveldata {
  std::string name;    // decoded from the image
  int ID = 0;          // level id
  int archetype = 0;   // tile graphics family
  int sequencing = 0;  // 0 horizontal (map by columns), else vertical (map by rows)
  int x = 0;           // camera start: offset into the archetype's tile map, object x origin
  int tilemap = 0;     // file offset of the first tile map entry
  int tileset = 0;     // file offset of the archetype's 32x32 tile definitions
  int tilegfx = 0;     // file offset of the archetype's compressed 8x8 graphics
  int backmap = 0;
  int backgfx = 0;
  int foremap = 0;
  int foregfx = 0;
  int physmap = 0;
  int palette = 0;  // file offset of the level's 128 colours
  int objects = 0;  // file offset of the object map
  int bananas = 0;  // file offset of the banana map
  int tile_w = 0;   // width in 32-pixel tiles
  int tile_h = 0;   // height in 32-pixel tiles
  int size = 0;     // tile map length in bytes (camera end - start + 256)
};

// Level ids of the game, and the two that are never shown.
constexpr int kQBR1FirstLevel = 0;
constexpr int kQBR1LastLevel = 229;
constexpr int kQBR1StartLevel = 0x16;
// True for the ids 0x5C and 0x5E, which hold no viewable level.
inline bool QBR1_IsHiddenLevel(int id) { return id == 0x5C || id == 0x5E; }

// Reads a level id as typed: decimal or 0x-prefixed hexadecimal, 0 to 229.
// False for anything else.
bool ParseLevelId(const std::string& text, int& id);

// Archetype of level id: its theme word looked up in "ThemeArchetype".
int Get_QBR1_LevelArchetype(int id);
// Palette offset of level id inside ThemePalBank ("ThemePalette", default 0xA1DC).
int Get_QBR1_LevelPalette(int id);
// Sequencing of archetype a ("ArchetypeSequencing"): 0 horizontal, else vertical.
int Get_QBR1_LevelMode(int a);
// The level's name; ends at its marked last character or at the end of the image.
std::string Get_QBR1_LevelName(int id);
// File offset of the level's first tile map entry.
int Get_QBR1_LevelOffset(int id);
// File offset of the camera record of level id (its start and end words).
long long Get_QBR1_LevelRecord(int id);
// Camera start of level id.
int Get_QBR1_LevelOffsetX(int id);
// Camera end - camera start + 256.
int Get_QBR1_LevelSize(int id);
// Width in tiles: 64 for a vertical archetype, else size / 32.
int Get_QBR1_LevelTilesW(int id, int a);
// Height in tiles: size / 128 for a vertical archetype, else 16.
int Get_QBR1_LevelTilesH(int id, int a);
// Compressed graphics offset of archetype a: where its graphics pointer points
// when the graphics may move (level/graphics_space.h), else "ThemeGraphics"
// (default 0x158FC0).
int Get_QBR1_LevelGFXOffset(int a);
// Tile set offset of archetype a ("ThemeTileSet", default 0x19A3C0).
int Get_QBR1_LevelTISOffset(int a);
// File offset of the object map of level id.
int Get_QBR1_LevelObjectMap(int id);
// File offset of the banana map of level id.
unsigned long Get_QBR1_LevelBananaMap(int id);
// The id under which level id's object and banana maps are stored: its own,
// except for levels 0x27 and 0x2E, which use each other's (its own inverse).
int QBR1_ListIndexOf(int id);
// Sets lvl.objects and lvl.bananas from the pointer tables, for lvl.ID (levels
// 0x27 and 0x2E use each other's maps).
void Get_QBR1_LevelListOffsets(leveldata& lvl);
// Fills lvl for level id from the image and the game configuration.
void Get_QBR1_LevelDataStruct(int id, leveldata& lvl);
