#pragma once

#include <cstdint>

// The desktop's sound device through SDL's audio queue: Write appends to the
// queue and the device drains it in real time on SDL's own thread.
class SdlSink {
 public:
  SdlSink() = default;
  SdlSink(const SdlSink&) = delete;
  SdlSink& operator=(const SdlSink&) = delete;
  ~SdlSink() { Close(); }

  // Opens the default output device and starts it; false when there is none.
  bool Open(int rate, int channels, int bits);
  void Close();
  void Write(const char* buf, int len);
  // Bytes queued and not yet handed to the device.
  int Queued() const;
  void Flush();
  void Pause(bool pause);
  // Releases what SDL keeps between devices; called before the plug-in is unloaded.
  static void Shutdown();

 private:
  uint32_t device_ = 0;
};
