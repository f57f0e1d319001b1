// Saving a 4 MiB image, making an IPS patch of 10,000 scattered changes, applying patches of 10,000
// and 100,000 records (the time should grow with the patch, no faster), and undoing a paint stroke
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
#include "rom/image_transaction.h"
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
  SetImageFile("", "");
  std::string error;
  if (!ReplaceFile(path, QBR1_OpenedFile(), error)) std::abort();
  SetImageFile(path, "");
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

// A patch of `records` plain records of four bytes, 40 bytes apart, over a 4 MiB image.
std::vector<unsigned char> PatchOfRecords(std::size_t records) {
  std::vector<unsigned char> patch = {'P', 'A', 'T', 'C', 'H'};
  for (std::size_t i = 0; i < records; ++i) {
    const std::size_t at = i * 40;
    patch.insert(patch.end(),
                 {static_cast<unsigned char>(at >> 16), static_cast<unsigned char>(at >> 8),
                  static_cast<unsigned char>(at), 0x00, 0x04, 0xDE, 0xAD, 0xBE, static_cast<unsigned char>(i)});
  }
  patch.insert(patch.end(), {'E', 'O', 'F'});
  return patch;
}

void BM_ApplyIpsRecords(benchmark::State& state) {
  const std::vector<unsigned char> patch = PatchOfRecords(static_cast<std::size_t>(state.range(0)));
  const std::vector<unsigned char> image = RandomImage();
  std::vector<unsigned char> file;
  std::string error;
  for (auto _ : state) {
    state.PauseTiming();
    file = image;
    state.ResumeTiming();
    if (!ApplyIpsPatch(patch, file, error)) state.SkipWithError("apply failed");
    benchmark::DoNotOptimize(file.data());
  }
}
BENCHMARK(BM_ApplyIpsRecords)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_UndoStrokeOf10000Entries(benchmark::State& state) {
  InstallImage(RandomImage());
  {
    ImageTransaction stroke(QBR1_Document(), ImageDocument::kDefaultLabel, 0x16);
    for (std::size_t offset : StrokeOffsets()) QBR1_WriteWord(offset, 0x4005);
    stroke.Commit();
  }
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
