#pragma once

#include <string>

// `qbrre --make-ips ORIGINAL EDITED --output PATCH`: writes the IPS patch that turns ORIGINAL into
// EDITED (a shorter EDITED is recorded as the size after "EOF"). 0 when written; 1, with one line on
// stderr and nothing written, when PATCH is ORIGINAL or EDITED (under any name), a file cannot be
// read, or the patch cannot be made or written.
int RunMakeIpsCommand(const std::string& original, const std::string& edited, const std::string& output);

// `qbrre --apply-ips PATCH ROM --output OUT`: writes ROM with PATCH applied to OUT (OUT may be ROM:
// it is replaced in one step). 0 when written; 1, with one line on stderr and nothing written, when
// OUT is PATCH (under any name), the patch is truncated or malformed or a file cannot be read or
// written.
int RunApplyIpsCommand(const std::string& patch, const std::string& rom, const std::string& output);
