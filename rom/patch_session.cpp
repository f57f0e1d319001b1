#include "rom/patch_session.h"

#include <string>
#include <utility>

#include "rom/file_replace.h"

namespace {

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Read(const std::string& path, std::vector<unsigned char>& out, std::string& error) {
  std::string reason;
  if (ReadRegularFile(path, out, reason)) return true;
  error = "cannot read \"" + path + "\": " + reason;
  return false;
}

}  // namespace

bool ReadPatchedImage(const std::string& rom, const std::string& patch, PatchedImage& out, std::string& error) {
  PatchedImage image;
  std::vector<unsigned char> changes;
  if (!Read(rom, image.clean, error) || !Read(patch, changes, error)) return false;
  std::string reason;
  if (!ApplyPatch(changes, image.clean, image.patched, reason)) {
    // Built piece by piece in a fresh string: g++ warns falsely (-Wrestrict) about a
    // literal copied into a string that might alias the arguments.
    std::string message(1, '"');
    message += BaseName(patch);
    message += "\": ";
    message += reason;
    error = std::move(message);
    return false;
  }
  image.format = PatchFormatOf(changes);
  out = std::move(image);
  return true;
}
