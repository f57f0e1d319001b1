#include "rom/patch_session.h"

#include <filesystem>
#include <string>
#include <utility>

#include "rom/file_replace.h"
#include "rom/image_edits.h"

namespace {

struct Session {
  std::string rom, patch;
  PatchFormat format = PatchFormat::kUnknown;
  std::vector<unsigned char> clean;
};

Session& Current() {
  static Session session;
  return session;
}

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

void BeginPatchSession(const std::string& rom, const std::string& patch, PatchedImage image) {
  Session& s = Current();
  // Absolute: the save dialog offers the patch itself, from whatever folder it starts in.
  s.rom = std::filesystem::absolute(rom).string();
  s.patch = std::filesystem::absolute(patch).string();
  s.format = image.format;
  s.clean = std::move(image.clean);
}

void EndPatchSession() { Current() = Session{}; }

bool InPatchSession() { return !Current().patch.empty(); }

bool IsSessionPatch(const std::string& path) {
  if (!InPatchSession()) return false;
  std::error_code ec;
  return std::filesystem::weakly_canonical(path, ec) == std::filesystem::weakly_canonical(Current().patch, ec);
}

const std::string& SessionPatchPath() { return Current().patch; }

const std::string& SessionImagePath() { return Current().rom; }

PatchFormat SessionPatchFormat() { return Current().format; }

const std::vector<unsigned char>& PatchBaseBytes() { return InPatchSession() ? Current().clean : QBR1_OpenedFile(); }

std::string SessionName() {
  if (!InPatchSession()) return "";
  return BaseName(Current().patch) + " on " + BaseName(Current().rom);
}
