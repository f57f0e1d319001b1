// Output plug-in: plays the samples an input module writes through the
// desktop's sound server, or records them into a WAV file named by the
// environment variable QBRRE_WAV_OUT (paced in real time, as a device would).
//
// Every entry point may be called from the input module's decoder thread
// (Write, CanWrite, Flush) or from the host's thread (Pause, GetOutputTime,
// SetVolume...), so one lock guards the whole state.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "plugins/out_wave/sdl_sink.h"
#include "plugins/out_wave/wav_sink.h"
#include "plugins/plugin_api.h"

namespace {

// How far the writer may run ahead of what is heard: short enough that pause,
// seek and volume act at once, long enough to ride over a late decoder.
constexpr int kQueueMs = 250;

struct OutputState {
  std::mutex lock;
  bool open = false;
  bool toFile = false;
  bool paused = false;
  int bits = 16;
  int blockAlign = 4;
  int byteRate = 1;
  int capBytes = 0;
  int baseMs = 0;       // output time at the last Flush
  int64_t written = 0;  // bytes written since the last Flush
  int volume = 255;
  int pan = 0;
  std::vector<char> scratch;
  WavSink wav;
  SdlSink sdl;

  int Queued() { return toFile ? wav.Queued() : sdl.Queued(); }
  int64_t Played() { return toFile ? wav.Played() : written - sdl.Queued(); }
  int ToMs(int64_t bytes) const { return baseMs + static_cast<int>(bytes * 1000 / byteRate); }
  void CloseSinks() {
    wav.Close();
    sdl.Close();
    open = false;
  }
};

// The state, held locked for the lifetime of this object.
class Locked {
 public:
  Locked() : guard_(State().lock) {}
  OutputState* operator->() { return &State(); }
  OutputState& operator*() { return State(); }

 private:
  static OutputState& State() {
    static OutputState state;
    return state;
  }
  std::lock_guard<std::mutex> guard_;
};

// Scales 16-bit samples by the volume, and the channel away from the pan by its distance.
void ApplyVolumeAndPan(short* samples, int count, int channels, int volume, int pan) {
  const int left = volume * (pan > 0 ? 128 - pan : 128);
  const int right = volume * (pan < 0 ? 128 + pan : 128);
  for (int i = 0; i < count; ++i) {
    const int gain = (channels == 2 && (i & 1)) ? right : left;
    samples[i] = static_cast<short>(samples[i] * gain / (255 * 128));
  }
}

void Config(HWND) {}
void About(HWND) {}
void Init() {}

void Quit() {
  Locked locked;
  OutputState& s = *locked;
  s.CloseSinks();
  SdlSink::Shutdown();
}

int Open(int samplerate, int numchannels, int bitspersamp, int, int) {
  Locked locked;
  OutputState& s = *locked;
  s.CloseSinks();
  const char* record = std::getenv("QBRRE_WAV_OUT");
  s.toFile = record && *record;
  const bool ok = s.toFile ? s.wav.Open(record, samplerate, numchannels, bitspersamp)
                           : s.sdl.Open(samplerate, numchannels, bitspersamp);
  if (!ok) return -1;
  s.open = true;
  s.paused = false;
  s.bits = bitspersamp;
  s.blockAlign = numchannels * bitspersamp / 8;
  s.byteRate = samplerate * s.blockAlign;
  s.capBytes = s.byteRate * kQueueMs / 1000 / s.blockAlign * s.blockAlign;
  s.baseMs = 0;
  s.written = 0;
  return kQueueMs;
}

void Close() {
  Locked locked;
  OutputState& s = *locked;
  s.CloseSinks();
}

int Write(char* buf, int len) {
  Locked locked;
  OutputState& s = *locked;
  if (!s.open || !buf || len < 0) return -1;
  const char* data = buf;
  if (s.bits == 16 && (s.volume != 255 || s.pan != 0)) {
    s.scratch.assign(buf, buf + len);
    ApplyVolumeAndPan(reinterpret_cast<short*>(s.scratch.data()), len / 2, s.blockAlign / 2, s.volume, s.pan);
    data = s.scratch.data();
  }
  if (s.toFile) s.wav.Write(data, len);
  else s.sdl.Write(data, len);
  s.written += len;
  return 0;
}

int CanWrite() {
  Locked locked;
  OutputState& s = *locked;
  if (!s.open) return 0;
  return std::max(0, s.capBytes - s.Queued());
}

int IsPlaying() {
  Locked locked;
  OutputState& s = *locked;
  return s.open && s.Queued() > 0 ? 1 : 0;
}

int Pause(int pause) {
  Locked locked;
  OutputState& s = *locked;
  const int previous = s.paused ? 1 : 0;
  s.paused = pause != 0;
  if (s.toFile) s.wav.Pause(s.paused);
  else s.sdl.Pause(s.paused);
  return previous;
}

void SetVolume(int volume) {
  if (volume == -666) return;
  Locked locked;
  OutputState& s = *locked;
  s.volume = std::clamp(volume, 0, 255);
}

void SetPan(int pan) {
  Locked locked;
  OutputState& s = *locked;
  s.pan = std::clamp(pan, -128, 128);
}

void Flush(int t) {
  Locked locked;
  OutputState& s = *locked;
  if (s.toFile) s.wav.Flush();
  else s.sdl.Flush();
  s.baseMs = t;
  s.written = 0;
}

int GetOutputTime() {
  Locked locked;
  OutputState& s = *locked;
  return s.open ? s.ToMs(s.Played()) : 0;
}

int GetWrittenTime() {
  Locked locked;
  OutputState& s = *locked;
  return s.open ? s.ToMs(s.written) : 0;
}

Out_Module module = {
    OUT_VER,       "QBRRE Wave Output 1.0",
    65537,         nullptr,
    nullptr,       Config,
    About,         Init,
    Quit,          Open,
    Close,         Write,
    CanWrite,      IsPlaying,
    Pause,         SetVolume,
    SetPan,        Flush,
    GetOutputTime, GetWrittenTime,
};

}  // namespace

extern "C" PLUGIN_EXPORT Out_Module* winampGetOutModule() { return &module; }
