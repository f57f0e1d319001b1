// Character compression speed: the largest character set the game stores (a
// plain block's 0x84A0 bytes) made of demo characters, and the demo's own set.
#include <benchmark/benchmark.h>

#include "codec/char_codec.h"
#include "demo/demo_art.h"
#include "demo/demo_image.h"

namespace {

std::vector<unsigned char> LargestCharacterSet() {
  DemoRng rng(5);
  const DemoCharSet cs = DemoMakeChars(rng);
  std::vector<unsigned char> raw;
  while (raw.size() < 0x84A0) {
    const DemoChar& c = cs.chars[rng.Below(static_cast<int>(cs.chars.size()))];
    for (int r = 0; r < 8; ++r)
      for (int p = 0; p < 4; ++p) {
        unsigned char b = 0;
        for (int x = 0; x < 8; ++x) b |= static_cast<unsigned char>(((c[8 * r + x] >> p) & 1) << (7 - x));
        raw.push_back(b);
      }
  }
  raw.resize(0x84A0);
  return raw;
}

void Compress(benchmark::State& state, const std::vector<unsigned char>& raw) {
  std::size_t packed = 0;
  for (auto _ : state) {
    const std::vector<unsigned char> block = QBR1_CompressCharacters(raw);
    packed = block.size();
    benchmark::DoNotOptimize(block.data());
  }
  state.counters["raw_bytes"] = static_cast<double>(raw.size());
  state.counters["packed_bytes"] = static_cast<double>(packed);
}

void BM_CompressLargestCharacterSet(benchmark::State& state) {
  static const std::vector<unsigned char> raw = LargestCharacterSet();
  Compress(state, raw);
}
BENCHMARK(BM_CompressLargestCharacterSet)->Unit(benchmark::kMillisecond);

void BM_CompressDemoCharacters(benchmark::State& state) {
  static const std::vector<unsigned char> raw = BuildDemoImage(1).archetypes.front().characters;
  Compress(state, raw);
}
BENCHMARK(BM_CompressDemoCharacters)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
