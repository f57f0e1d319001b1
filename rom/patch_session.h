// Editing a hack kept as a patch: the editor opens a clean image with an IPS or BPS patch applied as
// its starting point. The patch's changes are part of the file as opened (no undo steps); the clean
// image stays the base every patch is made from, so Save IPS / Save BPS can update the patch itself.
// The session itself belongs to the open image (rom/open_image.h, PatchSession).
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
