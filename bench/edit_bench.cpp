// Saving a 4 MiB image, making an IPS patch of 10,000 scattered changes, and undoing a paint stroke
// that wrote 10,000 map entries.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "platform/dialogs.h"
#include "rom/image_edits.h"
#include "rom/image_save.h"
#include "rom/ips_patch.h"

namespace {

constexpr std::size_t kImageSize = 4u << 20;

std::vector<unsigned char> RandomImage() {
  std::mt19937 rng(77);
  std::vector<unsigned char> bytes(kImageSize);
  for (auto& c : bytes) c = static_cast<unsigned char>(rng());
  return bytes;
}

// Channel 0x10 holding the random image with a fresh edit history.
void InstallImage(const std::vector<unsigned char>& file) {
  BFA_Activate(0x10, 1);
  QBR1.assign(file.begin(), file.end());
  QBR1_ResetEdits(file, 0);
}

// 10,000 map words two to 800 bytes apart, as a stroke over a level's map would write them.
std::vector<std::size_t> StrokeOffsets() {
  std::mt19937 rng(5);
  std::vector<std::size_t> offsets;
  std::size_t at = 0x100000;
  for (int i = 0; i < 10000; ++i) {
    offsets.push_back(at);
    at += 2 + 2 * (rng() % 400);
  }
  return offsets;
}

void BM_SaveImage4MiB(benchmark::State& state) {
  PlatformUseScriptedDialogs([](const DialogRecord&) { return std::string("no"); });
  InstallImage(RandomImage());
  QBR1_WriteWord(0x2000, 0x1234);
  char dir[] = "/tmp/qbrre_save_bench_XXXXXX";
  if (mkdtemp(dir) == nullptr) std::abort();
  const std::string path = std::string(dir) + "/game.smc";
  SetImageFile("", 0);
  std::string error;
  if (!ReplaceFile(path, QBR1_OpenedFile(), error)) std::abort();
  SetImageFile(path, 0);
  for (auto _ : state) {
    if (!SaveImage()) state.SkipWithError("save failed");
    QBR1_WriteWord(0x2000, static_cast<unsigned short>(state.iterations()));
  }
  std::filesystem::remove_all(dir);
  PlatformUseDesktopDialogs();
}
BENCHMARK(BM_SaveImage4MiB)->Unit(benchmark::kMillisecond);

void BM_MakeIps10000ScatteredChanges(benchmark::State& state) {
  const std::vector<unsigned char> original = RandomImage();
  std::vector<unsigned char> edited = original;
  std::mt19937 rng(9);
  for (int i = 0; i < 10000; ++i) edited[rng() % kImageSize] ^= 0xFF;
  std::vector<unsigned char> patch;
  std::string error;
  for (auto _ : state) {
    if (!MakeIpsPatch(original, edited, patch, error)) state.SkipWithError("patch failed");
    benchmark::DoNotOptimize(patch.data());
  }
}
BENCHMARK(BM_MakeIps10000ScatteredChanges)->Unit(benchmark::kMillisecond);

void BM_UndoStrokeOf10000Entries(benchmark::State& state) {
  InstallImage(RandomImage());
  QBR1_BeginEdit(0x16);
  for (std::size_t offset : StrokeOffsets()) QBR1_WriteWord(offset, 0x4005);
  QBR1_EndEdit();
  for (auto _ : state) {
    if (!QBR1_Undo(nullptr)) state.SkipWithError("nothing to undo");
    state.PauseTiming();
    QBR1_Redo(nullptr);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoStrokeOf10000Entries)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
