// The program's raster routines against the drawing library's equivalents on the same
// bitmaps: masked draws (plain and mirrored), masked and plain whole-bitmap copies, and the
// column stretch. Pairs share a size argument so their times compare directly.

#include "gfx/ex_graphics.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

#include "bench/demo_setting.h"

namespace {

// Starts the library headless (its C blitters) and builds a source with a quarter of its
// pixels mask-coloured, scattered, and a destination of the same size.
struct Pair {
  BITMAP* src = nullptr;
  BITMAP* dest = nullptr;
  BITMAP* column = nullptr;
  explicit Pair(int w, int h) {
    static const bool ready = [] {
      StartBenchAllegro();
      EXG_FillPercentageOfValueArray();
      return true;
    }();
    (void)ready;
    src = create_bitmap_ex(32, w, h);
    dest = create_bitmap_ex(32, w, h);
    column = create_bitmap_ex(32, 1, h);
    std::mt19937 rng(12345);
    for (int y = 0; y < h; ++y) {
      auto* s = reinterpret_cast<uint32_t*>(src->line[y]);
      for (int x = 0; x < w; ++x) s[x] = rng() % 4 == 0 ? 0x00FF00FFu : (0xFF000000u | (rng() & 0xFFFFFF));
      reinterpret_cast<uint32_t*>(column->line[y])[0] = 0xFF000000u | (rng() & 0xFFFFFF);
    }
    clear_to_color(dest, 0x102030);
  }
  ~Pair() {
    destroy_bitmap(src);
    destroy_bitmap(dest);
    destroy_bitmap(column);
  }
};

// Square sizes are the small skin piece; 776 stands for the 776x604 frame buffer.
int Height(int w) { return w == 776 ? 604 : w; }

template <class F>
void Run(benchmark::State& state, F draw) {
  const int w = int(state.range(0)), h = Height(w);
  Pair p(w, h);
  for (auto _ : state) {
    draw(p);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t(w) * h);
}

#define PAIR_BENCH(name, body)         \
  void name(benchmark::State& state) { \
    Run(state, [](Pair& p) { body; }); \
  }                                    \
  BENCHMARK(name)->Arg(32)->Arg(776)

PAIR_BENCH(Rw_drawvh_mode0, Rw_drawvh(p.src, p.dest, 0, 0, 0));
PAIR_BENCH(Allegro_draw_sprite, draw_sprite(p.dest, p.src, 0, 0));
PAIR_BENCH(Rw_drawvh_mode1, Rw_drawvh(p.src, p.dest, 0, 0, 1));
PAIR_BENCH(Allegro_draw_sprite_h_flip, draw_sprite_h_flip(p.dest, p.src, 0, 0));
PAIR_BENCH(Rw_drawvh_mode2, Rw_drawvh(p.src, p.dest, 0, 0, 2));
PAIR_BENCH(Allegro_draw_sprite_v_flip, draw_sprite_v_flip(p.dest, p.src, 0, 0));
PAIR_BENCH(Rw_drawvh_mode3, Rw_drawvh(p.src, p.dest, 0, 0, 3));
PAIR_BENCH(Allegro_draw_sprite_vh_flip, draw_sprite_vh_flip(p.dest, p.src, 0, 0));
PAIR_BENCH(Rw_ncdraw, Rw_ncdraw(p.src, p.dest, 0, 0));
PAIR_BENCH(Allegro_masked_blit, masked_blit(p.src, p.dest, 0, 0, 0, 0, p.src->w, p.src->h));
PAIR_BENCH(Rw_ncblit, Rw_ncblit(p.src, p.dest, 0, 0));
PAIR_BENCH(Allegro_blit, blit(p.src, p.dest, 0, 0, 0, 0, p.src->w, p.src->h));
PAIR_BENCH(Rw_ncblit_vlinestretch, Rw_ncblit_vlinestretch(p.column, p.dest, 0, 0, short(p.dest->w)));
PAIR_BENCH(Allegro_stretch_blit_column,
           stretch_blit(p.column, p.dest, 0, 0, 1, p.column->h, 0, 0, p.dest->w, p.column->h));

}  // namespace

BENCHMARK_MAIN();
