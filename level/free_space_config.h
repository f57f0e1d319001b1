#pragma once

#include <string>
#include <vector>

#include "level/list_pool.h"

// The free ranges the game configuration declares for the lists to grow into:
// section "FreeSpace", keys "Objects" and "Bananas", each a comma-separated
// list of file-offset ranges START-END in hexadecimal (END included).

// Reads one key's value into `out`. False, with the first item that is not a
// range in `bad`, when an item is malformed (the well-formed ones are kept).
bool QBR1_ParseFreeRanges(const std::string& text, std::vector<ByteRange>& out, std::string& bad);

// Reads section "FreeSpace" of the configuration in force; each malformed item
// adds a message to `refusals`.
FreeSpaceDeclaration QBR1_ReadFreeSpaceConfig(std::vector<std::string>& refusals);

// Reads and checks (QBR1_CheckFreeSpace) the free space of the image in
// channel 0x10 and keeps what is accepted for the editor; returns a message
// for each range refused.
std::vector<std::string> QBR1_LoadFreeSpace();

// QBR1_LoadFreeSpace, with the refusals shown in one error box "Free Space
// Refused" (the image still opens; the refused ranges stay unused).
void ReportFreeSpace();

// The accepted free space of the open image (empty before the first load).
const FreeSpaceDeclaration& QBR1_FreeSpace();

// Reads key "Graphics" of section "FreeSpace": the ranges graphics that grow
// may move to (level/graphics_space.h); each malformed item adds a message to
// `refusals`.
std::vector<ByteRange> QBR1_ReadGraphicsFreeRanges(std::vector<std::string>& refusals);
