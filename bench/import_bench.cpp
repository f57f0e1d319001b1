// Import speed: the demo image's full extraction put back unchanged (every
// file read, decoded and compared; nothing written), and the bytes Save would
// write; and one character sheet that no longer fits its place, moved to the
// declared graphics space with its pointer rewritten (then undone), and the
// search for that place alone.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "bench/demo_bench_fixture.h"
#include "extract/character_palette.h"
#include "extract/extract.h"
#include "extract/import.h"
#include "level/character_sheet.h"
#include "level/graphics_space.h"
#include "level/png_indexed.h"
#include "rom/file_replace.h"
#include "rom/image_edits.h"

namespace {

DemoBenchFixture& Fixture() {
  static DemoBenchFixture fixture;
  return fixture;
}

void BM_ImportUnchangedDemoExtraction(benchmark::State& state) {
  DemoBenchFixture& fixture = Fixture();
  QBR1_ResetEdits(fixture.demo.rom, 0);
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("qbrre-import-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  for (ExtractKind kind : kAllExtractKinds) QBR1_Extract(kind, folder.string(), "");
  std::size_t files = 0;
  for (auto _ : state) {
    std::vector<ImportLine> lines;
    std::string error;
    if (!QBR1_ImportFolder(folder.string(), lines, error)) state.SkipWithError(error.c_str());
    const std::vector<unsigned char> saved = QBR1_SavedFileBytes();
    if (saved != fixture.demo.rom) state.SkipWithError("the unchanged import changed the image");
    files = lines.size();
    benchmark::DoNotOptimize(saved.data());
  }
  state.counters["files"] = static_cast<double>(files);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ImportUnchangedDemoExtraction)->Unit(benchmark::kMillisecond);

void BM_ImportSheetThatMoves(benchmark::State& state) {
  DemoBenchFixture& fixture = Fixture();
  QBR1_ResetEdits(fixture.demo.rom, 0);
  // Archetype 0's characters with every 7th pixel changed: too many changes for its place.
  const DemoArchetype& a = fixture.demo.archetypes.front();
  IndexedPicture sheet = QBR1_CharacterSheet(a.characters);
  for (std::size_t p = 0; p < sheet.pixels.size(); p += 7) sheet.pixels[p] = static_cast<std::uint8_t>((sheet.pixels[p] + 5) & 15);
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("qbrre-move-bench-" + std::to_string(getpid())) / "gfx-0x00.png";
  std::filesystem::create_directories(file.parent_path());
  std::string error;
  ReplaceFile(file.string(), QBR1_IndexedPngBytes(sheet, QBR1_CharacterSheetPalette(0), true), error);
  for (auto _ : state) {
    const std::vector<ImportLine> lines = QBR1_ImportFiles({file.string()});
    if (lines.size() != 1 || lines[0].outcome.find("moved from") == std::string::npos) {
      state.SkipWithError(("the sheet did not move: " + (lines.empty() ? std::string() : lines[0].outcome)).c_str());
      break;
    }
    state.PauseTiming();
    int level = -1;
    QBR1_Undo(&level);
    state.ResumeTiming();
  }
  std::filesystem::remove_all(file.parent_path());
}
BENCHMARK(BM_ImportSheetThatMoves)->Unit(benchmark::kMillisecond);

// What the move adds to an import: the check of the declared graphics space and the search for the
// lowest free place beside the graphics every level reads.
void BM_GraphicsFreePlace(benchmark::State& state) {
  DemoBenchFixture& fixture = Fixture();
  QBR1_ResetEdits(fixture.demo.rom, 0);
  for (auto _ : state) {
    const long long at = QBR1_GraphicsFreePlace(CurrentRom(), 0, 0x8000);
    if (at < 0) state.SkipWithError("no free place");
    benchmark::DoNotOptimize(at);
  }
}
BENCHMARK(BM_GraphicsFreePlace)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
