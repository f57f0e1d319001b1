// The resource modes on the demo image, composed off-screen in the editor's
// 776 x 604 window: one frame pass (logic update, picture, GUI, status line)
// of each mode while nothing changes, and entering each mode (bars reloaded,
// the mode's objects built, its first frame).
#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdlib>

#include "bench/demo_bench_fixture.h"
#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "gui/HelioWin.h"
#include "gui/MenuLoad.h"
#include "gui/mode_table.h"
#include "modes/hex_editor.h"
#include "modes/mode_descriptions.h"
#include "modes/palette_editor.h"
#include "modes/sprite_viewer.h"
#include "platform/config_lock.h"
#include "resources/skin.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "shell/base/variables.h"

namespace {

// The demo setting with the resource modes' menu descriptions.
struct ModesFixture : DemoBenchFixture {
  ModesFixture() {
    RegisterModeDescriptions(Mode::SpriteViewer, kSpriteViewerMenu, kSpriteViewerToolbar);
    RegisterModeDescriptions(Mode::PaletteEditor, kPaletteEditorMenu, kPaletteEditorToolbar);
    RegisterModeDescriptions(Mode::HexEditor, kHexEditorMenu, kHexEditorToolbar);
  }
};

ModesFixture& Fixture() {
  static ModesFixture fixture;
  return fixture;
}

// One pass of mode view `View`: the GUI's and the mode's logic update, then the frame.
template <typename View>
void Pass(ModesFixture& f, View& mode) {
  f.gui->Proc();
  mode.Proc();
  clear_to_color(f.fb, 0x0F3F7F);
  mode.Draw(f.fb);
  f.gui->Draw(f.fb);
  DrawModeStatus(f.fb, f.gui->h, mode.Status());
  benchmark::DoNotOptimize(f.fb->line[0][0]);
}

// Entering: the bars of the mode reloaded, the mode built, its first pass.
template <typename View, Mode Id>
void BM_Enter(benchmark::State& state) {
  ModesFixture& f = Fixture();
  ENGINE_STATE = static_cast<uint32_t>(Id);
  for (auto _ : state) {
    ReloadModeBars();
    View mode(0x16);
    Pass(f, mode);
  }
  ENGINE_STATE = 0;
}

template <typename View, Mode Id>
void BM_FramePass(benchmark::State& state) {
  ModesFixture& f = Fixture();
  ENGINE_STATE = static_cast<uint32_t>(Id);
  ReloadModeBars();
  View mode(0x16);
  Pass(f, mode);
  for (auto _ : state) Pass(f, mode);
  ENGINE_STATE = 0;
}

BENCHMARK(BM_Enter<SpriteViewer, Mode::SpriteViewer>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Enter<PaletteEditor, Mode::PaletteEditor>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Enter<HexEditor, Mode::HexEditor>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FramePass<SpriteViewer, Mode::SpriteViewer>)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FramePass<PaletteEditor, Mode::PaletteEditor>)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FramePass<HexEditor, Mode::HexEditor>)->Unit(benchmark::kMicrosecond);

// The hex editor after a byte was typed at its cursor: the changed bytes
// brought up to date and the view redrawn.
void BM_HexEditorPassAfterAnEdit(benchmark::State& state) {
  ModesFixture& f = Fixture();
  ENGINE_STATE = static_cast<uint32_t>(Mode::HexEditor);
  ReloadModeBars();
  HexEditor mode(0x16);
  Pass(f, mode);
  unsigned value = 0;
  for (auto _ : state) {
    mode.cursor().GoTo(0x20);
    ++value;
    mode.TypeDigit(static_cast<int>(value >> 4 & 15));
    mode.TypeDigit(static_cast<int>(value & 15));
    Pass(f, mode);
  }
  QBR1_ResetEdits(f.demo.rom, 0);
  QBR1.assign(f.demo.rom.begin(), f.demo.rom.end());
  ENGINE_STATE = 0;
}
BENCHMARK(BM_HexEditorPassAfterAnEdit)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
