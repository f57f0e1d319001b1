#include "shell/app/recover_command.h"

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "gui/mode_table.h"
#include "platform/dialogs.h"
#include "rom/AppMenu.h"
#include "rom/autosave.h"
#include "rom/image_save.h"
#include "rom/open_image.h"
#include "rom/patch_open.h"
#include "rom/recovery_store.h"
#include "shell/app/demo_open.h"
#include "shell/app/mode_switch.h"
#include "shell/base/functions.h"

namespace fs = std::filesystem;

namespace {

constexpr char kTitle[] = "Recover";

std::string DocumentName(const RecoveryIdentity& id) {
  if (id.image.empty() && id.patch.empty()) return kDemoImageName;
  if (id.patch.empty()) return id.image;
  return fs::path(id.patch).filename().string() + " on " + id.image;
}

// Opens the copy's document; its image-opened hook then restores the copy (SetPendingRecovery).
bool OpenDocumentOf(const RecoveryCopy& copy) {
  SetPendingRecovery(copy.path);
  bool opened = false;
  if (copy.id.patch.empty() && !copy.id.image.empty()) opened = AppMenuOpenImageFile(copy.id.image);
  else if (ConfirmUnsavedEdits())
    opened = copy.id.patch.empty() ? OpenDemoImage() : OpenImageWithPatch(copy.id.image, copy.id.patch);
  SetPendingRecovery("");
  return opened;
}

}  // namespace

void RecoverFromCopy() {
  const std::vector<RecoveryCopy> copies = ListRecoveryCopies(RecoveryFolder());
  if (copies.empty()) {
    InfoBox("There are no recovery copies of unsaved edits.", kTitle);
    return;
  }
  std::vector<std::vector<std::string>> rows;
  for (const RecoveryCopy& copy : copies)
    rows.push_back({fs::path(copy.path).filename().string(), DocumentName(copy.id), RecoveryTimeText(copy.modified_ns),
                    std::to_string(copy.size) + " bytes"});
  const std::string chosen = PlatformChooseFromList(kTitle, "Choose the unsaved edits to restore:",
                                                    {"Copy", "Image", "Time", "Size"}, rows);
  if (chosen.empty()) return;
  for (const RecoveryCopy& copy : copies) {
    if (fs::path(copy.path).filename().string() != chosen) continue;
    if (TheImage().IsOpen() && copy.id == OpenDocumentIdentity()) {
      RecoveryCopy whole;
      if (!ReadRecoveryCopy(copy.path, whole, true) || !RestoreRecoveryBytes(whole.bytes))
        ErrorBox("\"" + copy.path + "\" does not fit the image as it is open; nothing was restored.", kTitle);
      return;
    }
    if (OpenDocumentOf(copy)) RequestMode(ModeAfterOpen());
    return;
  }
}
