#include <cstdio>
#include <filesystem>
#include <vector>

#include "extract/extract.h"
#include "rom/headless_open.h"
#include "platform/allegro_include.h"

int RunExtractCommand(const std::string& kind, const std::string& output, const std::string& romPath) {
  std::vector<ExtractKind> kinds;
  ExtractKind one{};
  if (kind == "all") {
    kinds.assign(std::begin(kAllExtractKinds), std::end(kAllExtractKinds));
  } else if (ExtractKindFromName(kind, one)) {
    kinds.push_back(one);
  } else {
    std::fprintf(stderr,
                 "qbrre: \"%s\" is not something to extract (terrains, tilesets, sprites, gfx, tileset-data, "
                 "tilemaps, palettes, sprite-data or all)\n",
                 kind.c_str());
    return 1;
  }
  // The image first, so that a run that cannot read it leaves no folder behind.
  if (!LoadRomHeadless(romPath)) return 1;
  std::error_code ec;
  if (!output.empty()) std::filesystem::create_directories(output, ec);
  if (output.empty() || !std::filesystem::is_directory(output, ec)) {
    std::fprintf(stderr, "qbrre: cannot write to the folder \"%s\"\n", output.c_str());
    return 1;
  }
  set_color_depth(32);
  // What a damaged image does not hold is named and skipped; a file that cannot
  // be written ends the run.
  for (ExtractKind k : kinds) {
    const ExtractReport report = QBR1_Extract(k, output, romPath);
    for (const std::string& line : report.skipped) std::fprintf(stderr, "qbrre: %s\n", line.c_str());
    if (!report.failed_path.empty()) {
      std::fprintf(stderr, "qbrre: %s\n", ExtractFailureLine(report).c_str());
      return 1;
    }
  }
  return 0;
}
