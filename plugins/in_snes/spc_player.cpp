#include "plugins/in_snes/spc_player.h"

#include <gme/gme.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

namespace {

constexpr int kFrames = 576;  // samples per channel rendered per pass
constexpr int kChunkBytes = kFrames * SpcPlayer::kChannels * SpcPlayer::kBits / 8;
constexpr auto kIdle = std::chrono::milliseconds(10);

}  // namespace

bool IsReadableSongFile(const char* file) {
  std::error_code error;
  if (!file || !std::filesystem::is_regular_file(file, error)) return false;
  FILE* f = std::fopen(file, "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

int SpcPlayer::Start(const char* file, In_Module& mod, int volume, int pan) {
  Stop();
  // A start that fails leaves no tune behind, so no tag of the last one either.
  length_ = -1000;
  title_.clear();
  if (!IsReadableSongFile(file)) return -1;
  Music_Emu* emu = nullptr;
  if (gme_open_file(file, &emu, kRate) != nullptr || !emu) return 1;
  if (!mod.outMod) {
    gme_delete(emu);
    return 1;
  }
  // The tag's length would end the tune, and at this rate libgme divides by
  // zero when it gets there; a game's tune loops until it is stopped. Nor may
  // a quiet passage end it.
  gme_set_autoload_playback_limit(emu, 0);
  gme_ignore_silence(emu, 1);
  gme_info_t* info = nullptr;
  if (gme_track_info(emu, &info, 0) == nullptr && info) {
    if (info->length > 0) length_ = info->length;
    if (info->song) title_ = info->song;
    gme_free_info(info);
  }
  if (gme_start_track(emu, 0) != nullptr) {
    gme_delete(emu);
    return 1;
  }
  const int latency = mod.outMod->Open(kRate, kChannels, kBits, -1, -1);
  if (latency < 0) {
    gme_delete(emu);
    return 1;
  }
  mod.outMod->SetVolume(volume);
  mod.outMod->SetPan(pan);
  mod.SAVSAInit(latency, kRate);
  mod.VSASetInfo(kRate, kChannels);
  mod.SetInfo(kRate * kChannels * kBits / 1000, kRate / 1000, kChannels, 1);

  mod_ = &mod;
  out_ = mod.outMod;
  emu_ = emu;
  quit_ = false;
  paused_ = false;
  seekTo_ = -1;
  thread_ = std::thread(&SpcPlayer::Run, this);
  return 0;
}

void SpcPlayer::Stop() {
  if (!thread_.joinable()) return;
  quit_ = true;
  Wake();
  thread_.join();
  out_->Close();
  mod_->SAVSADeInit();
  gme_delete(emu_);
  emu_ = nullptr;
  out_ = nullptr;
  mod_ = nullptr;
  paused_ = false;
  seekTo_ = -1;
}

void SpcPlayer::Pause() {
  if (!thread_.joinable()) return;
  paused_ = true;
  out_->Pause(1);
}

void SpcPlayer::UnPause() {
  if (!thread_.joinable()) return;
  paused_ = false;
  out_->Pause(0);
  Wake();
}

int SpcPlayer::OutputTime() const {
  if (!thread_.joinable()) return 0;
  // Until the decoder has carried a seek out, the position is where it goes.
  const int pending = seekTo_;
  return pending >= 0 ? pending : out_->GetOutputTime();
}

void SpcPlayer::Seek(int ms) {
  if (!thread_.joinable()) return;
  seekTo_ = ms < 0 ? 0 : ms;
  Wake();
}

void SpcPlayer::Wake() {
  std::lock_guard<std::mutex> guard(wakeLock_);
  wake_.notify_all();
}

void SpcPlayer::Run() {
  // Room for a sound effect stage that may double the samples.
  short buffer[kFrames * kChannels * 2];
  bool failed = false;
  while (!quit_) {
    int seek = seekTo_;
    if (seek >= 0) {
      failed = gme_seek(emu_, seek) != nullptr;
      out_->Flush(seek);
      seekTo_.compare_exchange_strong(seek, -1);
      continue;
    }
    if (failed || paused_ || out_->CanWrite() < kChunkBytes) {
      std::unique_lock<std::mutex> lock(wakeLock_);
      wake_.wait_for(lock, kIdle);
      continue;
    }
    const int timestamp = out_->GetWrittenTime();
    if (gme_play(emu_, kFrames * kChannels, buffer) != nullptr) {
      failed = true;
      continue;
    }
    mod_->SAAddPCMData(buffer, kChannels, kBits, timestamp);
    mod_->VSAAddPCMData(buffer, kChannels, kBits, timestamp);
    int frames = kFrames;
    if (mod_->dsp_isactive())
      frames = std::clamp(mod_->dsp_dosamples(buffer, kFrames, kBits, kChannels, kRate), 0, 2 * kFrames);
    out_->Write(reinterpret_cast<char*>(buffer), frames * kChannels * kBits / 8);
  }
}
