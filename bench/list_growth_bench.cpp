// Moving a level's object list that outgrew its place, in the 4 MiB demo image
// with its declared free space: the pool read from the opened file, the lists
// of all levels read from the image, the list and its pointer words written.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/demo_setting.h"
#include "editor/edit_lists.h"
#include "level/free_space_config.h"
#include "rom/image_edits.h"

namespace {

// Allegro, the demo image in channel 0x10 with its game configuration, and its free space; once.
bool DemoOpened() {
  static const bool opened = [] {
    StartBenchAllegro();
    OpenDemoImage(BuildDemoImage(1));
    return QBR1_LoadFreeSpace().empty();
  }();
  return opened;
}

void BM_MoveAnObjectListThatGrew(benchmark::State& state) {
  if (!DemoOpened()) state.SkipWithError("the demo's free space was refused");
  leveldata lvl;
  Get_QBR1_LevelDataStruct(0x16, lvl);
  RecordListEditor<QBR1RawObject> list;
  list.Sync(lvl, QBR1_EditGeneration(), false);
  RecordListEditor<QBR1RawObject>::Clipboard() = {list.Records().front()};
  const long long home = list.Offset();
  std::string why;
  for (auto _ : state) {
    // The list holds all its place can: one more record moves it.
    if (!list.Paste(300, 200, why) || list.Offset() == home) state.SkipWithError("the list did not move");
    state.PauseTiming();
    int level = -1;
    QBR1_Undo(&level);
    list.Sync(lvl, QBR1_EditGeneration(), false);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_MoveAnObjectListThatGrew)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
