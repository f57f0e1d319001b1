// Editing a hack kept as a patch: the editor opens a clean image with an IPS or BPS patch applied as
// its starting point. The patch's changes are part of the file as opened (no undo steps); the clean
// image stays the base every patch is made from, so Save IPS / Save BPS can update the patch itself.
// Worker thread only, like the image it belongs to.
#pragma once

#include <string>
#include <vector>

#include "rom/patch_apply.h"

// A clean image and the same with a patch applied.
struct PatchedImage {
  std::vector<unsigned char> clean;    // the file as read
  std::vector<unsigned char> patched;  // with the patch applied
  PatchFormat format = PatchFormat::kUnknown;
};

// Reads the clean image `rom` and the patch `patch` and applies it. False, with a one-line reason
// naming the file, when a file cannot be read or the patch is refused (a BPS patch made from another
// image among them); `out` is unchanged then.
bool ReadPatchedImage(const std::string& rom, const std::string& patch, PatchedImage& out, std::string& error);

// Starts a session for an image just opened from `rom` with `patch` applied (`image.patched` is
// the file as opened; only the clean image and the format are kept).
void BeginPatchSession(const std::string& rom, const std::string& patch, PatchedImage image);
// Ends the session (another image was opened).
void EndPatchSession();
// Whether the open image came from a clean image and a patch.
bool InPatchSession();
// Whether `path` names the session's patch file.
bool IsSessionPatch(const std::string& path);
// The patch file of the session, as an absolute path ("" without one).
const std::string& SessionPatchPath();
// The clean image the session's patch applies to, as an absolute path ("" without a session).
const std::string& SessionImagePath();
// The format of the session's patch (kUnknown without one).
PatchFormat SessionPatchFormat();

// What a patch is made from: the clean image of the session, else the file as opened.
const std::vector<unsigned char>& PatchBaseBytes();

// The session's name for the window's title (ImageWindowTitle), naming both files: "hack.bps on
// game.smc" ("" without a session).
std::string SessionName();
