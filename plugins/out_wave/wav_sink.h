#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A recording stand-in for a sound device: samples queued with Write are
// "played" in real time into a 16-bit PCM WAV file, so the file holds exactly
// what a listener would have heard. The header is rewritten after every
// append, so the file is valid at any moment; the recording stops growing
// after its limit (ten minutes of audio).
class WavSink {
 public:
  // Longest recording kept: ten minutes of audio.
  static constexpr int kMaxMs = 600000;

  explicit WavSink(int maxMs = kMaxMs) : maxMs_(maxMs) {}
  WavSink(const WavSink&) = delete;
  WavSink& operator=(const WavSink&) = delete;
  ~WavSink() { Close(); }

  // Creates the file and starts the clock; false when it cannot be written.
  bool Open(const std::string& path, int rate, int channels, int bits);
  // Closes the file; what was queued but not yet played is dropped.
  void Close();
  // Queues len bytes behind the ones already waiting.
  void Write(const char* buf, int len);
  // Bytes queued and not yet played.
  int Queued();
  // Bytes played since the last Flush.
  int64_t Played();
  // Drops the queue.
  void Flush();
  // Stops or restarts the clock.
  void Pause(bool pause);

 private:
  using Clock = std::chrono::steady_clock;
  // Moves the bytes the clock has played since the last call from the queue to the file.
  void Advance();
  void Append(const char* data, size_t len);
  // Writes the header for the data so far; false when the file does not take it.
  bool WriteHeader();

  int maxMs_;
  FILE* file_ = nullptr;
  int byteRate_ = 0;
  int blockAlign_ = 1;
  int channels_ = 0;
  int bits_ = 0;
  int rate_ = 0;
  std::vector<char> queue_;  // bytes not yet played; queue_[head_] is next
  size_t head_ = 0;
  int64_t played_ = 0;      // bytes played since the last Flush
  uint32_t dataBytes_ = 0;  // bytes in the file's data chunk
  uint32_t maxDataBytes_ = 0;
  double credit_ = 0;  // bytes the clock allows beyond those already played
  Clock::time_point last_;
  bool paused_ = false;
};
