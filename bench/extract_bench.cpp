// Extraction on the demo image: every kind written into a folder, and the
// Extraction mode composed off-screen in the editor's 776 x 604 window:
// entering it (bars reloaded, files counted, first frame) and one frame pass
// (logic update, picture, GUI, status line) while nothing changes.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "bench/demo_bench_fixture.h"
#include "extract/extract.h"
#include "extract/mode_extraction.h"
#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "gui/ToolbarMain.h"
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

// `--extract all` of the demo image without loading it: every kind into one folder.
void BM_ExtractAllDemo(benchmark::State& state) {
  Fixture();
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("qbrre-extract-bench-" + std::to_string(getpid()));
  int files = 0;
  for (auto _ : state) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    files = 0;
    for (ExtractKind kind : kAllExtractKinds) files += QBR1_Extract(kind, folder.string()).written;
  }
  std::filesystem::remove_all(folder);
  state.SetLabel(std::to_string(files) + " files");
}
BENCHMARK(BM_ExtractAllDemo)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_EnterExtractionMode(benchmark::State& state) {
  ExtractFixture& f = Fixture();
  ENGINE_STATE = kModeExtraction;
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
  ENGINE_STATE = kModeExtraction;
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
