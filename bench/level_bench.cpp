// Level decoding speed: graphics decompression, tile building, sprite decoding
// and compression, compressed-sprite drawing. Data from the demo image.
#include <benchmark/benchmark.h>

#include "bench/demo_setting.h"
#include "codec/char_codec.h"
#include "demo/demo_art.h"
#include "level/ex_gfx_QBR1.h"
#include "level/qbr_sprite_exception.h"
#include "level/snesbitmap.h"
#include "shell/base/functions.h"

namespace {

constexpr long kBigGraphics = 0x180000;  // a free area of the demo image

// The demo image loaded and configured once, plus a 34 KB compressed block at kBigGraphics.
const DemoImage& Demo() {
  static const DemoImage demo = [] {
    StartBenchAllegro();
    DemoImage d = BuildDemoImage(1);
    DemoRng rng(5);
    const DemoCharSet cs = DemoMakeChars(rng);
    std::vector<unsigned char> raw;
    while (raw.size() < 34000) {
      const DemoChar& c = cs.chars[rng.Below(static_cast<int>(cs.chars.size()))];
      for (int r = 0; r < 8; ++r)
        for (int p = 0; p < 4; ++p) {
          unsigned char b = 0;
          for (int x = 0; x < 8; ++x) b |= static_cast<unsigned char>(((c[8 * r + x] >> p) & 1) << (7 - x));
          raw.push_back(b);
        }
    }
    raw.resize(34000);
    const std::vector<unsigned char> packed = QBR1_CompressCharacters(raw);
    std::copy(packed.begin(), packed.end(), d.rom.begin() + kBigGraphics);
    OpenDemoImage(d);
    return d;
  }();
  return demo;
}

void BM_RawGFX_Compressed34KB(benchmark::State& state) {
  Demo();
  leveldata lvl;
  lvl.tilegfx = kBigGraphics;
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::vector<unsigned char> out;
    RE_QBR1_RawGFX(out, lvl);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["output_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RawGFX_Compressed34KB)->Unit(benchmark::kMicrosecond);

void BM_RawGFX_Plain(benchmark::State& state) {
  Demo();
  leveldata lvl;
  Get_QBR1_LevelDataStruct(0x41, lvl);  // archetype 12: stored plainly
  for (auto _ : state) {
    std::vector<unsigned char> out;
    RE_QBR1_RawGFX(out, lvl);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_RawGFX_Plain)->Unit(benchmark::kMicrosecond);

void BM_FillTilesVector_586(benchmark::State& state) {
  Demo();
  leveldata lvl;
  Get_QBR1_LevelDataStruct(0x16, lvl);  // archetype 0: 586 tiles
  for (auto _ : state) {
    std::vector<BITMAP*> tiles;
    QBR1_FillTilesVector(tiles, lvl);
    state.PauseTiming();
    if (tiles.size() != 586) state.SkipWithError("wrong tile count");
    for (BITMAP*& b : tiles) Nullify(b);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FillTilesVector_586)->Unit(benchmark::kMillisecond);

void BM_SpriteDecodeAndCompress(benchmark::State& state) {
  Demo();
  for (auto _ : state) {
    CompSprite* cs = Rw_Bitmap2CompSprite(RE_QBR1_SptiteRaw(0x104));  // the ten-part totem
    benchmark::DoNotOptimize(cs->w);
    Nullify(cs);
  }
}
BENCHMARK(BM_SpriteDecodeAndCompress)->Unit(benchmark::kMicrosecond);

void BM_DrawCompSprite(benchmark::State& state) {
  Demo();
  CompSprite* cs = Rw_Bitmap2CompSprite(RE_QBR1_SptiteRaw(0x104));
  BITMAP* dest = create_bitmap_ex(32, 320, 240);
  short flip = 0;
  for (auto _ : state) {
    Rw_drawvh_qbrpal(cs, dest, 160, 200, flip, 0x3CB020);
    flip = static_cast<short>((flip + 1) & 3);
  }
  destroy_bitmap(dest);
  Nullify(cs);
}
BENCHMARK(BM_DrawCompSprite)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
