// Edits of the loaded image (channel 0x10, QBR1) with unlimited undo and redo: the functions every
// editor calls, thin wrappers over the document of the open image (TheImage().Document(),
// rom/open_image.h). One gesture is one transaction (rom/image_transaction.h).
//
// Three layers of bytes are kept apart: the file as opened (copier header included), the user's edits,
// and the in-memory corrections applied at Open. The view reads the channel, which holds all three; Save
// and patches are built from the first two only. One edit (one gesture: a stroke, a drag, a paste) is a
// labelled list of byte writes that remembers the bytes it replaced, so undo restores them exactly.
// Single-threaded: only the worker thread edits the image.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "rom/image_document.h"

// The document of the open image (TheImage().Document()).
ImageDocument& QBR1_Document();

// Writes bytes into the image (channel 0x10) at image offset `offset` (the copier header not
// counted), recording the old bytes. False, and nothing written, when any byte lies outside the
// image. A write outside a transaction is an edit of its own.
bool QBR1_WriteBytes(std::size_t offset, const unsigned char* bytes, std::size_t n);
bool QBR1_WriteByte(std::size_t offset, unsigned char value);
bool QBR1_WriteWord(std::size_t offset, unsigned short value);  // little-endian
// Undo / redo one edit; false when there is none. *level = the edit's level.
bool QBR1_Undo(int* level);
bool QBR1_Redo(int* level);
// The same, telling the step's level, label and the selection on the side of it now in force.
bool QBR1_UndoStep(EditStepInfo* step);
bool QBR1_RedoStep(EditStepInfo* step);
// Counter that changes on every write, undo and redo (views compare it to refresh caches).
unsigned long long QBR1_EditGeneration();
// Whether the image differs from the file as last opened or saved.
bool QBR1_HasUnsavedEdits();
// The same answer for any thread (a close signal reaches the main thread): as of the last write,
// undo, redo, open or save.
bool QBR1_HasUnsavedEditsAnyThread();
// The file exactly as opened (copier header included), and the bytes Save would write now
// (the opened file with the user's edits; never the in-memory corrections unless an edit covers them).
const std::vector<unsigned char>& QBR1_OpenedFile();
std::vector<unsigned char> QBR1_SavedFileBytes();
// Size of the copier header of the opened file (0 or 512).
std::size_t QBR1_HeaderSize();

// ---- Set-up by Open and Save ---------------------------------------------------------------------------

// Size of the copier header in front of an image file of `file_size` bytes: 512 when the size is a
// whole number (at least one) of 32 KiB blocks plus 512 bytes, otherwise 0.
std::size_t QBR1_CopierHeaderSize(std::size_t file_size);
// Starts the edit history of a newly installed image: keeps `file` (the file as opened, header
// included, `header` bytes of it the copier header), forgets every undo and redo step and any open
// edit, and counts the image as saved.
void QBR1_ResetEdits(std::vector<unsigned char> file, std::size_t header);
// Records that the file on disk now holds QBR1_SavedFileBytes(): the image has no unsaved edits
// until the next write, undo or redo. A gesture still open goes on as a new step after the saved one.
void QBR1_MarkSaved();
// Number of undo and redo steps available.
std::size_t QBR1_UndoCount();
std::size_t QBR1_RedoCount();
