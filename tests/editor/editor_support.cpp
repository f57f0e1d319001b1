#include "tests/editor/editor_support.h"

#include "bfa/bfa.h"
#include "platform/config_lock.h"
#include "resources/skin.h"
#include "rom/globaldata.h"
#include "tests/common/headless_allegro.h"

namespace editor_test {

void InitAllegro() { ASSERT_TRUE(StartHeadlessAllegro()); }

void UseConfig(const std::string& text) {
  ConfigGuard guard;
  set_config_data(text.data(), static_cast<int>(text.size()));
  ReadGlobalOffsets(qbr1gbl);
}

void UseImage(const std::vector<unsigned char>& image) { QBR1.assign(image.begin(), image.end()); }

std::vector<unsigned char> BlankImage(std::size_t size) { return std::vector<unsigned char>(size, 0); }

void PutWord(std::vector<unsigned char>& image, std::size_t at, unsigned value) {
  image.at(at) = static_cast<unsigned char>(value & 0xFF);
  image.at(at + 1) = static_cast<unsigned char>(value >> 8);
}

BITMAP* SolidBitmap(int w, int h, int colour) {
  BITMAP* bmp = create_bitmap_ex(32, w, h);
  clear_to_color(bmp, colour);
  return bmp;
}

BuiltinResources::BuiltinResources() { LoadBuiltinResources(); }

BuiltinResources::~BuiltinResources() { DestroyBuiltinResources(); }

InputSnapshot At(int lx, int ly, int left) {
  InputSnapshot in;
  in.lx = lx;
  in.ly = ly;
  in.wx = lx + 4;
  in.wy = ly + 60;
  in.in_view = true;
  in.left = left;
  return in;
}

}  // namespace editor_test
