// The Tile Map tool's fills and its frame: a flood fill of a whole 64 x 16
// level of one entry, and one logic update and frame of the level editor with
// a 16 x 8 stamp's ghost under the mouse and the grid shown.
#include <benchmark/benchmark.h>

#include "bench/demo_bench_fixture.h"
#include "bfa/bfa.h"
#include "editor/classes.h"
#include "editor/edit_commands.h"
#include "editor/edit_tiles.h"
#include "editor/edit_tools.h"
#include "editor/mode_qbr1leveleditor.h"
#include "editor/tile_stamp.h"
#include "editor/view_layers.h"
#include "gui/HelioWin.h"
#include "level/leveldata.h"
#include "rom/image_edits.h"
#include "rom/image_transaction.h"
#include "shell/base/variables.h"

namespace {

constexpr int kLevel = 0x16;

DemoBenchFixture& TheSetup() {
  static DemoBenchFixture setup;
  return setup;
}

void FloodFillWholeLevel(benchmark::State& state) {
  DemoBenchFixture& s = TheSetup();
  leveldata lvl;
  Get_QBR1_LevelDataStruct(kLevel, lvl);
  const CellRect whole{0, 0, 63, 15};
  if (lvl.tile_w < 64 || lvl.tile_h != 16) state.SkipWithError("level 0x16 is not 64 x 16 or wider");
  {
    ImageTransaction edit(QBR1_Document(), "Fill", kLevel);
    FillCells(lvl, whole, TileStamp::Single({1, false, false}), 0, 0);
    edit.Commit();
  }
  int n = 0;
  for (auto _ : state) {
    // Alternate the entry so that every fill changes every cell of the region.
    const TileStamp brush = TileStamp::Single({(n++ & 1) ? 1 : 2, false, false});
    ImageTransaction edit(QBR1_Document(), "Fill", kLevel);
    const int changed = FloodFillCells(lvl, 0, 0, brush);
    edit.Commit();
    if (changed < 64 * 16) state.SkipWithError("the fill did not reach every cell");
    state.PauseTiming();
    if (QBR1_UndoCount() > 64) QBR1_ResetEdits(QBR1_SavedFileBytes(), 0);
    state.ResumeTiming();
  }
  QBR1.assign(s.demo.rom.begin(), s.demo.rom.end());
  QBR1_ResetEdits(s.demo.rom, 0);
}
BENCHMARK(FloodFillWholeLevel)->Unit(benchmark::kMicrosecond);

void StampGhostAndGridFramePass(benchmark::State& state) {
  DemoBenchFixture& s = TheSetup();
  SetViewLayerShown(ViewLayer::Grid, true);
  {
    CCamera camera(kLevel);
    RegisterEditCommands();
    EditToolsAttach(camera);
    ChooseEditTool(kCmdModifyTileMap);
    auto* tiles = static_cast<TileMapTool*>(CurrentEditTool());
    tiles->CaptureCells(camera.lvl, {0, 0, 15, 7});
    // The mouse over the middle of the view, so the whole ghost shows.
    mouse_x = 200;
    mouse_y = 200;
    for (auto _ : state) {
      s.gui->Proc();
      camera.Proc();
      EditToolsProc(camera, ReadEditInput(camera));
      clear_to_color(s.fb, 0x0F3F7F);
      camera.Draw(s.fb);
      DrawViewGrid(s.fb, camera);
      EditToolsDraw(s.fb, camera);
      s.gui->Draw(s.fb);
      DrawLevelStatus(s.fb, s.gui->h);
      benchmark::DoNotOptimize(s.fb->line[0][0]);
    }
    if (tiles->brush.w != 16 || tiles->brush.h != 8) state.SkipWithError("the stamp is not 16 x 8");
    EditToolsDetach();
  }
  SetViewLayerShown(ViewLayer::Grid, false);
}
BENCHMARK(StampGhostAndGridFramePass)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
