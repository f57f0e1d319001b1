// Moving a level's object list that outgrew its place, in the 4 MiB demo image
// with its declared free space: the pool and the lists of all levels read from
// the image, the list and its pointer words written. And opening an image with
// declared free space that a list moved into before it was saved: the image
// put in place and the free space read and checked against every block the
// decoders read.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/demo_setting.h"
#include "editor/edit_lists.h"
#include "level/free_space_config.h"
#include "rom/image_edits.h"

namespace {

// Allegro, started once for every benchmark of the run.
void StartAllegroOnce() {
  static const bool started = (StartBenchAllegro(), true);
  (void)started;
}

// Allegro, the demo image in channel 0x10 with its game configuration, and its free space; once.
bool DemoOpened() {
  static const bool opened = [] {
    StartAllegroOnce();
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

// The demo as saved after level 0x16's list grew to twice its records in its first declared object range.
DemoImage SavedAfterAMove() {
  StartAllegroOnce();
  DemoImage saved = BuildDemoImage(1);
  OpenDemoImage(saved);
  const long long pointer = static_cast<long long>(qbr1gbl.LvlOBJMapBank | qbr1gbl.LvlOBJMapTable) + 2 * 0x16;
  const long long home = static_cast<long long>((saved.rom[pointer] | saved.rom[pointer + 1] << 8) | qbr1gbl.LvlOBJMapBank);
  const long long moved = saved.freeObjects.front().first;
  std::vector<unsigned char> list;
  for (long long at = home; saved.rom[at] != 0; at += 8) list.insert(list.end(), &saved.rom[at], &saved.rom[at] + 8);
  const std::vector<unsigned char> once = list;
  list.insert(list.end(), once.begin(), once.end());  // twice the records, and the end record after them
  list.push_back(0);
  std::copy(list.begin(), list.end(), saved.rom.begin() + moved);
  saved.rom[pointer] = static_cast<unsigned char>(moved & 0xFF);
  saved.rom[pointer + 1] = static_cast<unsigned char>((moved >> 8) & 0xFF);
  return saved;
}

void BM_OpenAnImageWithDeclaredFreeSpace(benchmark::State& state) {
  static const DemoImage saved = SavedAfterAMove();
  for (auto _ : state) {
    OpenDemoImage(saved);
    if (!QBR1_LoadFreeSpace().empty()) state.SkipWithError("the declared free space was refused");
  }
}
BENCHMARK(BM_OpenAnImageWithDeclaredFreeSpace)->Unit(benchmark::kMillisecond);

// The pool check alone, of the image above.
void BM_CheckDeclaredFreeSpace(benchmark::State& state) {
  static const DemoImage saved = SavedAfterAMove();
  OpenDemoImage(saved);
  for (auto _ : state) {
    if (!QBR1_LoadFreeSpace().empty()) state.SkipWithError("the declared free space was refused");
  }
}
BENCHMARK(BM_CheckDeclaredFreeSpace)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
