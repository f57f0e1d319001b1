#pragma once

#include <ostream>

#include "level/list_pool.h"

// The figures `--free-space` prints, for objects and then bananas:
//   Objects
//     pool: N bytes
//     in use: N bytes
//     largest free run: N bytes [at START-END]
//     candidate only, not declared: START-END (N bytes between lists that no pointer reaches)
//     candidate only, not declared: START-END (N bytes of XX)
// (one line per candidate: the unreached gaps, then the runs of equal bytes).
// The pool is that of `rom` as it is (each list once) and the declared ranges,
// so the figures of an image saved and opened again are those it had before.
void QBR1_WriteFreeSpaceReport(std::ostream& out, const RomView& rom, const globaldata& g,
                               const FreeSpaceDeclaration& decl);
