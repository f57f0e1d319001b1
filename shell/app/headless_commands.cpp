#include "shell/app/headless_commands.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "editor/level_export.h"
#include "extract/extract.h"
#include "level/free_space_config.h"
#include "level/free_space_report.h"
#include "level/level_display.h"
#include "level/leveldata.h"
#include "level/png_export.h"
#include "rom/globaldata.h"
#include "rom/headless_open.h"
#include "shell/app/command_files.h"
#include "shell/base/functions.h"

int RunListCommand(const std::string& romPath) {
  if (!LoadRomHeadless(romPath)) return 1;
  QBR1_WriteLevelList(std::cout);
  std::cout.flush();
  return 0;
}

int RunFreeSpaceCommand(const std::string& romPath) {
  if (!LoadRomHeadless(romPath)) return 1;
  for (const std::string& refused : QBR1_LoadFreeSpace()) std::fprintf(stderr, "qbrre: %s\n", refused.c_str());
  QBR1_WriteFreeSpaceReport(std::cout, CurrentRom(), qbr1gbl, QBR1_FreeSpace());
  std::cout.flush();
  return 0;
}

namespace {

// Writes the picture of one level; a one-line message on stderr when it cannot. The image file
// itself is never written over, under whatever name the output reaches it.
bool ExportLevel(int id, const std::string& path, const std::string& romPath) {
  if (!OutputAllowed(path, {romPath})) return false;
  BITMAP* picture = ComposeLevelPicture(id);
  if (picture == nullptr) {
    std::fprintf(stderr, "qbrre: level 0x%02X has no picture (its size is not positive)\n", id);
    return false;
  }
  std::string error;
  const bool written = QBR1_WritePng(path, picture, error);
  Nullify(picture);
  if (written) return true;
  CommandFailed("cannot write \"" + path + "\": " + error);
  return false;
}

}  // namespace

int RunExportCommand(const std::string& level, const std::string& output, const std::string& romPath) {
  const bool all = level == "all";
  int id = 0;
  if (!all && !ParseLevelId(level, id)) {
    std::fprintf(stderr, "qbrre: level \"%s\" is not a level id from 0 to 229 (decimal or 0x hexadecimal)\n",
                 level.c_str());
    return 1;
  }
  if (output.empty()) {
    std::fprintf(stderr, "qbrre: --export needs --output\n");
    return 1;
  }
  if (all) {
    std::error_code ec;
    std::filesystem::create_directories(output, ec);
    if (!std::filesystem::is_directory(output, ec)) {
      std::fprintf(stderr, "qbrre: cannot write to the folder \"%s\"\n", output.c_str());
      return 1;
    }
  }
  if (!LoadRomHeadless(romPath)) return 1;
  set_color_depth(32);
  if (!all) return ExportLevel(id, output, romPath) ? 0 : 1;

  // The level pictures of `--extract terrains`, composed on every core, a
  // picture shared by levels of the same record composed once. A level of a
  // damaged image without a picture is reported and skipped; a file that
  // cannot be written ends the run.
  const ExtractReport report = QBR1_Extract(ExtractKind::Terrains, output, romPath);
  for (const std::string& line : report.skipped) std::fprintf(stderr, "qbrre: %s\n", line.c_str());
  if (report.failed_path.empty()) return 0;
  return CommandFailed(ExtractFailureLine(report));
}
