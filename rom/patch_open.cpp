#include "rom/patch_open.h"

#include <utility>

#include "bfa/bfa.h"
#include "platform/dialogs.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "rom/image_install.h"
#include "rom/image_save.h"
#include "rom/open_image.h"
#include "rom/file_replace.h"
#include "rom/patch_session.h"
#include "rom/settings_store.h"
#include "shell/base/functions.h"

namespace {

std::string startup_patch;

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An image file's copier header (QBR1_OpenedHeaderSize) and the checksum that identifies it: of the
// bytes after the header.
struct ImageId {
  std::size_t header = 0;
  crc32 crc = 0;
};

ImageId IdentifyImage(const std::vector<unsigned char>& bytes) {
  const char* data = reinterpret_cast<const char*>(bytes.data());
  ImageId id;
  id.crc = CharArray_Get_CRC32(data, static_cast<int>(bytes.size()));
  id.header = QBR1_OpenedHeaderSize(bytes.size(), id.crc);
  if (id.header > 0) id.crc = CharArray_Get_CRC32(data + id.header, static_cast<int>(bytes.size() - id.header));
  return id;
}

}  // namespace

void SetStartupPatchPath(const std::string& patch) { startup_patch = patch; }

std::string TakeStartupPatchPath() { return std::exchange(startup_patch, std::string()); }

bool OpenImageWithPatch(const std::string& rom, const std::string& patch) {
  PatchedImage image;
  std::string error;
  if (!ReadPatchedImage(rom, patch, image, error)) {
    ErrorBox("Could not open \"" + BaseName(patch) + "\" on \"" + BaseName(rom) + "\":\n" + error + ".",
             "Unable to Open Patch");
    return false;
  }
  ReloadSettings();  // as for Open: another window may have saved this image meanwhile
  // A hack counts as the image it was made from: the clean image identifies it.
  const crc32 clean_crc = IdentifyImage(image.clean).crc;
  if (!LoadQBR1(clean_crc, qbr1gbl)) return false;
  const std::string config = KnownImageConfig(clean_crc);
  const ImageId patched = IdentifyImage(image.patched);
  BFA_LoadedFile file;
  file.bytes.assign(image.patched.begin(), image.patched.end());
  file.crc = patched.crc;
  if (!InstallQBR1Image(rom.c_str(), std::move(file), patched.header)) return false;
  OpenImage& opened = TheImage();
  opened.SetFile("", config, BaseName(patch) + " on " + BaseName(rom));
  opened.BeginPatchSession(rom, patch, image.format, std::move(image.clean));
  RemoveStaleTempFilesBeside(rom);
  NoteImageFile(rom);
  FinishOpen();
  return true;
}

bool OpenPatchWithDialogs() {
  if (!ConfirmUnsavedEdits()) return false;
  const std::string patch =
      PlatformOpenFileDialog("Open patch...", {{"IPS or BPS patch", "*.ips *.bps"}, {"All files", "*"}});
  if (patch.empty()) return false;
  const std::string rom = PlatformOpenFileDialog("Open the image \"" + BaseName(patch) + "\" applies to...",
                                                 {{"Quarbo v1.0 US-NTSC", "*.smc"}});
  if (rom.empty()) return false;
  return OpenImageWithPatch(rom, patch);
}
