// The recovery copies on disk: one file per document in $XDG_STATE_HOME/qbrre/recovery/ (default
// ~/.local/state/qbrre/recovery/), holding the bytes Save would write and what identifies the document.
// Pure file work: no dialog, no image; any thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What a recovery copy belongs to: an image file (`image`), a patch session (`image` the clean image,
// `patch` the patch), or the demo image (both empty). Paths are absolute.
struct RecoveryIdentity {
  std::string image, patch;
  bool operator==(const RecoveryIdentity&) const = default;
};

// A recovery copy as read from its file.
struct RecoveryCopy {
  std::string path;  // the copy's own file
  RecoveryIdentity id;
  std::string config;              // the game configuration the document was edited with
  unsigned long long position = 0;  // its place in the undo history (steps in force)
  long long modified_ns = 0;        // when the copy was written
  std::size_t size = 0;             // bytes of the document
  std::vector<unsigned char> bytes;  // the document's bytes, when read with them
};

// The identity with both paths made absolute and canonical where they exist.
RecoveryIdentity MakeRecoveryIdentity(const std::string& image, const std::string& patch);

// The folder of the recovery copies; "" when neither XDG_STATE_HOME nor HOME is set.
std::string RecoveryFolder();

// The file name stem of a document's copies: "demo" for the demo image; else the image's (and the
// patch's) file name and the CRC-32 of the identifying paths in hex, so that no two documents share it.
std::string RecoveryStem(const RecoveryIdentity& id);
// The path of a document's copy in `folder`: STEM.recovery, or STEM.N.recovery for `n` > 0 (a copy
// written while an older one that the user declined is kept).
std::string RecoveryCopyPath(const std::string& folder, const RecoveryIdentity& id, int n = 0);

// The text in front of the bytes in a copy: a first line naming the format, then image=, patch=,
// config=, position= and size= lines and an empty line.
std::string RecoveryHeader(const RecoveryIdentity& id, const std::string& config, unsigned long long position,
                           std::size_t size);
// The first part of that text, up to and including "position=": what does not change between edits.
std::string RecoveryHeaderPrefix(const RecoveryIdentity& id, const std::string& config);

// Writes a copy (header and bytes) by temporary file and rename, making the folder when needed. False
// with a reason otherwise; no temporary file is left.
bool WriteRecoveryCopy(const std::string& path, const std::string& header, const std::vector<unsigned char>& bytes,
                       std::string& error);

// Reads the copy at `path` (its bytes too when `with_bytes`); false when it is no complete copy.
bool ReadRecoveryCopy(const std::string& path, RecoveryCopy& out, bool with_bytes);

// Every complete copy in `folder` (without bytes), newest first.
std::vector<RecoveryCopy> ListRecoveryCopies(const std::string& folder);
// The copies of one document in `folder`, newest first.
std::vector<RecoveryCopy> RecoveryCopiesOf(const std::string& folder, const RecoveryIdentity& id);

// A copy's time as the offer and the Recover list show it: local "YYYY-MM-DD HH:MM:SS".
std::string RecoveryTimeText(long long ns);
