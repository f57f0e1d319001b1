#pragma once

// File > Recover... ($0008): lists every recovery copy (rom/recovery_store.h) with its image, time and
// size; the chosen one is restored as one undoable edit, into the open document when it is the copy's,
// else after opening its image, patch session or the demo image (unsaved edits weighed first), and
// then the mode an Open enters.
void RecoverFromCopy();
