// Exporting level pictures: composition and PNG encoding, of the demo image's
// largest level and of the widest level of a random image (the pictures of
// a damaged or foreign image reach some 60000 x 512 pixels), as one whole
// picture and in bands of rows as --export all composes them.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "bench/demo_setting.h"
#include "editor/level_export.h"
#include "level/leveldata.h"
#include "level/png_export.h"

namespace {

const DemoImage& Demo() {
  static const DemoImage demo = [] {
    StartBenchAllegro();
    return BuildDemoImage(1);
  }();
  return demo;
}

// The id of the built level with the most tiles.
int LargestDemoLevel() {
  const DemoImage& demo = Demo();
  const DemoLevel* largest = &demo.levels.front();
  for (const DemoLevel& level : demo.levels)
    if (level.tile_w * level.tile_h > largest->tile_w * largest->tile_h) largest = &level;
  return largest->id;
}

// Opens 4 MiB of random bytes under the default offsets, as the program
// opens an image (the demo's configuration set aside); the id of its level
// with the most tiles.
int OpenRandomImage() {
  Demo();
  static const std::vector<unsigned char> image = [] {
    std::vector<unsigned char> bytes(0x400000);
    std::mt19937 random(0x400000);
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
    return bytes;
  }();
  {
    ConfigGuard guard;
    set_config_data("", 0);
    ReadGlobalOffsets(qbr1gbl);
  }
  BFA_Activate(0x10, 1);
  QBR1.assign(image.begin(), image.end());
  QBR1_ResetEdits(image, 0);
  int widest = kQBR1FirstLevel;
  long long most = -1;
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    leveldata lvl;
    Get_QBR1_LevelDataStruct(id, lvl);
    const long long tiles = static_cast<long long>(lvl.tile_w) * lvl.tile_h;
    if (lvl.tile_w > 0 && lvl.tile_h > 0 && tiles > most) most = tiles, widest = id;
  }
  return widest;
}

std::string SizeLabel(int id) {
  leveldata lvl;
  Get_QBR1_LevelDataStruct(id, lvl);
  return "level " + std::to_string(id) + ", " + std::to_string(lvl.tile_w * 32) + "x" + std::to_string(lvl.tile_h * 32);
}

// Level `id`'s picture encoded in memory: whole (argument 0) or in bands (1).
void EncodeLevel(benchmark::State& state, int id) {
  std::vector<unsigned char> png;
  for (auto _ : state) {
    if (state.range(0) == 0) {
      BITMAP* picture = ComposeLevelPicture(id);
      benchmark::DoNotOptimize(QBR1_EncodePng(picture, false, png));
      destroy_bitmap(picture);
    } else {
      LevelPictureRows rows(id);
      benchmark::DoNotOptimize(
          QBR1_EncodePngRows(rows.w(), rows.h(), [&rows](int y) { return rows.Row(y); }, false, png));
    }
  }
  state.SetLabel(SizeLabel(id) + ", " + std::to_string(png.size()) + " bytes");
}

// The largest built level, composed and written as a PNG file.
void BM_ExportLargestLevel(benchmark::State& state) {
  OpenDemoImage(Demo());
  const int id = LargestDemoLevel();
  const std::string path = (std::filesystem::temp_directory_path() / "qbrre-export-bench.png").string();
  std::string error;
  for (auto _ : state) {
    BITMAP* picture = ComposeLevelPicture(id);
    benchmark::DoNotOptimize(QBR1_WritePng(path, picture, error));
    destroy_bitmap(picture);
  }
  std::filesystem::remove(path);
  state.SetLabel(SizeLabel(id));
}
BENCHMARK(BM_ExportLargestLevel)->Unit(benchmark::kMillisecond);

void BM_EncodeLargestLevel(benchmark::State& state) {
  OpenDemoImage(Demo());
  EncodeLevel(state, LargestDemoLevel());
}
BENCHMARK(BM_EncodeLargestLevel)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_EncodeWidestRandomLevel(benchmark::State& state) { EncodeLevel(state, OpenRandomImage()); }
BENCHMARK(BM_EncodeWidestRandomLevel)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
