#pragma once

#include <string>
#include <vector>

#include "level/list_pool.h"
#include "level/rom_access.h"

// Graphics that may grow: the game configuration may declare where the game
// keeps the 3-byte pointer it reads an archetype's compressed characters
// through (section "ThemeGraphicsPointer", key the archetype as two hexadecimal
// digits, value the pointer's file offset) and where graphics may go (section
// "FreeSpace", key "Graphics", ranges as for the lists). When both are declared
// for an archetype, its graphics are read through the pointer, and characters
// that no longer fit their place move to the declared space.

// The file offset of archetype a's graphics pointer; -1 when none is declared.
long long QBR1_GraphicsPointerAt(int a);

// True when archetype a's graphics are read through its pointer and may move:
// its pointer and a Graphics range are both declared.
bool QBR1_GraphicsMayMove(int a);

// The file offset the pointer at `pointer` names in `rom`.
long long QBR1_GraphicsPointerTarget(const RomView& rom, long long pointer);

// The place archetype a's graphics stream takes in `rom` at `offset`: the
// compressed block up to its end marker, or the plain block; empty when it does
// not start inside the image.
ByteRange QBR1_GraphicsStreamPlace(const RomView& rom, int a, long long offset);

// The declared Graphics ranges that the checks of QBR1_CheckGraphicsSpace
// accept for `rom`; a message for each range refused and for each pointer that
// disagrees with "ThemeGraphics" and points outside the accepted ranges goes
// into `messages` when given.
std::vector<ByteRange> QBR1_GraphicsSpace(const RomView& rom, std::vector<std::string>* messages = nullptr);

// The messages of QBR1_GraphicsSpace, for the checks made when an image opens.
std::vector<std::string> QBR1_CheckGraphicsSpace(const RomView& rom);

// The lowest offset of the accepted Graphics space of `rom` where `bytes` bytes
// fit beside the graphics every level's archetype reads now (archetype
// `moving`'s own stream counts as free); -1 when none holds them.
long long QBR1_GraphicsFreePlace(const RomView& rom, int moving, long long bytes);
