#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/dialogs.h"

// Contents of a minimal SPC file (v0.30): the sound processor loops on one
// branch-to-itself while the DSP plays voice 0, a one-block looping BRR square
// wave, at toneHz (0: every DSP register zero, which renders silence). A tag
// of tagSeconds is written when it is non-zero.
std::vector<uint8_t> MakeSpc(int toneHz, int tagSeconds);

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// A 16-bit PCM WAV file as read back; valid only when both chunk sizes of the
// header agree with the file's size.
struct WavFile {
  bool valid = false;
  int rate = 0, channels = 0, bits = 0;
  std::vector<int16_t> samples;  // interleaved
};
WavFile ReadWav(const std::filesystem::path& path);

// Frequency of the first channel of wav from its zero crossings.
double ToneFrequency(const WavFile& wav);
// Largest absolute sample.
int Peak(const WavFile& wav);

// Threads of this process.
int ThreadCount();

// Records every box shown while it lives (answering "ok") and restores the
// normal backends afterwards.
class BoxRecorder {
 public:
  BoxRecorder();
  ~BoxRecorder();
  std::vector<DialogRecord> boxes;
};

// A fresh empty folder, removed with its contents at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Runs the test body in dir as working directory and goes back afterwards.
class WorkingDir {
 public:
  explicit WorkingDir(const std::filesystem::path& dir);
  ~WorkingDir();

 private:
  std::filesystem::path previous_;
};
