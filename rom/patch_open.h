// Opening a hack kept as a patch: `qbrre ROM --patch PATCH` and File > Open Patch... ($0006).
// Worker thread only (dialogs and the image belong to it).
#pragma once

#include <string>

// The patch the command line named for its ROM image; the first Open applies it.
void SetStartupPatchPath(const std::string& patch);
// Takes the command line's patch ("" when none or already taken).
std::string TakeStartupPatchPath();

// Opens `rom` with `patch` (IPS or BPS) applied as the starting point of the edits: identified by the
// clean image's checksum, installed as the file as opened (the patch's changes are no undo steps),
// without a file of its own (the first Save asks for a path), and the session kept for Save IPS and
// Save BPS. A patch that cannot be applied (a BPS patch made from another image among them) is
// refused in a box before anything changes. True when the image is open; the caller decides which
// mode shows it.
bool OpenImageWithPatch(const std::string& rom, const std::string& patch);

// Open Patch...: weighs unsaved edits, asks for the patch, then for the image it applies to, and opens
// them as OpenImageWithPatch does. False when cancelled or refused.
bool OpenPatchWithDialogs();
