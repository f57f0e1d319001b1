// Making a BPS patch of the 4 MiB demo image: edited the way a hack changes one (bytes here and there,
// a block moved, a longer file), and against an unrelated image of the same size, where every position
// is looked up and nothing matches. Applying the first patch, for comparison.
#include "rom/bps_patch.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "demo/demo_image.h"

namespace {

using Bytes = std::vector<unsigned char>;

const Bytes& Demo() {
  static const Bytes rom = BuildDemoImage(1).rom;
  return rom;
}

const Bytes& Edited() {
  static const Bytes edited = [] {
    Bytes t = Demo();
    for (std::size_t i = 0x8123; i < t.size(); i += 0x1001) t[i] ^= 0x3C;
    std::copy(Demo().begin() + 0x20000, Demo().begin() + 0x30000, t.begin() + 0x3E0000);
    t.insert(t.end(), 0x8000, 0x7F);
    return t;
  }();
  return edited;
}

const Bytes& Unrelated() {
  static const Bytes other = [] {
    Bytes b(Demo().size());
    std::mt19937 rng(77);
    for (unsigned char& c : b) c = static_cast<unsigned char>(rng());
    return b;
  }();
  return other;
}

void BM_MakeBpsOfEditedImage(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(MakeBpsPatch(Demo(), Edited()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Edited().size()));
}
BENCHMARK(BM_MakeBpsOfEditedImage)->Unit(benchmark::kMillisecond);

void BM_MakeBpsOfUnrelatedImage(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(MakeBpsPatch(Demo(), Unrelated()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Unrelated().size()));
}
BENCHMARK(BM_MakeBpsOfUnrelatedImage)->Unit(benchmark::kMillisecond);

void BM_ApplyBpsOfEditedImage(benchmark::State& state) {
  const Bytes patch = MakeBpsPatch(Demo(), Edited());
  Bytes out;
  std::string error;
  for (auto _ : state) {
    if (!ApplyBpsPatch(patch, Demo(), out, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["patch_bytes"] = static_cast<double>(patch.size());
}
BENCHMARK(BM_ApplyBpsOfEditedImage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
