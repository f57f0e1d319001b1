#include "platform/system_sound.h"

#include "platform/allegro_include.h"

#include <cmath>
#include <iterator>
#include <mutex>

namespace {

struct Tone {
  const char* alias;
  int start_hz, end_hz;  // pitch glides linearly from start to end
  int length_ms;
};

// A soft rising blip when a menu opens, a shorter falling click for a command.
constexpr Tone kTones[] = {
    {"MenuPopup", 880, 1320, 45},
    {"MenuCommand", 1200, 700, 60},
};
constexpr int kRate = 22050;

// Builds an 8-bit unsigned mono sample of the tone with a short fade at both ends.
SAMPLE* SynthesiseTone(const Tone& tone) {
  const int length = kRate * tone.length_ms / 1000;
  SAMPLE* sample = create_sample(8, FALSE, kRate, length);
  if (sample == nullptr) return nullptr;
  unsigned char* data = static_cast<unsigned char*>(sample->data);
  const int fade = length / 8;
  double phase = 0.0;
  for (int i = 0; i < length; ++i) {
    const double hz = tone.start_hz + (tone.end_hz - tone.start_hz) * double(i) / length;
    phase += 2.0 * M_PI * hz / kRate;
    double envelope = 1.0;
    if (i < fade) envelope = double(i) / fade;
    if (length - i < fade) envelope = double(length - i) / fade;
    data[i] = static_cast<unsigned char>(128 + 60.0 * envelope * std::sin(phase));
  }
  return sample;
}

bool SoundDeviceAvailable() { return digi_driver != nullptr && digi_driver->id != DIGI_NONE; }

void PlayOnDriver(const std::string& alias, bool wait) {
  if (!SoundDeviceAvailable()) return;
  // Samples are made on first use and kept for the whole run: the sound driver
  // may still be mixing one when the next request comes.
  static SAMPLE* samples[std::size(kTones)] = {};
  static std::once_flag made;
  std::call_once(made, [] {
    for (std::size_t i = 0; i < std::size(kTones); ++i) samples[i] = SynthesiseTone(kTones[i]);
  });
  for (std::size_t i = 0; i < std::size(kTones); ++i) {
    if (alias != kTones[i].alias || samples[i] == nullptr) continue;
    play_sample(samples[i], 255, 128, 1000, FALSE);
    if (wait) rest(kTones[i].length_ms + 10);
    return;
  }
}

// The chosen backend; the worker thread alone plays sounds and chooses.
SystemSoundSink& Backend() {
  static SystemSoundSink backend = PlayOnDriver;
  return backend;
}

}  // namespace

void UseDriverSystemSound() { Backend() = PlayOnDriver; }

void UseRecordingSystemSound(SystemSoundSink sink) {
  // A recorder without a sink keeps nothing and stays silent.
  Backend() = sink ? std::move(sink) : [](const std::string&, bool) {};
}

void PlaySystemSound(const char* alias, bool wait) {
  if (alias == nullptr) return;
  Backend()(alias, wait);
}
