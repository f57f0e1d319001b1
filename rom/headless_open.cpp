#include "rom/headless_open.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bfa/bfa.h"
#include "platform/config_lock.h"
#include "platform/data_paths.h"
#include "rom/image_install.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "rom/settings_store.h"
#include "platform/allegro_include.h"

bool LoadRomHeadless(const std::string& romPath, std::size_t* header_size) {
  std::error_code ec;
  // The file-access library reports a failed load in a message box; without a
  // window the terminal is told instead, so the file is tried first.
  if (!std::filesystem::is_regular_file(romPath, ec) || !std::ifstream(romPath, std::ios::binary)) {
    std::fprintf(stderr, "qbrre: cannot read ROM image \"%s\"\n", romPath.c_str());
    return false;
  }
  if (!system_driver && install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
    std::fprintf(stderr, "qbrre: cannot initialise the drawing library\n");
    return false;
  }
  // A box the file-access library shows goes to the message backend the command
  // chose (stderr), followed by the command's own line.
  BFA_Activate(0x10, 0);
  if (!BFA_Load(romPath.c_str())) {
    std::fprintf(stderr, "qbrre: cannot read ROM image \"%s\"\n", romPath.c_str());
    return false;
  }
  // Saved images are remembered in the program's settings: they are read before the image is
  // identified (nothing is written to them).
  {
    ConfigGuard guard;
    LoadSettings(SettingsLayer::Alone);
  }
  // A copier header is not part of the image: it is dropped, and the rest identifies the image.
  const std::size_t header = QBR1_OpenedHeaderSize(QBR1.size(), BFA_OpenedCRC32[0x10]);
  if (header > 0) {
    QBR1.erase(QBR1.begin(), QBR1.begin() + static_cast<std::ptrdiff_t>(header));
    BFA_OpenedCRC32[0x10] = BFA_GetCRC32();
  }
  if (header_size != nullptr) *header_size = header;
  const std::string config = KnownImageConfig(BFA_OpenedCRC32[0x10]);
  if (config.empty()) {
    std::fprintf(stderr, "qbrre: warning: \"%s\" is not the supported image (CRC-32 %08X); using it anyway\n",
                 romPath.c_str(), static_cast<unsigned>(BFA_OpenedCRC32[0x10]));
  }
  ApplyQBR1Corrections(QBR1);
  SelectGameConfig(qbr1gbl, config.empty() ? kGameConfigPath : config);
  return true;
}
