// Extraction on the demo image: every kind written into a folder, and the
// Extraction mode composed off-screen in the editor's 776 x 604 window:
// entering it (bars reloaded, files counted, first frame) and one frame pass
// (logic update, picture, GUI, status line) while nothing changes.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "bench/demo_bench_fixture.h"
#include "extract/extract.h"
#include "extract/mode_extraction.h"
#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "gui/ToolbarMain.h"
#include "gui/mode_table.h"
#include "platform/config_lock.h"
#include "resources/skin.h"
#include "rom/globaldata.h"
#include "shell/base/variables.h"

namespace {

using ExtractFixture = DemoBenchFixture;

ExtractFixture& Fixture() {
  static ExtractFixture fixture;
  return fixture;
}

void Pass(ExtractFixture& f, const ExtractionView& view) {
  f.gui->Proc();
  clear_to_color(f.fb, 0x0F3F7F);
  view.Draw(f.fb);
  f.gui->Draw(f.fb);
  textout_ex(f.fb, NMenuFont[2], view.Status().c_str(), 8, f.gui->h - 18, -1, -1);
  benchmark::DoNotOptimize(f.fb->line[0][0]);
}

// Writes the files of `kinds` into a fresh folder with `workers` threads (0: one per core); files written.
int ExtractInto(const std::filesystem::path& folder, const std::vector<ExtractKind>& kinds, int workers) {
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  int files = 0;
  for (ExtractKind kind : kinds) {
    ExtractControl control;
    control.workers = workers;
    files += QBR1_Extract(kind, folder.string(), "", &control).written;
  }
  return files;
}

std::filesystem::path BenchFolder() {
  return std::filesystem::temp_directory_path() / ("qbrre-extract-bench-" + std::to_string(getpid()));
}

// `--extract all` of the demo image without loading it: every kind into one
// folder, on one worker thread (argument 1) or one per core (0).
void BM_ExtractAllDemo(benchmark::State& state) {
  Fixture();
  const std::vector<ExtractKind> kinds(std::begin(kAllExtractKinds), std::end(kAllExtractKinds));
  int files = 0;
  for (auto _ : state) files = ExtractInto(BenchFolder(), kinds, static_cast<int>(state.range(0)));
  std::filesystem::remove_all(BenchFolder());
  state.SetLabel(std::to_string(files) + " files");
}
BENCHMARK(BM_ExtractAllDemo)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// `--export all` of the demo image without loading it: every level picture
// (the terrains), on one worker thread (argument 1) or one per core (0).
void BM_ExportAllDemo(benchmark::State& state) {
  Fixture();
  int files = 0;
  for (auto _ : state) files = ExtractInto(BenchFolder(), {ExtractKind::Terrains}, static_cast<int>(state.range(0)));
  std::filesystem::remove_all(BenchFolder());
  state.SetLabel(std::to_string(files) + " files");
}
BENCHMARK(BM_ExportAllDemo)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EnterExtractionMode(benchmark::State& state) {
  ExtractFixture& f = Fixture();
  ENGINE_STATE = static_cast<uint32_t>(Mode::Extraction);
  for (auto _ : state) {
    f.gui->t->Reload();
    f.gui->m->Reload();
    const ExtractionView view;
    Pass(f, view);
  }
  ENGINE_STATE = 0;
}
BENCHMARK(BM_EnterExtractionMode)->Unit(benchmark::kMillisecond);

void BM_ExtractionFramePass(benchmark::State& state) {
  ExtractFixture& f = Fixture();
  ENGINE_STATE = static_cast<uint32_t>(Mode::Extraction);
  f.gui->t->Reload();
  f.gui->m->Reload();
  const ExtractionView view;
  Pass(f, view);
  for (auto _ : state) Pass(f, view);
  ENGINE_STATE = 0;
}
BENCHMARK(BM_ExtractionFramePass)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
