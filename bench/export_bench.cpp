// Exporting level pictures of the demo image: composition and PNG writing.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench/demo_setting.h"
#include "editor/level_export.h"
#include "level/png_export.h"

namespace {

const DemoImage& Demo() {
  static const DemoImage demo = [] {
    StartBenchAllegro();
    DemoImage built = BuildDemoImage(1);
    OpenDemoImage(built);
    return built;
  }();
  return demo;
}

// The largest built level, composed and written as a PNG file.
void BM_ExportLargestLevel(benchmark::State& state) {
  const DemoImage& demo = Demo();
  const DemoLevel* largest = &demo.levels.front();
  for (const DemoLevel& level : demo.levels)
    if (level.tile_w * level.tile_h > largest->tile_w * largest->tile_h) largest = &level;
  const std::string path = (std::filesystem::temp_directory_path() / "qbrre-export-bench.png").string();
  std::string error;
  for (auto _ : state) {
    BITMAP* picture = ComposeLevelPicture(largest->id);
    benchmark::DoNotOptimize(QBR1_WritePng(path, picture, error));
    destroy_bitmap(picture);
  }
  std::filesystem::remove(path);
  state.SetLabel("level " + std::to_string(largest->id) + ", " + std::to_string(largest->tile_w * 32) + "x" +
                 std::to_string(largest->tile_h * 32));
}
BENCHMARK(BM_ExportLargestLevel)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
