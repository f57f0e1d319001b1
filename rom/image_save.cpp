#include "rom/image_save.h"

#include <vector>

#include "bfa/bfa.h"
#include "platform/dialogs.h"
#include "rom/autosave.h"
#include "rom/globaldata.h"
#include "rom/bps_patch.h"
#include "rom/ips_patch.h"
#include "rom/open_image.h"
#include "shell/base/functions.h"

namespace {

ImageFileHook image_file_hook = nullptr;

const char kSaveErrorTitle[] = "Error saving file!";

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void ShowSaveFailure(const std::string& path, const std::string& reason) {
  ErrorBox("Could not save \"" + path + "\":\n" + reason + ".\n\nThe file on disk was not changed.", kSaveErrorTitle);
}

// Writes the image to `path`; the first write over an existing file keeps it as FILE.bak. Shows the
// failure and returns false when anything goes wrong.
bool WriteImageTo(const std::string& path) {
  OpenImage& image = TheImage();
  const std::vector<unsigned char> bytes = image.SavedFileBytes();
  std::string error;
  if (StampOf(path).exists && !KeepBackupOnce(path, path + ".bak", error)) {
    ShowSaveFailure(path, error);
    return false;
  }
  if (!ReplaceFile(path, bytes, error)) {
    ShowSaveFailure(path, error);
    return false;
  }
  image.Document().MarkSaved();
  image.SetSavedTo(path);
  // A saved image opens again with its game configuration, without the identification question.
  if (!image.ConfigFile().empty()) {
    const std::size_t header = image.Document().HeaderSize() < bytes.size() ? image.Document().HeaderSize() : 0;
    const crc32 saved = CharArray_Get_CRC32(reinterpret_cast<const char*>(bytes.data()) + header,
                                            static_cast<int>(bytes.size() - header));
    RememberEditedImage(saved, image.ConfigFile());
  }
  ForgetRecoveryCopies();
  return true;
}

std::string SuggestedName(const char* extension) {
  const std::string& path = TheImage().Path();
  std::string name = path.empty() ? "edited" : BaseName(path);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name + extension;
}

}  // namespace

const std::string& ImageFilePath() { return TheImage().Path(); }

const std::string& ImageGameConfig() { return TheImage().ConfigFile(); }

std::string ImageDisplayName() { return TheImage().DisplayName(); }

std::string ImageWindowTitle() {
  const OpenImage& image = TheImage();
  if (!image.IsOpen()) return "QBR Resource Editor";
  // A hack kept as a patch is named by both files for as long as it is edited.
  const std::string name = image.InPatchSession() ? image.SessionName() : image.DisplayName();
  return "QBRRE - " + name + (image.Document().HasUnsavedEdits() ? " *" : "");
}

void SetImageFile(const std::string& path, const std::string& config, const std::string& name) {
  TheImage().SetFile(path, config, name);
}

void SetImageFileHook(ImageFileHook hook) { image_file_hook = hook; }

void NoteImageFile(const std::string& path) {
  if (image_file_hook != nullptr) image_file_hook(path);
}

bool SaveImage() {
  const ImageIdentity file = TheImage().Identity();
  if (file.path.empty()) return SaveImageAs();
  if (StampOf(file.path) != file.stamp &&
      !YesNoBox("\"" + file.path +
                    "\" was changed on disk since it was opened or saved.\n\nOverwrite it with the image shown here?",
                "File Changed on Disk"))
    return false;
  return WriteImageTo(file.path);
}

bool SaveImageAs() {
  const std::string path =
      PlatformSaveFileDialog("Save QBR image as...", {{"Quarbo v1.0 US-NTSC", "*.smc"}}, SuggestedName(".smc"));
  if (path.empty() || !WriteImageTo(path)) return false;
  NoteImageFile(path);
  return true;
}

namespace {

// Writes the patch `make` builds from the patch base (the clean image of a patch session, else the
// file as opened) to the file Save would write now, at a path the save dialog asks for. In a session
// whose patch has this format, the dialog offers that patch itself, and writing it counts as saving
// the hack.
bool SavePatch(const char* title, const char* kind, const char* extension, PatchFormat format,
               bool (*make)(const std::vector<unsigned char>&, const std::vector<unsigned char>&,
                            std::vector<unsigned char>&, std::string&)) {
  OpenImage& image = TheImage();
  const bool own = image.InPatchSession() && image.SessionPatchFormat() == format;
  const std::string path = PlatformSaveFileDialog(title, {{kind, std::string("*") + extension}},
                                                  own ? image.PatchPath() : SuggestedName(extension));
  if (path.empty()) return false;
  std::vector<unsigned char> patch;
  std::string error;
  if (!make(image.PatchBase(), image.SavedFileBytes(), patch, error) || !ReplaceFile(path, patch, error)) {
    ShowSaveFailure(path, error);
    return false;
  }
  if (own && image.IsSessionPatch(path)) {
    image.Document().MarkSaved();
    ForgetRecoveryCopies();
  }
  return true;
}

bool MakeBps(const std::vector<unsigned char>& base, const std::vector<unsigned char>& image,
             std::vector<unsigned char>& patch, std::string&) {
  patch = MakeBpsPatch(base, image);
  return true;
}

}  // namespace

bool SaveImagePatch() { return SavePatch("Save IPS patch...", "IPS patch", ".ips", PatchFormat::kIps, MakeIpsPatch); }

bool SaveImageBpsPatch() { return SavePatch("Save BPS patch...", "BPS patch", ".bps", PatchFormat::kBps, MakeBps); }

bool ConfirmUnsavedEdits() {
  if (!TheImage().Document().HasUnsavedEdits()) return true;
  const std::string answer =
      PlatformAskYesNoCancel("Unsaved Changes", "Save changes to \"" + ImageDisplayName() + "\"?");
  if (answer == "no") return true;
  if (answer == "yes") return SaveImage();
  return false;
}
