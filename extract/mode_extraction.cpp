#include "extract/mode_extraction.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <utility>

#include "extract/extraction_job.h"
#include "extract/import_menu.h"
#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "gui/ToolbarMain.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "platform/dialogs.h"
#include "resources/skin.h"
#include "rom/open_image.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"
#include "shell/runtime/frame.h"

namespace {

constexpr char kBoxTitle[] = "Extraction";
// Skipped items listed in the result box; the rest are counted.
constexpr std::size_t kListedSkips = 12;
constexpr int kRowHeight = 14;
constexpr int kBarHeight = 12;
constexpr int kBarWidth = 560;

constexpr int kBarColour = 0x3F9F3F;
constexpr int kBarFrame = 0xFFFFFF;

// What the last extraction did, for the status line; empty before the first.
std::string& LastResult() {
  static std::string result;
  return result;
}

// The extraction running on its own thread: what it writes, where, and how
// many files it will write; no job when none runs.
struct Running {
  std::unique_ptr<ExtractionJob> job;
  std::string what;
  std::string folder;
  int expected = 0;
};

Running& Current() {
  static Running running;
  return running;
}

bool ExtractionAvailable() { return CurrentMode() == Mode::Extraction && TheImage().IsOpen() && !ExtractionRunning(); }

// The first kListedSkips lines of `lines`, one a line, and "... and N more" for the rest.
std::string Listed(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size() && i < kListedSkips; ++i) text += "\n" + lines[i];
  if (lines.size() > kListedSkips) text += "\n... and " + std::to_string(lines.size() - kListedSkips) + " more";
  return text;
}

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
  const Running& running = Current();
  if (!running.job) {
    DrawImportLines(dest, y + kRowHeight);
    return;
  }
  // The running extraction: a bar filled as far as its files are written.
  y += kRowHeight;
  const int written = running.job->Written();
  textprintf_ex(dest, NMenuFont[2], 12, y, -1, -1, "%s: %d of %d files written into %s", running.what.c_str(), written,
                running.expected, running.folder.c_str());
  y += kRowHeight + 4;
  const int bar_w = std::min(kBarWidth, dest->w - 24);
  rect(dest, 12, y, 12 + bar_w, y + kBarHeight, kBarFrame);
  const int filled = running.expected > 0 ? static_cast<int>(static_cast<long long>(bar_w - 2) *
                                                             std::min(written, running.expected) / running.expected)
                                          : 0;
  if (filled > 0) rectfill(dest, 13, y + 1, 12 + filled, y + kBarHeight - 1, kBarColour);
}

void ExtractionView::DrawImportLines(BITMAP* dest, int y) const {
  const std::vector<ImportLine>& lines = LastImportLines();
  if (lines.empty()) return;
  textout_ex(dest, NMenuFont[2], LastImportSummary().c_str(), 12, y, -1, -1);
  y += kRowHeight + 4;
  // As many lines as the view holds above the status bar; the rest counted.
  const int room = std::max(1, (dest->h - 40 - y) / kRowHeight);
  for (std::size_t i = 0; i < lines.size(); ++i, y += kRowHeight) {
    if (static_cast<int>(i) == room - 1 && lines.size() > i + 1) {
      textprintf_ex(dest, NMenuFont[2], 12, y, -1, -1, "... and %zu more", lines.size() - i);
      break;
    }
    textprintf_ex(dest, NMenuFont[2], 12, y, -1, -1, "%s: %s", lines[i].file.c_str(), lines[i].outcome.c_str());
  }
}

std::string ExtractionView::Status() const {
  const Running& running = Current();
  if (running.job)
    return running.what + ": " + std::to_string(running.job->Written()) + " of " + std::to_string(running.expected) +
           " files written - Escape cancels";
  if (!LastImportSummary().empty()) return LastImportSummary();
  if (!LastResult().empty()) return LastResult();
  return "Extraction - choose an entry of Graphics or Binary";
}

void RunExtractionEntry(const ExtractionEntry& entry) {
  if (!entry.known || !TheImage().IsOpen() || ExtractionRunning()) return;
  const std::string what = std::string(entry.menu) + " > " + entry.label;
  const std::string folder = PlatformChooseFolder("Extract " + what + " into...");
  if (folder.empty()) return;
  ClearLastImport();
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!std::filesystem::is_directory(folder, ec)) {
    ErrorBox("Cannot write to the folder \"" + folder + "\".", kBoxTitle);
    return;
  }
  Running& running = Current();
  running.what = what;
  running.folder = folder;
  running.expected = ExtractFileCount(entry.kind, QBR1_CountExtractables());
  running.job = std::make_unique<ExtractionJob>(entry.kind, folder);
}

bool ExtractionRunning() { return Current().job != nullptr; }

void CancelExtraction() {
  if (Current().job) Current().job->Cancel();
}

bool ReportFinishedExtraction(bool wait) {
  Running& running = Current();
  if (!running.job || (!wait && !running.job->Done())) return false;
  const ExtractReport report = running.job->Finish();
  running.job.reset();
  const std::string& what = running.what;
  const std::string& folder = running.folder;
  LastResult() = what + ": " + Plural(report.written, "file") + " written into " + folder +
                 (report.skipped.empty() ? "" : ", " + std::to_string(report.skipped.size()) + " skipped");
  if (!report.failed_path.empty()) {
    ErrorBox("Could not write \"" + report.failed_path + "\": " + report.failed_reason + ".\n" +
                 Plural(report.written, "file") +
                 " were written before it; the extraction stopped there.",
             kBoxTitle);
    LastResult() = what + ": stopped, could not write " + report.failed_path;
    return true;
  }
  if (report.cancelled) {
    LastResult() = what + ": cancelled, " + Plural(report.written, "file") + " written into " + folder;
    InfoBox("Cancelled. The " + Plural(report.written, "file") + " written into \"" + folder + "\" stay:" +
                Listed(report.files),
            kBoxTitle);
    return true;
  }
  std::string text = Plural(report.written, "file") + " written into \"" + folder + "\".";
  if (!report.skipped.empty()) text += "\n\nSkipped (" + std::to_string(report.skipped.size()) + "):" + Listed(report.skipped);
  InfoBox(text, kBoxTitle);
  return true;
}

void QBR1_EXTRACTION_SUBFUNCTION() {
  // The toolbar first: menu entries link themselves to the tool buttons.
  if (mui->t) mui->t->Reload();
  if (mui->m) mui->m->Reload();
  LastResult().clear();
  ClearLastImport();
  const ExtractionView view;

  ModePass pass;
  // While an extraction runs, Escape cancels it instead of closing the window
  // (an open menu takes it first); the press that cancelled must be let go
  // before Escape asks to close.
  bool escape_cancelled = false;
  pass.update = [&escape_cancelled] {
    if (escape_cancelled && !key[KEY_ESC]) escape_cancelled = false;
    if (MenuTookEscape()) {
      // The press closed a menu and does nothing more.
    } else if (ExtractionRunning() && key[KEY_ESC]) {
      CancelExtraction();
      escape_cancelled = true;
    } else if (!ExtractionRunning() && !escape_cancelled) {
      Apllication_Critical_Functions();
    }
    mui->Proc();
    ReportFinishedExtraction(false);
  };
  pass.picture = [&view](BITMAP* fb) { view.Draw(fb); };
  pass.overlay = [&view](BITMAP* fb) { textout_ex(fb, NMenuFont[2], view.Status().c_str(), 8, mui->h - 18, -1, -1); };
  RunModePasses(pass);
  // Leaving the mode (or closing) stops a running extraction; what it wrote stays.
  CancelExtraction();
  ReportFinishedExtraction(true);
}

void RegisterExtractionCommands() {
  // One handler for the known entries; each carries its entry.
  for (const ExtractionEntry& e : ExtractionEntries()) {
    if (e.known) RegisterCommand(e.id, {[&e] { RunExtractionEntry(e); }, ExtractionAvailable, nullptr});
  }
  RegisterImportCommands(ExtractionAvailable);
}
