#include "extract/extract_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "level/png_export.h"
#include "level/rom_access.h"

namespace {

// Writes all of data to fd, retrying short writes and interruptions.
bool WriteAll(int fd, const unsigned char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string ExtractLine(const char* format, int n, int m) {
  char text[160];
  std::snprintf(text, sizeof text, format, n, m);
  return text;
}

std::string ExtractFileName(const char* prefix, int n, int digits, const char* suffix) {
  char name[64];
  std::snprintf(name, sizeof name, "%s-0x%0*X%s", prefix, digits, static_cast<unsigned>(n), suffix);
  return name;
}

void ExtractPiece::Picture(const std::string& name, BITMAP* picture, bool alpha) {
  std::vector<unsigned char> png;
  if (QBR1_EncodePng(picture, alpha, png))
    Bytes(name, std::move(png));
  else
    steps_.push_back({Step::Unencodable, name, {}, {}});
}

bool ExtractSink::Stopped() {
  if (!report_.failed_path.empty() || report_.cancelled) return true;
  if (control_ != nullptr && control_->cancel.load()) report_.cancelled = true;
  return report_.cancelled;
}

int ExtractSink::Workers(std::size_t count) const {
  int workers = control_ != nullptr ? control_->workers : 0;
  if (workers <= 0) workers = static_cast<int>(std::thread::hardware_concurrency());
  return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(std::max(workers, 1)), count));
}

void ExtractSink::Write(ExtractPiece& piece) {
  for (ExtractPiece::Step& step : piece.steps_) {
    switch (step.kind) {
      case ExtractPiece::Step::Skip: Skip(step.name); break;
      case ExtractPiece::Step::Bytes: Bytes(step.name, step.bytes); break;
      case ExtractPiece::Step::Copy: CopyOf(step.from, step.name); break;
      case ExtractPiece::Step::Unencodable:
        if (!Stopped()) report_.failed_path = (std::filesystem::path(folder_) / step.name).string();
        break;
    }
  }
}

void ExtractSink::ForEach(std::size_t count, const std::function<void(std::size_t, ExtractPiece&)>& make) {
  const int workers = Workers(count);
  if (workers <= 1) {
    for (std::size_t i = 0; i < count && !Stopped(); ++i) {
      ExtractPiece piece;
      make(i, piece);
      Write(piece);
    }
    return;
  }
  // Workers take items in order but finish them in any order; this thread
  // writes each piece once every earlier one is written. At most `window`
  // items are taken ahead of the writing, which bounds the pieces held.
  const std::size_t window = 2 * static_cast<std::size_t>(workers);
  std::mutex lock;
  std::condition_variable changed;
  std::vector<std::optional<ExtractPiece>> done(count);
  std::size_t next_item = 0, next_write = 0;
  bool stop = false;
  // Workers read the image this thread reads (a copy, for a background extraction).
  const RomView image = CurrentRom();
  auto work = [&] {
    const ThreadRomImage same(image);
    for (;;) {
      std::size_t i = 0;
      {
        std::unique_lock<std::mutex> hold(lock);
        changed.wait(hold, [&] { return stop || next_item >= count || next_item < next_write + window; });
        if (stop || next_item >= count) return;
        i = next_item++;
      }
      ExtractPiece piece;
      make(i, piece);
      {
        std::lock_guard<std::mutex> hold(lock);
        done[i] = std::move(piece);
      }
      changed.notify_all();
    }
  };
  std::vector<std::thread> threads;
  threads.reserve(static_cast<std::size_t>(workers));
  for (int w = 0; w < workers; ++w) threads.emplace_back(work);
  while (next_write < count && !Stopped()) {
    ExtractPiece piece;
    {
      std::unique_lock<std::mutex> hold(lock);
      changed.wait(hold, [&] { return done[next_write].has_value(); });
      piece = std::move(*done[next_write]);
      done[next_write].reset();
    }
    Write(piece);
    {
      std::lock_guard<std::mutex> hold(lock);
      ++next_write;
    }
    changed.notify_all();
  }
  {
    std::lock_guard<std::mutex> hold(lock);
    stop = true;
  }
  changed.notify_all();
  for (std::thread& t : threads) t.join();
}

std::string ExtractSink::TempPath(const std::string& name) const {
  static std::atomic<unsigned> counter{0};
  return (std::filesystem::path(folder_) /
          ("." + name + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(++counter)))
      .string();
}

void ExtractSink::Commit(const std::string& temp, const std::string& name, bool written) {
  const std::string path = (std::filesystem::path(folder_) / name).string();
  if (written && std::rename(temp.c_str(), path.c_str()) == 0) {
    ++report_.written;
    report_.files.push_back(name);
    if (control_ != nullptr) control_->written.store(report_.written);
    return;
  }
  std::remove(temp.c_str());
  report_.failed_path = path;
}

void ExtractSink::Bytes(const std::string& name, const std::vector<unsigned char>& bytes) {
  if (Stopped()) return;
  const std::string temp = TempPath(name);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  bool written = fd >= 0 && WriteAll(fd, bytes.data(), bytes.size());
  if (fd >= 0 && ::close(fd) != 0) written = false;
  Commit(temp, name, written);
}

void ExtractSink::CopyOf(const std::string& written, const std::string& name) {
  if (Stopped()) return;
  const std::string temp = TempPath(name);
  std::error_code ec;
  const bool copied = std::filesystem::copy_file(std::filesystem::path(folder_) / written, temp, ec) && !ec;
  Commit(temp, name, copied);
}
