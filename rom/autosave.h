// Keeping the open document's unsaved edits in a recovery copy (rom/recovery_store.h): written in the
// background a few seconds after the last edit, at once on a close signal, and from a crash or a lost
// display with async-signal-safe calls only; offered back when the document is opened again, removed
// when it is saved. Worker thread, except where a function says otherwise.
#pragma once

#include <string>
#include <vector>

#include "rom/recovery_store.h"

// Seconds without an edit before a copy is written, and the shortest time between two copies of one
// document (also the longest that edits wait while the user never pauses).
constexpr double kAutosaveQuietSeconds = 3.0;
constexpr double kAutosaveIntervalSeconds = 30.0;

// Whether a copy is due now, from the seconds since the last edit, since the first edit no copy holds
// yet and since the last copy was written (a large number when none was).
bool AutosaveDue(double since_edit, double since_unwritten, double since_written);

// The identity of the open document: its image file, else its patch session, else the demo image.
RecoveryIdentity OpenDocumentIdentity();

// Once per pass of the frame: notices edits, and when a copy is due takes a snapshot of the bytes
// Save would write and hands it to the writer thread. Costs a few comparisons when nothing is due.
void AutosaveTick();

// For a close signal: waits for the writer, then writes the latest edits to the document's copy.
// True when written or nothing needed keeping; false, with one line on stderr, when it failed.
bool KeepWorkNow();
// For a crash or a lost display, from any thread: writes the latest edits to the document's copy with
// async-signal-safe calls only (open, write, rename) and says so on stderr. Nothing without edits.
void KeepWorkFromSignal();

// The image-opened hook: the copies of the document just opened that are newer than its files are
// offered back (the newest, "Restore the unsaved edits of "NAME" from TIME?"); Yes restores it as one
// undoable edit, No keeps every copy until the document is saved. A copy chosen with File >
// Recover... (SetPendingRecovery) is restored without asking.
void OfferRecoveryOnOpen();
// The copy `path` is restored without a question when its document opens next.
void SetPendingRecovery(const std::string& path);

// Writes the bytes in which `file` (a whole file, copier header included, of the size of the file as
// opened) differs from the document now as one undoable edit, each at the image's own offset, so the
// document then holds the copy (its copier header kept as opened). False, nothing written, when the
// sizes differ.
bool RestoreRecoveryBytes(const std::vector<unsigned char>& file);

// After the document was saved: its copies (those found at open and those written since) are removed.
void ForgetRecoveryCopies();

// Waits until the writer thread has written what it was given (tests, shut-down).
void WaitForAutosaveWriter();
