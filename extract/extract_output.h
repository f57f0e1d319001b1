#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "extract/extract.h"
#include "level/png_export.h"
#include "platform/allegro_include.h"

// What one item of an extraction (a level, an archetype, a sprite) makes:
// files and skip lines, recorded on a worker thread and written by the sink
// afterwards, in item order.
class ExtractPiece {
 public:
  // Records one thing that was not written.
  void Skip(const std::string& line) { steps_.push_back({Step::Skip, line, {}, {}}); }
  // Records file `name` holding `bytes`.
  void Bytes(const std::string& name, std::vector<unsigned char> bytes) {
    steps_.push_back({Step::Bytes, name, {}, std::move(bytes)});
  }
  // Records file `name` holding `text`.
  void Text(const std::string& name, const std::string& text) { Bytes(name, {text.begin(), text.end()}); }
  // Encodes `picture` (32-bit) now as PNG file `name`: RGBA when `alpha`, else RGB.
  void Picture(const std::string& name, BITMAP* picture, bool alpha);
  // Encodes a w x h picture now, its rows taken from `rows` as they are encoded, as PNG file `name`.
  void Picture(const std::string& name, int w, int h, const PngRowSource& rows, bool alpha);
  // Records file `name` as a copy of file `written`, written by an earlier item.
  void CopyOf(const std::string& written, const std::string& name) {
    steps_.push_back({Step::Copy, name, written, {}});
  }

 private:
  friend class ExtractSink;
  // Records file `name` holding `png`, or a picture that could not be encoded.
  void Encoded(const std::string& name, bool encoded, std::vector<unsigned char> png);
  struct Step {
    enum Kind { Skip, Bytes, Copy, Unencodable } kind;
    std::string name;  // the file, or the skip line
    std::string from;  // Copy: the file copied
    std::vector<unsigned char> bytes;
  };
  std::vector<Step> steps_;
};

// Where an extraction writes: one folder, a report of what was written and
// skipped, and the stop after the first file the folder refuses (or a cancel).
// Each file is written in one rename (ReplaceFile: a link is written through,
// a failure leaves the file that was there whole); the image's own file is
// never written, under whatever name the folder reaches it.
class ExtractSink {
 public:
  ExtractSink(std::string folder, std::string image_file, ExtractReport& report, ExtractControl* control = nullptr)
      : folder_(std::move(folder)), image_file_(std::move(image_file)), report_(report), control_(control) {}

  // True once a write failed or the run was cancelled; the writers then stop.
  bool Stopped();
  // Runs `make(i, piece)` for every i below `count` on the sink's worker
  // threads and writes the pieces in order of i on the calling thread; stops
  // taking items once the sink stops. `make` must only read shared state.
  void ForEach(std::size_t count, const std::function<void(std::size_t, ExtractPiece&)>& make);

  // Records one thing that was not written.
  void Skip(const std::string& line) { report_.skipped.push_back(line); }
  // Writes `bytes` as file `name` of the folder.
  void Bytes(const std::string& name, const std::vector<unsigned char>& bytes);
  // Writes file `name` as a copy of file `written`, written before by this sink.
  void CopyOf(const std::string& written, const std::string& name);
  // Records the files this sink wrote in the folder's manifest (kExtractManifestName),
  // with the image's CRC-32; the entries of earlier extractions into the folder
  // stay. Nothing when no file was written or the run stopped (a write
  // failed, or it was cancelled).
  void WriteManifest();

 private:
  // Writes what `piece` recorded, in its order.
  void Write(ExtractPiece& piece);
  // Worker threads for `count` items.
  int Workers(std::size_t count) const;
  // Ends the run at file `name`, which could not be written because of `reason`.
  void Fail(const std::string& name, const std::string& reason);

  std::string folder_;
  std::string image_file_;  // "" when the image has no file
  ExtractReport& report_;
  ExtractControl* control_;
  std::map<std::string, std::uint32_t> crcs_;  // CRC-32 of each file written
};

// One line of a report: `format` with up to two numbers.
std::string ExtractLine(const char* format, int n, int m = 0);

// "prefix-0x" + n as `digits` upper-case hexadecimal digits + suffix.
std::string ExtractFileName(const char* prefix, int n, int digits, const char* suffix);

// Appends `w` as a little-endian word.
inline void PutWordLE(std::vector<unsigned char>& out, unsigned w) {
  out.push_back(static_cast<unsigned char>(w & 0xFF));
  out.push_back(static_cast<unsigned char>((w >> 8) & 0xFF));
}
