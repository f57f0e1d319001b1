#include "plugins/out_wave/wav_sink.h"

#include <algorithm>
#include <cstddef>

#include <fcntl.h>
#include <unistd.h>

namespace {

void PutLE(unsigned char* p, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

bool WavSink::Open(const std::string& path, int rate, int channels, int bits) {
  Close();
  if (rate <= 0 || channels <= 0 || (bits != 8 && bits != 16)) return false;
  // O_NONBLOCK: a FIFO without a reader fails at once instead of holding up
  // the caller; one with a reader cannot seek, so its header fails below.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    ::close(fd);
    return false;
  }
  rate_ = rate;
  channels_ = channels;
  bits_ = bits;
  blockAlign_ = channels * bits / 8;
  byteRate_ = rate * blockAlign_;
  maxDataBytes_ = static_cast<uint32_t>(static_cast<int64_t>(byteRate_) * maxMs_ / 1000 / blockAlign_ * blockAlign_);
  queue_.clear();
  head_ = 0;
  played_ = 0;
  dataBytes_ = 0;
  credit_ = 0;
  paused_ = false;
  last_ = Clock::now();
  // A file that takes no header (a full disk, /dev/full) would record nothing.
  if (!WriteHeader()) {
    Close();
    return false;
  }
  return true;
}

void WavSink::Close() {
  if (!file_) return;
  std::fclose(file_);
  file_ = nullptr;
  queue_.clear();
  head_ = 0;
}

void WavSink::Write(const char* buf, int len) {
  if (!file_ || len <= 0) return;
  Advance();
  queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(head_));
  head_ = 0;
  queue_.insert(queue_.end(), buf, buf + len);
}

int WavSink::Queued() {
  Advance();
  return static_cast<int>(queue_.size() - head_);
}

int64_t WavSink::Played() {
  Advance();
  return played_;
}

void WavSink::Flush() {
  Advance();
  queue_.clear();
  head_ = 0;
  played_ = 0;
  credit_ = 0;
}

void WavSink::Pause(bool pause) {
  Advance();
  paused_ = pause;
  last_ = Clock::now();
}

void WavSink::Advance() {
  if (!file_) return;
  const Clock::time_point now = Clock::now();
  if (!paused_) credit_ += std::chrono::duration<double>(now - last_).count() * byteRate_;
  last_ = now;
  const size_t waiting = queue_.size() - head_;
  size_t due = static_cast<size_t>(credit_);
  due -= due % blockAlign_;
  const size_t n = std::min(due, waiting);
  if (n > 0) {
    Append(queue_.data() + head_, n);
    head_ += n;
    played_ += static_cast<int64_t>(n);
  }
  // A device that runs dry plays silence and does not owe the time it lost.
  credit_ = (n == waiting) ? 0 : credit_ - static_cast<double>(n);
  if (head_ == queue_.size()) {
    queue_.clear();
    head_ = 0;
  }
}

void WavSink::Append(const char* data, size_t len) {
  const size_t room = maxDataBytes_ - dataBytes_;
  len = std::min(len, room);
  if (len == 0) return;
  std::fseek(file_, 0, SEEK_END);
  std::fwrite(data, 1, len, file_);
  dataBytes_ += static_cast<uint32_t>(len);
  WriteHeader();
}

bool WavSink::WriteHeader() {
  unsigned char h[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16,  0,   0, 0, 1, 0,
                         0,   0,   0,   0,   0, 0, 0, 0, 0,   0,   0,   0,   0,   0,   'd', 'a', 't', 'a', 0, 0, 0, 0};
  PutLE(h + 4, 36 + dataBytes_, 4);
  PutLE(h + 22, static_cast<uint32_t>(channels_), 2);
  PutLE(h + 24, static_cast<uint32_t>(rate_), 4);
  PutLE(h + 28, static_cast<uint32_t>(byteRate_), 4);
  PutLE(h + 32, static_cast<uint32_t>(blockAlign_), 2);
  PutLE(h + 34, static_cast<uint32_t>(bits_), 2);
  PutLE(h + 40, dataBytes_, 4);
  return std::fseek(file_, 0, SEEK_SET) == 0 && std::fwrite(h, 1, sizeof h, file_) == sizeof h &&
         std::fflush(file_) == 0;
}
