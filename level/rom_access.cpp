#include "level/rom_access.h"

#include "bfa/bfa.h"

namespace {

// The image the calling thread reads instead of the loaded one; null for the loaded one.
thread_local const RomView* thread_image = nullptr;

}  // namespace

ThreadRomImage::ThreadRomImage(RomView image) : image_(image), previous_(thread_image) { thread_image = &image_; }

ThreadRomImage::~ThreadRomImage() { thread_image = previous_; }

RomView CurrentRom() {
  if (thread_image != nullptr) return *thread_image;
  const auto& image = QBR1;
  return RomView(reinterpret_cast<const unsigned char*>(image.data()), image.size());
}

unsigned QBR1_Byte(long long o) { return CurrentRom().Byte(o); }

unsigned QBR1_Word(long long o) { return CurrentRom().Word(o); }

unsigned long QBR1_Long(long long o) { return CurrentRom().Long(o); }
