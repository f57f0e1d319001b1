// The level editor's per-update cost and the cost of switching levels, on the
// demo image, with the editor window of 776 x 604 composed off-screen.
#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdlib>

#include "bench/demo_bench_fixture.h"
#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "editor/classes.h"
#include "editor/view_transform.h"
#include "gui/HelioWin.h"
#include "platform/window.h"
#include "shell/runtime/frame.h"
#include "platform/config_lock.h"
#include "resources/skin.h"
#include "rom/globaldata.h"
#include "shell/base/variables.h"

namespace {

using EditorFixture = DemoBenchFixture;

EditorFixture& Fixture() {
  static EditorFixture fixture;
  return fixture;
}

// One logic update and one frame of the editor: camera, layers, guide, GUI.
void BM_EditorUpdateAndFrame(benchmark::State& state) {
  EditorFixture& f = Fixture();
  CCamera camera(0x16);
  for (auto _ : state) {
    f.gui->Proc();
    camera.Proc();
    clear_to_color(f.fb, 0x0F3F7F);
    camera.Draw(f.fb);
    f.gui->Draw(f.fb);
    benchmark::DoNotOptimize(f.fb->line[0][0]);
  }
}
BENCHMARK(BM_EditorUpdateAndFrame)->Unit(benchmark::kMicrosecond);

// The same at 25 %, showing the whole of a 64 x 16-tile level (0x17): the
// level composed at 1:1 and every fourth pixel of every fourth row copied.
void BM_EditorUpdateAndFrameAtQuarterZoom(benchmark::State& state) {
  EditorFixture& f = Fixture();
  SetViewZoom(25);
  {
    CCamera camera(0x17);
    f.gui->w = 776;
    f.gui->h = 604;
    camera.x = camera.y = 0;
    for (auto _ : state) {
      f.gui->Proc();
      camera.Proc();
      clear_to_color(f.fb, 0x0F3F7F);
      camera.Draw(f.fb);
      f.gui->Draw(f.fb);
      benchmark::DoNotOptimize(f.fb->line[0][0]);
    }
  }
  SetViewZoom(100);
}
BENCHMARK(BM_EditorUpdateAndFrameAtQuarterZoom)->Unit(benchmark::kMicrosecond);

// One logic update and one frame pass of the editor in a window scaled
// `scale` times: the frame composed at 776 x 604 and presented enlarged (every
// row copied, as after a scroll). At 2x the page is 1552 x 1208.
void BM_EditorFramePass(benchmark::State& state, int scale) {
  EditorFixture& f = Fixture();
  PlatformSetWindowScale(scale);
  BITMAP* page = create_bitmap_ex(32, scale * 776, scale * 604);
  BITMAP* fb = FB;
  FB = f.fb;
  {
    CCamera camera(0x16);
    f.gui->w = 776;
    f.gui->h = 604;
    ModePass pass;
    pass.picture = [&camera](BITMAP* dest) { camera.Draw(dest); };
    for (auto _ : state) {
      f.gui->Proc();
      camera.Proc();
      ComposeFrame(page, pass, false);
      benchmark::DoNotOptimize(page->line[0][0]);
    }
  }
  FB = fb;
  destroy_bitmap(page);
  PlatformSetWindowScale(1);
}
BENCHMARK_CAPTURE(BM_EditorFramePass, at_1x, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_EditorFramePass, at_2x, 2)->Unit(benchmark::kMicrosecond);

// A level switch: a new camera (level record, tiles, banana frames) and its first frame.
void BM_LevelSwitch(benchmark::State& state) {
  EditorFixture& f = Fixture();
  for (auto _ : state) {
    CCamera camera(0x16);
    camera.Proc();
    camera.Draw(f.fb);
    benchmark::DoNotOptimize(camera.Layer_MG0->tileset.size());
  }
}
BENCHMARK(BM_LevelSwitch)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
