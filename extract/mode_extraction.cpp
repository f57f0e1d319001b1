#include "extract/mode_extraction.h"

#include <cstdio>
#include <filesystem>
#include <utility>

#include "bfa/bfa.h"
#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "gui/ToolbarMain.h"
#include "gui/commands.h"
#include "platform/dialogs.h"
#include "resources/skin.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"
#include "shell/runtime/frame.h"

namespace {

constexpr char kBoxTitle[] = "Extraction";
// Skipped items listed in the result box; the rest are counted.
constexpr std::size_t kListedSkips = 12;
constexpr int kRowHeight = 14;

// What the last extraction did, for the status line; empty before the first.
std::string& LastResult() {
  static std::string result;
  return result;
}

bool ExtractionAvailable() { return ENGINE_STATE.load() == kModeExtraction && !QBR1.empty(); }

std::string Plural(int n, const char* one) { return std::to_string(n) + " " + one + (n == 1 ? "" : "s"); }

}  // namespace

const std::vector<ExtractionEntry>& ExtractionEntries() {
  static const std::vector<ExtractionEntry> entries = {
      {kCmdGraphicsLevelTerrains, "Graphics", "Level Terrains", true, ExtractKind::Terrains},
      {kCmdGraphicsBackgrounds, "Graphics", "Backgrounds", false, ExtractKind::Terrains},
      {kCmdGraphicsTileSets, "Graphics", "Tile Sets", true, ExtractKind::TileSets},
      {kCmdGraphicsForegrounds, "Graphics", "Foregrounds", false, ExtractKind::Terrains},
      {kCmdGraphicsAnimations, "Graphics", "Animations", false, ExtractKind::Terrains},
      {kCmdGraphicsSprites, "Graphics", "Sprites", true, ExtractKind::Sprites},
      {kCmdBinaryTiles8x8, "Binary", "8x8 Tiles", true, ExtractKind::Gfx},
      {kCmdBinaryTileSets, "Binary", "Tile Sets", true, ExtractKind::TileSetData},
      {kCmdBinaryTileMaps, "Binary", "Tile Maps", true, ExtractKind::TileMaps},
      {kCmdBinaryBackgrounds, "Binary", "Backgrounds", false, ExtractKind::Terrains},
      {kCmdBinaryPhysMaps, "Binary", "PhysMaps", false, ExtractKind::Terrains},
      {kCmdBinarySprites, "Binary", "Sprites", true, ExtractKind::SpriteData},
      {kCmdBinaryPalettes, "Binary", "Palletes", true, ExtractKind::Palettes},
  };
  return entries;
}

ExtractionView::ExtractionView() {
  const ExtractCounts counts = QBR1_CountExtractables();
  for (const ExtractionEntry& e : ExtractionEntries()) files_.push_back(e.known ? ExtractFileCount(e.kind, counts) : 0);
}

void ExtractionView::Draw(BITMAP* dest) const {
  if (dest == nullptr || NMenuFont[1] == nullptr) return;
  int y = 68;
  textout_ex(dest, NMenuFont[2], "Each entry of Graphics and Binary asks for a folder and writes:", 12, y, -1, -1);
  y += kRowHeight + 6;
  const auto& entries = ExtractionEntries();
  for (std::size_t i = 0; i < entries.size(); ++i, y += kRowHeight) {
    const ExtractionEntry& e = entries[i];
    FONT* font = e.known ? NMenuFont[2] : NMenuFont[0];
    textprintf_ex(dest, font, 12, y, -1, -1, "%s > %s", e.menu, e.label);
    if (!e.known) {
      textout_ex(dest, font, "not available: the program does not know this data", 200, y, -1, -1);
      continue;
    }
    textout_ex(dest, font, ExtractKindPattern(e.kind), 200, y, -1, -1);
    textout_ex(dest, font, Plural(files_[i], "file").c_str(), 420, y, -1, -1);
  }
}

std::string ExtractionView::Status() const {
  if (!LastResult().empty()) return LastResult();
  return "Extraction - choose an entry of Graphics or Binary";
}

void RunExtractionEntry(const ExtractionEntry& entry) {
  if (!entry.known || QBR1.empty()) return;
  const std::string what = std::string(entry.menu) + " > " + entry.label;
  const std::string folder = PlatformChooseFolder("Extract " + what + " into...");
  if (folder.empty()) return;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!std::filesystem::is_directory(folder, ec)) {
    ErrorBox("Cannot write to the folder \"" + folder + "\".", kBoxTitle);
    return;
  }
  const ExtractReport report = QBR1_Extract(entry.kind, folder);
  LastResult() = what + ": " + Plural(report.written, "file") + " written into " + folder +
                 (report.skipped.empty() ? "" : ", " + std::to_string(report.skipped.size()) + " skipped");
  if (!report.failed_path.empty()) {
    ErrorBox("Could not write \"" + report.failed_path + "\".\n" + Plural(report.written, "file") +
                 " were written before it; the extraction stopped there.",
             kBoxTitle);
    LastResult() = what + ": stopped, could not write " + report.failed_path;
    return;
  }
  std::string text = Plural(report.written, "file") + " written into \"" + folder + "\".";
  if (!report.skipped.empty()) {
    text += "\n\nSkipped (" + std::to_string(report.skipped.size()) + "):";
    for (std::size_t i = 0; i < report.skipped.size() && i < kListedSkips; ++i) text += "\n" + report.skipped[i];
    if (report.skipped.size() > kListedSkips)
      text += "\n... and " + std::to_string(report.skipped.size() - kListedSkips) + " more";
  }
  InfoBox(text, kBoxTitle);
}

void QBR1_EXTRACTION_SUBFUNCTION() {
  // The toolbar first: menu entries link themselves to the tool buttons.
  if (mui->t) mui->t->Reload();
  if (mui->m) mui->m->Reload();
  LastResult().clear();
  const ExtractionView view;

  ModePass pass;
  pass.update = [] {
    Apllication_Critical_Functions();
    mui->Proc();
  };
  pass.picture = [&view](BITMAP* fb) { view.Draw(fb); };
  pass.overlay = [&view](BITMAP* fb) { textout_ex(fb, NMenuFont[2], view.Status().c_str(), 8, mui->h - 18, -1, -1); };
  RunModePasses(pass);
}

void RegisterExtractionCommands() {
  // One handler for the known entries; each carries its entry.
  for (const ExtractionEntry& e : ExtractionEntries()) {
    if (e.known) RegisterCommand(e.id, {[&e] { RunExtractionEntry(e); }, ExtractionAvailable, nullptr});
  }
}
