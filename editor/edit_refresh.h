#pragma once

#include "editor/classes.h"

// Keeps the camera's decoded caches in step with the image while edits change
// it: the object and banana lists (and their offsets, which a list that grew
// changes) are read again after every change; the tile
// bitmaps, sprites and the level record are rebuilt when a change that did not
// come from the edit modes (undo, redo) touched what they are decoded from.

// Remembers what the camera's caches were decoded from (call when it is built).
void ViewCachesAttach(const CCamera& camera);
// Brings the caches up to date after the image changed; `own_change`: the
// change came from the edit modes, which change only maps and lists.
void ViewCachesRefresh(CCamera& camera, bool own_change);
