#pragma once

#include <string>

// `qbrre --make-ips ORIGINAL EDITED --output PATCH`: writes the IPS patch that turns ORIGINAL into
// EDITED (as long or longer). 0 when written; 1, with one line on stderr and nothing written, when a
// file cannot be read, EDITED is shorter, or the patch cannot be written.
int RunMakeIpsCommand(const std::string& original, const std::string& edited, const std::string& output);

// `qbrre --apply-ips PATCH ROM --output OUT`: writes ROM with PATCH applied to OUT. 0 when written;
// 1, with one line on stderr and nothing written, when the patch is truncated or malformed or a file
// cannot be read or written.
int RunApplyIpsCommand(const std::string& patch, const std::string& rom, const std::string& output);
