// One frame of the start-up screen as the main loop composes it: the window-sized
// area of the screen-sized frame buffer cleared, the banner, the whole window frame
// (caption, borders, toolbar, menu bar, status bar) and the copy to the page.
#include <benchmark/benchmark.h>

#include "bench/demo_setting.h"
#include "gui/HelioWin.h"
#include "gui/commands.h"
#include "platform/window.h"
#include "resources/skin.h"
#include "shell/runtime/frame.h"
#include "shell/app/mode_startupscreen.h"
#include "shell/base/variables.h"

namespace {

void StartupFramePass(benchmark::State& state) {
  StartBenchAllegro();
  LoadBuiltinResources();
  HeadlessWindow window;
  PlatformUseHeadlessWindow(window);
  FB = create_bitmap_ex(32, window.screen_w, window.screen_h);
  BITMAP* page = create_bitmap_ex(32, window.screen_w, window.screen_h);
  {
    const Installed<CommandTable> commands;
    CHelioGUI gui;
    ModePass pass;
    pass.picture = DrawStartupScreen;
    for (auto _ : state) {
      ComposeFrame(page, pass);
      benchmark::DoNotOptimize(page->line[0][0]);
    }
    state.SetItemsProcessed(state.iterations());
  }
  mui = nullptr;
  destroy_bitmap(page);
  destroy_bitmap(FB);
  FB = nullptr;
  PlatformUseX11Window();
  DestroyBuiltinResources();
}
BENCHMARK(StartupFramePass)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
