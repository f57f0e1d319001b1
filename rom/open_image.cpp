#include "rom/open_image.h"

#include <atomic>
#include <filesystem>
#include <utility>

#include "bfa/bfa.h"

namespace {

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Read by a close signal's check on the main thread as well.
std::atomic<OpenImage*> registered{nullptr};

}  // namespace

std::string OpenImage::DisplayName() const { return file_.path.empty() ? file_.name : BaseName(file_.path); }

void OpenImage::SetFile(const std::string& path, const std::string& config, const std::string& name) {
  session_ = PatchSession{};
  file_.path = path;
  file_.name = name;
  file_.stamp = path.empty() ? FileStamp{} : StampOf(path);
  file_.config = config;
}

void OpenImage::SetSavedTo(const std::string& path) {
  file_.path = path;
  file_.stamp = StampOf(path);
}

void OpenImage::BeginPatchSession(const std::string& rom, const std::string& patch, PatchFormat format,
                                  std::vector<unsigned char> clean) {
  // Absolute: the save dialog offers the patch itself, from whatever folder it starts in.
  session_.rom = std::filesystem::absolute(rom).string();
  session_.patch = std::filesystem::absolute(patch).string();
  session_.format = format;
  session_.clean = std::move(clean);
}

bool OpenImage::IsSessionPatch(const std::string& path) const {
  if (!InPatchSession()) return false;
  std::error_code ec;
  return std::filesystem::weakly_canonical(path, ec) == std::filesystem::weakly_canonical(session_.patch, ec);
}

const std::vector<unsigned char>& OpenImage::PatchBase() const {
  return InPatchSession() ? session_.clean : document_.OpenedFile();
}

std::string OpenImage::SessionName() const {
  if (!InPatchSession()) return "";
  return BaseName(session_.patch) + " on " + BaseName(session_.rom);
}

OpenImage& TheImage() {
  static OpenImage own(QBR1);
  OpenImage* image = registered.load();
  return image != nullptr ? *image : own;
}

void RegisterOpenImage(OpenImage* image) { registered.store(image); }
