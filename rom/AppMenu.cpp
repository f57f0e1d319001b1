#include "rom/AppMenu.h"

#include <string>
#include <utility>

#include "bfa/bfa.h"
#include "platform/dialogs.h"
#include "rom/globaldata.h"
#include "rom/image_install.h"
#include "rom/image_edits.h"
#include "rom/image_save.h"
#include "rom/patch_open.h"
#include "rom/file_replace.h"
#include "rom/settings_store.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

namespace {

StartupImageOpener& StartupOpener() {
  static StartupImageOpener opener = nullptr;
  return opener;
}

// The file dialog's type list, as pairs of description and pattern.
constexpr char kImageFilter[] = "Quarbo v1.0 US-NTSC\0*.smc\0";

// Reads, identifies and installs the image at `path`. The new file is read into
// a buffer of its own and replaces the image in use only once it has been
// accepted: a cancelled or failed Open must not leave the level view running on
// an empty channel.
bool OpenImageAt(const std::string& path) {
  // Another window may have saved this image since the settings were read: its entry decides.
  ReloadSettings();
  BFA_LoadedFile file;
  if (!BFA_ReadFile(path.c_str(), file)) {
    ErrorBox("An error occured when trying to open the ROM image.", "Unable to Open Game");
    return false;
  }
  // A copier header is not part of the image: the checksum of the rest identifies it.
  const std::size_t header = QBR1_OpenedHeaderSize(file.bytes.size(), file.crc);
  if (header > 0) {
    file.crc = CharArray_Get_CRC32(file.bytes.data() + header, static_cast<int>(file.bytes.size() - header));
  }
  if (!LoadQBR1(file.crc, qbr1gbl)) return false;
  const std::string config = KnownImageConfig(file.crc);
  if (!InstallQBR1Image(path.c_str(), std::move(file), header)) return false;
  SetImageFile(path, config);
  RemoveStaleTempFilesBeside(path);
  NoteImageFile(path);
  FinishOpen();
  return true;
}

}  // namespace

void SetStartupImageOpener(StartupImageOpener opener) { StartupOpener() = opener; }

bool AppMenuOpenImage() {
  // Unsaved edits of the image in use are given up only when the user says so.
  if (!ConfirmUnsavedEdits()) return false;
  // A path given on the command line answers the first Open (the start-up
  // screen's own); every later Open asks with the dialog. A startup opener (the
  // demo image of `--demo`) answers it instead.
  if (StartupImageOpener opener = std::exchange(StartupOpener(), nullptr)) return opener();
  std::string path = std::exchange(StartupRomPath, std::string());
  // `qbrre ROM --patch PATCH`: the command line's image opens with its patch applied.
  if (const std::string patch = TakeStartupPatchPath(); !patch.empty() && !path.empty())
    return OpenImageWithPatch(path, patch);
  if (path.empty()) path = OpenFileDialog(kImageFilter, "Open QBR image...");
  if (path == BFA_NO_FILE_SELECTED) {
    ErrorBox("No file was selected. You cannot use this tool without an appropriate ROM image.", "Notice");
    return false;
  }
  return OpenImageAt(path);
}

bool AppMenuOpenImageFile(const std::string& path) { return ConfirmUnsavedEdits() && OpenImageAt(path); }

// The platform always manages to show a box (on the terminal at worst), so it cannot fail.
void AppMenuShowAbout() { PlatformShowBox(BoxKind::About, "About QBRRE", mGetVersion()); }
