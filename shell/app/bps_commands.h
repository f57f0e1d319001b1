#pragma once

#include <string>

// `qbrre --make-bps ORIGINAL EDITED --output PATCH`: writes the BPS patch that turns ORIGINAL into
// EDITED (any sizes). 0 when written; 1, with one line on stderr and nothing written, when PATCH is
// ORIGINAL or EDITED (under any name), a file cannot be read or the patch cannot be written.
int RunMakeBpsCommand(const std::string& original, const std::string& edited, const std::string& output);

// `qbrre --apply-bps PATCH ROM --output OUT`: writes ROM with the BPS patch applied to OUT (OUT may be
// ROM: it is replaced in one step). 0 when written; 1, with one line on stderr and nothing written,
// when OUT is PATCH (under any name), the patch is damaged, ROM is not the image it was made from,
// the result differs from the one it was made for, or a file cannot be read or written.
int RunApplyBpsCommand(const std::string& patch, const std::string& rom, const std::string& output);

// `qbrre --apply PATCH ROM --output OUT`: as --apply-bps or --apply-ips, chosen by the patch's first
// bytes ("BPS1" or "PATCH"); a file that starts with neither is refused like a damaged patch.
int RunApplyPatchCommand(const std::string& patch, const std::string& rom, const std::string& output);
