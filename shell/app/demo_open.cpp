#include "shell/app/demo_open.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "platform/config_lock.h"
#include "platform/data_paths.h"
#include "rom/image_install.h"
#include "rom/globaldata.h"
#include "rom/image_save.h"
#include "rom/settings_store.h"
#include "shell/base/functions.h"

const char* const kDemoImageName = "QBRRE demo image";

bool OpenDemoImage() {
  const DemoImage demo = BuildDemoImage(kDemoImageSeed);
  BFA_LoadedFile file;
  file.bytes.assign(demo.rom.begin(), demo.rom.end());
  // As for a file, the checksum is that of the image as built.
  file.crc = CharArray_Get_CRC32(file.bytes.data(), static_cast<int>(file.bytes.size()));
  if (!InstallQBR1Image(kDemoImageName, std::move(file))) return false;
  // No file: Save asks where to write it, and remembers the demo's configuration for what it wrote.
  SetImageFile("", kDemoGameConfigPath, kDemoImageName);
  std::error_code error;
  if (std::filesystem::is_regular_file(PlatformGameConfigFile(kDemoGameConfigPath), error)) {
    SelectGameConfig(qbr1gbl, kDemoGameConfigPath);
  } else {
    // A folder whose GameConfig/ lacks the file: the builder's own text, in memory only, with the
    // settings laid over it.
    {
      ConfigGuard guard;
      set_config_data(demo.config.data(), static_cast<int>(demo.config.size()));
      LoadSettings(SettingsLayer::OverGameConfig);
    }
    ReadGlobalOffsets(qbr1gbl);
  }
  FinishOpen();
  return true;
}
