#include <cstdio>
#include <filesystem>

#include "extract/import.h"
#include "rom/file_replace.h"
#include "rom/headless_open.h"
#include "rom/image_edits.h"
#include "platform/allegro_include.h"

int RunImportCommand(const std::string& folder, const std::string& output, const std::string& romPath,
                     const ImportOptions& options) {
  // The copier header as Open decides it: by the whole file's checksum first, then its size.
  std::size_t header = 0;
  if (!LoadRomHeadless(romPath, &header)) return 1;
  // The edits keep the file as read, so the output is that file with the import's writes only.
  std::vector<unsigned char> file;
  std::string error;
  if (!ReadRegularFile(romPath, file, error)) {
    std::fprintf(stderr, "qbrre: cannot read ROM image \"%s\": %s\n", romPath.c_str(), error.c_str());
    return 1;
  }
  if (header > file.size()) header = 0;  // the file changed since it was loaded
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
  // The lines say what OUT holds, so they come once it is in place.
  if (!ReplaceFile(output, QBR1_SavedFileBytes(), error)) {
    std::fprintf(stderr, "qbrre: cannot write \"%s\": %s; nothing was written\n", output.c_str(), error.c_str());
    return 1;
  }
  bool refused = false;
  for (const ImportLine& line : lines) {
    std::printf("%s: %s\n", line.file.c_str(), line.outcome.c_str());
    refused = refused || line.refused;
  }
  return refused ? 1 : 0;
}
