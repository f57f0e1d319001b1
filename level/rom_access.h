#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Bounds-checked reads of a ROM image. Every read of the level code goes
// through here: a byte outside the image (past its end, or at a negative
// offset) reads as 0, so a damaged table yields meaningless but harmless
// values instead of a read outside the buffer.
class RomView {
 public:
  RomView() = default;
  RomView(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

  // Number of bytes in the image.
  std::size_t Size() const { return size_; }
  // True when offset o lies inside the image.
  bool Contains(long long o) const { return o >= 0 && static_cast<unsigned long long>(o) < size_; }
  // The byte at o (0-255), or 0 outside the image.
  unsigned Byte(long long o) const { return Contains(o) ? data_[o] : 0u; }
  // The little-endian word at o; bytes outside the image count as 0.
  unsigned Word(long long o) const { return Byte(o) | (Byte(o + 1) << 8); }
  // The little-endian 24-bit long pointer at o; bytes outside the image count as 0.
  unsigned long Long(long long o) const {
    return static_cast<unsigned long>(Word(o)) | (static_cast<unsigned long>(Byte(o + 2)) << 16);
  }
  // The bytes from o to the end of the image (empty when o lies outside it).
  std::string_view Tail(long long o) const {
    if (!Contains(o)) return {};
    return {reinterpret_cast<const char*>(data_) + o, size_ - static_cast<std::size_t>(o)};
  }

 private:
  const unsigned char* data_ = nullptr;
  std::size_t size_ = 0;
};

// A view of the loaded image (QBR1, the buffer of channel 0x10). Valid until
// the channel's buffer changes; decoders take one per call. On a thread that
// holds a ThreadRomImage, a view of that image instead.
RomView CurrentRom();

// While it lives, every read of the calling thread (CurrentRom and the QBR1_
// readers) sees `image` instead of the loaded image: a thread that reads a copy
// of the image (a background extraction) is untouched by edits of the live one.
// `image` must outlive it. Scopes nest.
class ThreadRomImage {
 public:
  explicit ThreadRomImage(RomView image);
  ~ThreadRomImage();
  ThreadRomImage(const ThreadRomImage&) = delete;
  ThreadRomImage& operator=(const ThreadRomImage&) = delete;

 private:
  RomView image_;
  const RomView* previous_;
};

// Byte, word and 24-bit long pointer of the loaded image at file offset o
// (0 outside the image).
unsigned QBR1_Byte(long long o);
unsigned QBR1_Word(long long o);
unsigned long QBR1_Long(long long o);

// File offset of a 24-bit console bus address (bank 0xC0 is offset 0).
inline long long QBR1_BusToFile(unsigned long address) { return static_cast<long long>(address & 0xFFFFFF) - 0xC00000; }
