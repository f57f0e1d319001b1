#include "level/level_display.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "bfa/bfa.h"
#include "platform/dialogs.h"
#include "level/leveldata.h"
#include "rom/AppMenu.h"
#include "rom/globaldata.h"
#include "shell/include.h"

void QBR1_WriteLevelList(std::ostream& out) {
  static const char kHex[] = "0123456789ABCDEF";
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    if (QBR1_IsHiddenLevel(id)) continue;
    leveldata lvl;
    Get_QBR1_LevelDataStruct(id, lvl);
    out << "0x" << kHex[id >> 4] << kHex[id & 15] << '\t';
    out.write(lvl.name.data(), static_cast<std::streamsize>(lvl.name.size()));
    out << '\t' << lvl.archetype << '\t' << lvl.tile_w << '\t' << lvl.tile_h << '\n';
  }
}

int RunListCommand(const std::string& romPath) {
  std::error_code ec;
  // The file-access library reports a failed load in a message box; the
  // headless command tells the terminal instead, so it tries the file first.
  if (!std::filesystem::is_regular_file(romPath, ec) || !std::ifstream(romPath, std::ios::binary)) {
    std::fprintf(stderr, "qbrre: cannot read ROM image \"%s\"\n", romPath.c_str());
    return 1;
  }
  if (!system_driver && install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
    std::fprintf(stderr, "qbrre: cannot initialise the drawing library\n");
    return 1;
  }
  // No window: a box the file-access library would show becomes the one error line instead.
  std::string boxTitle;
  SetDialogSeam([&](const DialogRecord& r) {
    boxTitle = r.title;
    return std::string(r.kind == BoxKind::Question ? "no" : "ok");
  });
  BFA_Activate(0x10, 0);
  const bool loaded = BFA_Load(romPath.c_str());
  SetDialogSeam({});
  if (!loaded) {
    std::fprintf(stderr, "qbrre: cannot read ROM image \"%s\" (%s)\n", romPath.c_str(), boxTitle.c_str());
    return 1;
  }
  if (BFA_OpenedCRC32[0x10] != kQBR1KnownCRC32) {
    std::fprintf(stderr, "qbrre: warning: \"%s\" is not the supported image (CRC-32 %08X); listing it anyway\n",
                 romPath.c_str(), static_cast<unsigned>(BFA_OpenedCRC32[0x10]));
  }
  ApplyQBR1Corrections(QBR1);
  SelectGameConfig(qbr1gbl);
  QBR1_WriteLevelList(std::cout);
  std::cout.flush();
  return 0;
}
