#include "plugins/out_wave/sdl_sink.h"

#include <SDL.h>

bool SdlSink::Open(int rate, int channels, int bits) {
  Close();
  if (rate <= 0 || channels <= 0 || (bits != 8 && bits != 16)) return false;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = rate;
  want.format = bits == 16 ? AUDIO_S16SYS : AUDIO_U8;
  want.channels = static_cast<Uint8>(channels);
  want.samples = 1024;
  // No changes allowed: SDL converts to whatever the device really takes.
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  if (device_ == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

void SdlSink::Close() {
  if (device_ == 0) return;
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlSink::Write(const char* buf, int len) {
  if (device_ != 0 && len > 0) SDL_QueueAudio(device_, buf, static_cast<Uint32>(len));
}

int SdlSink::Queued() const { return device_ != 0 ? static_cast<int>(SDL_GetQueuedAudioSize(device_)) : 0; }

void SdlSink::Flush() {
  if (device_ != 0) SDL_ClearQueuedAudio(device_);
}

void SdlSink::Pause(bool pause) {
  if (device_ != 0) SDL_PauseAudioDevice(device_, pause ? 1 : 0);
}

void SdlSink::Shutdown() { SDL_Quit(); }
