#include "tests/music/music_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr size_t kSpcSize = 0x10200;
constexpr size_t kRam = 0x100;
constexpr size_t kDsp = 0x10100;
constexpr uint16_t kProgram = 0x0400;
constexpr uint8_t kDirPage = 0x02;
constexpr uint16_t kSample = 0x0300;

uint32_t GetLE(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<size_t>(i)];
  return v;
}

}  // namespace

std::vector<uint8_t> MakeSpc(int toneHz, int tagSeconds) {
  std::vector<uint8_t> spc(kSpcSize, 0);
  const char signature[] = "SNES-SPC700 Sound File Data v0.30";
  std::memcpy(spc.data(), signature, 33);
  spc[0x21] = 26;
  spc[0x22] = 26;
  spc[0x23] = tagSeconds > 0 ? 26 : 27;
  spc[0x24] = 30;
  spc[0x25] = kProgram & 0xFF;  // PC
  spc[0x26] = kProgram >> 8;
  spc[0x2A] = 0x02;  // PSW
  spc[0x2B] = 0xEF;  // SP
  if (tagSeconds > 0) {
    std::memcpy(&spc[0x2E], "Test Tone", 9);
    char seconds[4];
    std::snprintf(seconds, sizeof seconds, "%03d", tagSeconds % 1000);
    std::memcpy(&spc[0xA9], seconds, 3);
    std::memcpy(&spc[0xAC], "00000", 5);
  }
  uint8_t* ram = &spc[kRam];
  ram[kProgram] = 0x2F;  // BRA -2: the processor spins while the DSP plays
  ram[kProgram + 1] = 0xFE;
  if (toneHz <= 0) return spc;

  // Sample directory entry 0: start and loop address of the one block.
  uint8_t* dir = &ram[kDirPage * 0x100];
  dir[0] = dir[2] = kSample & 0xFF;
  dir[1] = dir[3] = kSample >> 8;
  // One BRR block: range 11, filter 0, loop and end flags; 8 samples up, 8 down.
  uint8_t* brr = &ram[kSample];
  brr[0] = 0xB3;
  for (int i = 1; i <= 4; ++i) brr[i] = 0x77;
  for (int i = 5; i <= 8; ++i) brr[i] = 0x88;

  // A 16-sample period at pitch 0x1000 (32000 Hz) sounds at 2000 Hz.
  const int pitch = toneHz * 0x1000 / 2000;
  uint8_t* dsp = &spc[kDsp];
  dsp[0x00] = 0x20;  // voice 0 volume left, right
  dsp[0x01] = 0x20;
  dsp[0x02] = pitch & 0xFF;
  dsp[0x03] = (pitch >> 8) & 0x3F;
  dsp[0x04] = 0;     // source 0
  dsp[0x05] = 0;     // ADSR off: the gain register sets the envelope
  dsp[0x07] = 0x7F;  // direct gain
  dsp[0x0C] = 0x7F;  // main volume left, right
  dsp[0x1C] = 0x7F;
  dsp[0x4C] = 0x01;  // key on voice 0
  dsp[0x5D] = kDirPage;
  dsp[0x6C] = 0x20;  // echo writes off
  return spc;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

WavFile ReadWav(const std::filesystem::path& path) {
  WavFile wav;
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 44 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(&b[8], "WAVEfmt ", 8) != 0 ||
      std::memcmp(&b[36], "data", 4) != 0)
    return wav;
  const uint32_t riff = GetLE(b, 4, 4);
  const uint32_t data = GetLE(b, 40, 4);
  wav.channels = static_cast<int>(GetLE(b, 22, 2));
  wav.rate = static_cast<int>(GetLE(b, 24, 4));
  wav.bits = static_cast<int>(GetLE(b, 34, 2));
  wav.valid = GetLE(b, 20, 2) == 1 && riff == b.size() - 8 && data == b.size() - 44 && wav.bits == 16;
  for (size_t i = 44; i + 1 < b.size(); i += 2) wav.samples.push_back(static_cast<int16_t>(GetLE(b, i, 2)));
  return wav;
}

double ToneFrequency(const WavFile& wav) {
  const size_t step = static_cast<size_t>(wav.channels);
  size_t crossings = 0;
  size_t first = 0, last = 0;
  for (size_t i = step; i < wav.samples.size(); i += step) {
    if ((wav.samples[i - step] < 0) != (wav.samples[i] < 0)) {
      if (crossings == 0) first = i / step;
      last = i / step;
      ++crossings;
    }
  }
  if (crossings < 3) return 0;
  // Two crossings per period, measured between the first and the last one.
  return (crossings - 1) / 2.0 * wav.rate / static_cast<double>(last - first);
}

int Peak(const WavFile& wav) {
  int peak = 0;
  for (int16_t s : wav.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return peak;
}

int ThreadCount() {
  int n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) ++n;
  return n;
}

BoxRecorder::BoxRecorder() {
  PlatformUseScriptedDialogs([this](const DialogRecord& box) {
    boxes.push_back(box);
    return std::string("ok");
  });
}

BoxRecorder::~BoxRecorder() { PlatformUseDesktopDialogs(); }

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qbrre_music_XXXXXX").string();
  if (mkdtemp(pattern.data())) path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code error;
  if (!path_.empty()) std::filesystem::remove_all(path_, error);
}

WorkingDir::WorkingDir(const std::filesystem::path& dir) : previous_(std::filesystem::current_path()) {
  std::filesystem::current_path(dir);
}

WorkingDir::~WorkingDir() {
  std::error_code error;
  std::filesystem::current_path(previous_, error);
}
