// Import speed: the demo image's full extraction put back unchanged (every
// file read, decoded and compared; nothing written), and the bytes Save would write.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "bench/demo_bench_fixture.h"
#include "extract/extract.h"
#include "extract/import.h"
#include "rom/image_edits.h"

namespace {

void BM_ImportUnchangedDemoExtraction(benchmark::State& state) {
  static DemoBenchFixture fixture;
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

}  // namespace

BENCHMARK_MAIN();
