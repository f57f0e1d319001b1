// Recovery copies: the unsaved edits a close signal would otherwise lose, kept in a file until the
// image is opened again. Worker thread only.
#pragma once

#include <string>

// Path of the recovery copy beside the open image's file: FILE.recovery (the demo image, which has no
// file, uses demo.smc.recovery in the working folder).
std::string RecoveryCopyPath();
// Where the recovery copy of the image file `path` goes when its own folder refuses it:
// $XDG_STATE_HOME/qbrre/recovery/NAME-XXXXXXXX.recovery (default ~/.local/state/qbrre/recovery/;
// XXXXXXXX is the CRC-32 of the file's absolute path, so that files of one name in different folders
// keep apart); "" when there is no such folder.
std::string FallbackRecoveryPath(const std::string& path);

// For a close signal: when the image has unsaved edits, writes them (the bytes Save would write) to
// RecoveryCopyPath(), or else to the fallback path with one line on stderr naming it. True when a
// copy was written or none was needed; false, with one line on stderr, when neither place took it.
bool SaveRecoveryCopy();

// After the image file `path` was opened: when a recovery copy of it (beside it or at the fallback
// path) is newer than the file and of its size, asks "Restore the unsaved edits from "COPY"?"; Yes
// writes the bytes in which the copy differs as one undoable edit (the image then has unsaved
// edits); No changes nothing, neither file included.
void OfferRecoveryCopy(const std::string& path);
