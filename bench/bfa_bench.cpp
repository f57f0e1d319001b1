// Loading a 4 MiB image into a channel (with its CRC-32), and the CRC-32 routine beside zlib's.
// zlib's function shares its name with the library's checksum type, so it is renamed while zlib.h is read;
// the benchmark calls zlib's crc32_z.
#define crc32 zlib_crc32_unused
#include <zlib.h>
#undef crc32

#include "bfa/bfa.h"
#include "platform/dialogs.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kImageSize = 4u << 20;

std::vector<char> RandomImage() {
  std::mt19937 rng(4242);
  std::vector<char> bytes(kImageSize);
  for (char& c : bytes) c = static_cast<char>(rng());
  return bytes;
}

const std::vector<char>& Image() {
  static const std::vector<char> image = RandomImage();
  return image;
}

// The image written once to a temporary file, removed when the benchmark ends.
class ImageFile {
 public:
  ImageFile() {
    char name[] = "/tmp/bfa_bench_XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0 || write(fd, Image().data(), Image().size()) != static_cast<ssize_t>(Image().size())) std::abort();
    close(fd);
    path_ = name;
  }
  ~ImageFile() { unlink(path_.c_str()); }
  const char* path() const { return path_.c_str(); }

 private:
  std::string path_;
};

void BM_LoadImageWithCrc32(benchmark::State& state) {
  PlatformUseScriptedDialogs([](const DialogRecord&) { return std::string("ok"); });
  const ImageFile file;
  for (auto _ : state) {
    BFA_Activate(0x10, 1);
    if (!BFA_Load(file.path())) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(BFA_OpenedCRC32[0x10]);
    BFA_Disable(0x10);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kImageSize));
  PlatformUseDesktopDialogs();
}
BENCHMARK(BM_LoadImageWithCrc32)->Unit(benchmark::kMillisecond);

void BM_Crc32Own(benchmark::State& state) {
  const std::vector<char>& image = Image();
  for (auto _ : state) benchmark::DoNotOptimize(CharArray_Get_CRC32(image.data(), static_cast<int>(image.size())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kImageSize));
}
BENCHMARK(BM_Crc32Own)->Unit(benchmark::kMillisecond);

void BM_Crc32Zlib(benchmark::State& state) {
  const std::vector<char>& image = Image();
  for (auto _ : state) benchmark::DoNotOptimize(crc32_z(0, reinterpret_cast<const Bytef*>(image.data()), image.size()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kImageSize));
}
BENCHMARK(BM_Crc32Zlib)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
