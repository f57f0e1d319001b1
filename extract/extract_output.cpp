#include "extract/extract_output.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "extract/extract_manifest.h"
#include "bfa/bfa.h"
#include "level/rom_access.h"
#include "shell/base/functions.h"
#include "rom/file_replace.h"

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
  const bool encoded = QBR1_EncodePng(picture, alpha, png);
  Encoded(name, encoded, std::move(png));
}

void ExtractPiece::Picture(const std::string& name, int w, int h, const PngRowSource& rows, bool alpha) {
  std::vector<unsigned char> png;
  const bool encoded = QBR1_EncodePngRows(w, h, rows, alpha, png);
  Encoded(name, encoded, std::move(png));
}

void ExtractPiece::Encoded(const std::string& name, bool encoded, std::vector<unsigned char> png) {
  if (encoded)
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
        if (!Stopped()) Fail(step.name, "the picture cannot be encoded as PNG");
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

void ExtractSink::Fail(const std::string& name, const std::string& reason) {
  report_.failed_path = (std::filesystem::path(folder_) / name).string();
  report_.failed_reason = reason;
}

void ExtractSink::Bytes(const std::string& name, const std::vector<unsigned char>& bytes) {
  if (Stopped()) return;
  const std::string path = (std::filesystem::path(folder_) / name).string();
  std::string error = image_file_.empty() ? "" : OutputIsInput(path, {image_file_});
  // Hundreds of files, which a new run writes again: flushed by the system, not one by one.
  if (!error.empty() || !ReplaceFile(path, bytes, error, ReplaceSync::Batch)) return Fail(name, error);
  ++report_.written;
  report_.files.push_back(name);
  crcs_[name] = ExtractCrc32(bytes);
  if (control_ != nullptr) control_->written.store(report_.written);
}

void ExtractSink::CopyOf(const std::string& written, const std::string& name) {
  if (Stopped()) return;
  std::vector<unsigned char> bytes;
  std::string error;
  if (!ReadRegularFile((std::filesystem::path(folder_) / written).string(), bytes, error))
    return Fail(name, "cannot read " + written + " to copy it: " + error);
  Bytes(name, bytes);
}

void ExtractSink::WriteManifest() {
  // A run that stopped lists nothing: its files import as they would without a manifest.
  if (crcs_.empty() || Stopped()) return;
  // The files of earlier extractions into the folder stay listed: each still
  // holds what an extraction wrote unless the user changed it since.
  ExtractManifest manifest;
  ReadExtractManifest(folder_, manifest);
  const std::string_view image = CurrentRom().Tail(0);
  manifest.version = mGetVersion();
  manifest.image_crc = CharArray_Get_CRC32(image.data(), static_cast<int>(image.size()));
  for (const auto& [name, file_crc] : crcs_) manifest.files[name] = file_crc;
  const std::string text = ExtractManifestText(manifest);
  const std::string path = (std::filesystem::path(folder_) / kExtractManifestName).string();
  std::string error = image_file_.empty() ? "" : OutputIsInput(path, {image_file_});
  if (error.empty() && ReplaceFile(path, reinterpret_cast<const unsigned char*>(text.data()), text.size(), error,
                                   ReplaceSync::Batch))
    return;
  Fail(kExtractManifestName, error);
}
