#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "plugins/plugin_api.h"

struct Music_Emu;

// Whether file is a regular file that can be opened for reading. Never blocks:
// a FIFO or a device named like a song is no song, and opening it could wait
// for ever.
bool IsReadableSongFile(const char* file);

// Plays one SPC file: the emulator renders 32000 Hz 16-bit stereo on a decoder
// thread of its own, which writes to the output module only as fast as its
// CanWrite allows. The tune loops until Stop. Start and Stop belong to the
// host's thread; the other calls may come from any thread.
class SpcPlayer {
 public:
  static constexpr int kRate = 32000;
  static constexpr int kChannels = 2;
  static constexpr int kBits = 16;

  SpcPlayer() = default;
  SpcPlayer(const SpcPlayer&) = delete;
  SpcPlayer& operator=(const SpcPlayer&) = delete;
  ~SpcPlayer() { Stop(); }

  // Stops what plays, opens file and starts the decoder; 0 when playing,
  // -1 when the file is missing or not readable (IsReadableSongFile), 1 when it
  // is no SPC file or there is no output.
  int Start(const char* file, In_Module& mod, int volume, int pan);
  // Ends the decoder thread and closes the output; harmless when stopped.
  void Stop();
  void Pause();
  void UnPause();
  bool IsPaused() const { return paused_; }
  // Length given by the tag of the tune last started in ms, or -1000 without
  // one (also after a start that failed).
  int LengthMs() const { return length_; }
  // Title given by the same tag, or "".
  const std::string& Title() const { return title_; }
  // Position heard, in ms.
  int OutputTime() const;
  // Asks the decoder to continue from ms.
  void Seek(int ms);

 private:
  void Run();
  void Wake();

  In_Module* mod_ = nullptr;
  Out_Module* out_ = nullptr;
  Music_Emu* emu_ = nullptr;
  std::thread thread_;
  std::atomic<bool> quit_{false};
  std::atomic<bool> paused_{false};
  std::atomic<int> seekTo_{-1};  // pending seek in ms, -1 none
  int length_ = -1000;
  std::string title_;
  std::mutex wakeLock_;
  std::condition_variable wake_;
};
