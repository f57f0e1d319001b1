#include "extract/import_menu.h"

#include <cctype>
#include <filesystem>

#include "gui/commands.h"
#include "platform/dialogs.h"
#include "shell/base/functions.h"

namespace {

constexpr char kBoxTitle[] = "Import";

struct LastImport {
  std::vector<ImportLine> lines;
  std::string summary;
};

LastImport& Last() {
  static LastImport last;
  return last;
}

// "N written, N unchanged, N refused" over the lines.
std::string Summary(const std::string& what, const std::vector<ImportLine>& lines) {
  int written = 0, unchanged = 0, refused = 0;
  for (const ImportLine& l : lines) {
    if (l.refused) {
      ++refused;
    } else if (l.outcome.rfind("unchanged", 0) == 0) {
      ++unchanged;
    } else {
      ++written;
    }
  }
  return "Import " + what + ": " + std::to_string(written) + " written, " + std::to_string(unchanged) + " unchanged, " +
         std::to_string(refused) + " refused";
}

}  // namespace

const std::vector<ImportEntry>& ImportEntries() {
  static const std::vector<ImportEntry> entries = {
      {kCmdImportFolder, "Folder...", ""},
      {kCmdImportTiles8x8, "8x8 Tiles...", "gfx-"},
      {kCmdImportTileSets, "Tile Sets...", "tileset-"},
      {kCmdImportTileMaps, "Tile Maps...", "tilemap-"},
      {kCmdImportPalettes, "Palettes...", "palette-"},
  };
  return entries;
}

bool RunImportEntry(const ImportEntry& entry) {
  std::vector<ImportLine> lines;
  std::string what;
  if (entry.prefix[0] == '\0') {
    const std::string folder = PlatformChooseFolder("Import the files of a folder");
    if (folder.empty()) return false;
    std::string error;
    if (!QBR1_ImportFolder(folder, lines, error)) {
      ErrorBox("Cannot import from \"" + folder + "\": " + error, kBoxTitle);
      return false;
    }
    if (lines.empty()) {
      ErrorBox("The folder \"" + folder + "\" " + kImportNothingToImport + ".", kBoxTitle);
      return false;
    }
    what = "\"" + folder + "\"";
  } else {
    const std::string label(entry.label, std::string(entry.label).size() - 3);  // without "..."
    const std::string path = PlatformOpenFileDialog(
        "Import " + label, {{label + " (" + entry.prefix + "0xNN)", std::string(entry.prefix) + "*"}});
    if (path.empty()) return false;
    const std::string name = std::filesystem::path(path).filename().string();
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.rfind(entry.prefix, 0) != 0 || !QBR1_IsImportableName(name)) {
      ErrorBox("\"" + name + "\" is not a file of " + label + " as the extraction names them (" + entry.prefix +
                   "0xNN...).",
               kBoxTitle);
      return false;
    }
    // A file chosen by name goes in even when it is as extracted: the user asked for it.
    lines = QBR1_ImportFiles({path}, ImportOptions{true});
    what = "\"" + name + "\"";
  }
  Last().summary = Summary(what, lines);
  Last().lines = std::move(lines);
  return true;
}

const std::vector<ImportLine>& LastImportLines() { return Last().lines; }

const std::string& LastImportSummary() { return Last().summary; }

void ClearLastImport() { Last() = {}; }

void RegisterImportCommands(bool (*available)()) {
  // One handler for the entries; each carries its entry.
  for (const ImportEntry& e : ImportEntries()) {
    RegisterCommand(e.id, {[&e] { RunImportEntry(e); }, available, nullptr});
  }
}
