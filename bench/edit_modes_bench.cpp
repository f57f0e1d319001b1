// The level editor's pass with the Objects tool with 100 selected objects in
// view: one logic update (GUI, camera, tool) and one frame (level, selection
// outlines, GUI, status line), on the demo image whose level 0x16 is given 100 objects.
#include <benchmark/benchmark.h>

#include "bench/demo_bench_fixture.h"
#include "bfa/bfa.h"
#include "editor/classes.h"
#include "editor/edit_commands.h"
#include "editor/edit_tools.h"
#include "editor/mode_qbr1leveleditor.h"
#include "gui/HelioWin.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "shell/base/variables.h"

namespace {

constexpr int kLevel = 0x16;
constexpr int kObjects = 100;
// A free stretch of the object bank of the demo image for the long list.
constexpr unsigned kListInBank = 0xE000;

void Put(std::vector<unsigned char>& rom, unsigned long at, unsigned word) {
  rom[at] = static_cast<unsigned char>(word & 0xFF);
  rom[at + 1] = static_cast<unsigned char>(word >> 8);
}

// The demo setting with the image given its long list, made once.
struct Setup : DemoBenchFixture {
  Setup();
};

Setup::Setup() {
  // 100 objects spread over the first screen of level 0x16, cycling through the
  // demo's definitions, sorted by x.
  const unsigned long list = qbr1gbl.LvlOBJMapBank | kListInBank;
  const int start = demo.Level(kLevel)->x;
  for (int i = 0; i < kObjects; ++i) {
    const unsigned long at = list + 8UL * i;
    demo.rom[at] = 1;
    Put(demo.rom, at + 2, static_cast<unsigned>(start + 24 + 7 * i));
    Put(demo.rom, at + 4, static_cast<unsigned>(0x200 - (96 + 3 * (i % 100))));
    Put(demo.rom, at + 6, 0x1000 + 0x10 * (i % 4));
  }
  Put(demo.rom, (qbr1gbl.LvlOBJMapBank | qbr1gbl.LvlOBJMapTable) + 2 * kLevel, kListInBank);
  QBR1.assign(demo.rom.begin(), demo.rom.end());
  QBR1_ResetEdits(demo.rom, 0);
}

void EditModeFramePass(benchmark::State& state) {
  static Setup setup;
  CHelioGUI* gui = setup.gui;
  BITMAP* fb = setup.fb;
  {
    CCamera camera(kLevel);
    RegisterEditCommands();
    EditToolsAttach(camera);
    ChooseEditTool(kCmdModifyObjects);
    EditSelectAll();
    if (CurrentEditTool()->Selection()->SelectedCount() != kObjects) state.SkipWithError("the long list was not read");
    for (auto _ : state) {
      gui->Proc();
      camera.Proc();
      EditToolsProc(camera, ReadEditInput(camera));
      clear_to_color(fb, 0x0F3F7F);
      camera.Draw(fb);
      EditToolsDraw(fb, camera);
      gui->Draw(fb);
      DrawLevelStatus(fb, gui->h);
      benchmark::DoNotOptimize(fb->line[0][0]);
    }
    EditToolsDetach();
  }
}
BENCHMARK(EditModeFramePass)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
