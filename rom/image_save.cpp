#include "rom/image_save.h"

#include <vector>

#include "bfa/bfa.h"
#include "platform/dialogs.h"
#include "rom/autosave.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "rom/bps_patch.h"
#include "rom/ips_patch.h"
#include "rom/patch_session.h"
#include "shell/base/functions.h"

namespace {

std::string image_path;
std::string image_name;    // shown while there is no file
FileStamp image_stamp;     // the file on disk as last read or written by us
std::string image_config;  // the game configuration it is edited with; "" unidentified

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
  const std::vector<unsigned char> bytes = QBR1_SavedFileBytes();
  std::string error;
  if (StampOf(path).exists && !KeepBackupOnce(path, path + ".bak", error)) {
    ShowSaveFailure(path, error);
    return false;
  }
  if (!ReplaceFile(path, bytes, error)) {
    ShowSaveFailure(path, error);
    return false;
  }
  QBR1_MarkSaved();
  image_path = path;
  image_stamp = StampOf(path);
  // A saved image opens again with its game configuration, without the identification question.
  if (!image_config.empty()) {
    const std::size_t header = QBR1_HeaderSize() < bytes.size() ? QBR1_HeaderSize() : 0;
    const crc32 saved = CharArray_Get_CRC32(reinterpret_cast<const char*>(bytes.data()) + header,
                                            static_cast<int>(bytes.size() - header));
    RememberEditedImage(saved, image_config);
  }
  ForgetRecoveryCopies();
  return true;
}

std::string SuggestedName(const char* extension) {
  std::string name = image_path.empty() ? "edited" : BaseName(image_path);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name + extension;
}

}  // namespace

const std::string& ImageFilePath() { return image_path; }

const std::string& ImageGameConfig() { return image_config; }

std::string ImageDisplayName() { return image_path.empty() ? image_name : BaseName(image_path); }

std::string ImageWindowTitle() {
  if (QBR1.empty()) return "QBR Resource Editor";
  // A hack kept as a patch is named by both files for as long as it is edited.
  const std::string name = InPatchSession() ? SessionName() : ImageDisplayName();
  return "QBRRE - " + name + (QBR1_HasUnsavedEdits() ? " *" : "");
}

void SetImageFile(const std::string& path, const std::string& config, const std::string& name) {
  EndPatchSession();  // a patch session begins after this, when the image came with a patch
  image_path = path;
  image_name = name;
  image_stamp = path.empty() ? FileStamp{} : StampOf(path);
  image_config = config;
}

void SetImageFileHook(ImageFileHook hook) { image_file_hook = hook; }

void NoteImageFile(const std::string& path) {
  if (image_file_hook != nullptr) image_file_hook(path);
}

bool SaveImage() {
  if (image_path.empty()) return SaveImageAs();
  if (StampOf(image_path) != image_stamp &&
      !YesNoBox("\"" + image_path +
                    "\" was changed on disk since it was opened or saved.\n\nOverwrite it with the image shown here?",
                "File Changed on Disk"))
    return false;
  return WriteImageTo(image_path);
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
  const bool own = InPatchSession() && SessionPatchFormat() == format;
  const std::string path = PlatformSaveFileDialog(title, {{kind, std::string("*") + extension}},
                                                  own ? SessionPatchPath() : SuggestedName(extension));
  if (path.empty()) return false;
  std::vector<unsigned char> patch;
  std::string error;
  if (!make(PatchBaseBytes(), QBR1_SavedFileBytes(), patch, error) || !ReplaceFile(path, patch, error)) {
    ShowSaveFailure(path, error);
    return false;
  }
  if (own && IsSessionPatch(path)) {
    QBR1_MarkSaved();
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
  if (!QBR1_HasUnsavedEdits()) return true;
  const std::string answer =
      PlatformAskYesNoCancel("Unsaved Changes", "Save changes to \"" + ImageDisplayName() + "\"?");
  if (answer == "no") return true;
  if (answer == "yes") return SaveImage();
  return false;
}
