#include <cstdio>
#include <filesystem>

#include "extract/import.h"
#include "rom/file_replace.h"
#include "rom/headless_open.h"
#include "rom/image_edits.h"
#include "platform/allegro_include.h"

int RunImportCommand(const std::string& folder, const std::string& output, const std::string& romPath,
                     const ImportOptions& options) {
  if (!LoadRomHeadless(romPath)) return 1;
  // The edits keep the file as read, so the output is that file with the import's writes only.
  std::vector<unsigned char> file;
  std::string error;
  if (!ReadRegularFile(romPath, file, error)) {
    std::fprintf(stderr, "qbrre: cannot read ROM image \"%s\": %s\n", romPath.c_str(), error.c_str());
    return 1;
  }
  const std::size_t header = QBR1_CopierHeaderSize(file.size());
  QBR1_ResetEdits(std::move(file), header);
  set_color_depth(32);
  std::vector<ImportLine> lines;
  if (!QBR1_ImportFolder(folder, lines, error, options)) {
    std::fprintf(stderr, "qbrre: cannot read the folder \"%s\": %s\n", folder.c_str(), error.c_str());
    return 1;
  }
  if (lines.empty()) {
    std::fprintf(stderr, "qbrre: the folder \"%s\" %s\n", folder.c_str(), kImportNothingToImport);
    return 1;
  }
  // OUT may be ROM (read whole above, replaced in one rename), never a file the import took from.
  std::vector<std::string> taken;
  for (const ImportLine& line : lines) taken.push_back((std::filesystem::path(folder) / line.file).string());
  const std::string refusal = OutputIsInput(output, taken);
  if (!refusal.empty()) {
    std::fprintf(stderr, "qbrre: cannot write \"%s\": %s\n", output.c_str(), refusal.c_str());
    return 1;
  }
  bool refused = false;
  for (const ImportLine& line : lines) {
    std::printf("%s: %s\n", line.file.c_str(), line.outcome.c_str());
    refused = refused || line.refused;
  }
  std::fflush(stdout);
  if (!ReplaceFile(output, QBR1_SavedFileBytes(), error)) {
    std::fprintf(stderr, "qbrre: cannot write \"%s\": %s\n", output.c_str(), error.c_str());
    return 1;
  }
  return refused ? 1 : 0;
}
