#pragma once

#include <string>
#include <vector>

#include "level/list_pool.h"

// Lists that several level ids show: the question an edit of one asks, the
// answers kept while the image stays open, and a copy of its own for one
// level. Levels 0x27 and 0x2E show each other's lists (QBR1_ListIndexOf).

// The levels (ascending) that show the `kind` list at `offset` of the image as it is now.
std::vector<int> LevelsShowingList(ListKind kind, long long offset);

enum class SharedListChoice { All, ThisLevel, Cancel };

// Asks whether an edit of level `level`'s list at `offset`, which `levels`
// show, changes it for all of them or gives `level` its own copy ("All",
// "This level", "Cancel"). An answer All is kept for that list, so the
// question comes once per list until another image opens.
SharedListChoice AskSharedListEdit(ListKind kind, int level, long long offset, const std::vector<int>& levels);

// A list moved from `from` to `to` (it grew): the answer kept for it goes along.
void FollowSharedListMove(ListKind kind, long long from, long long to);

// Forgets the answers kept (another image opened).
void ForgetSharedListAnswers();

// Makes room for a list of `bytes` bytes that only level `level` reads: the
// lowest free place of the pool, and the pointer only this level reads set to
// it (a banana list's pointer index that other levels also use is replaced
// by one no level uses). The place's bytes are left for the caller to write.
// Returns the place, or -1 with `why` saying what is missing (nothing written).
long long GiveOwnListPlace(ListKind kind, int level, long long bytes, std::string& why);
