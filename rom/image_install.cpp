#include "rom/image_install.h"

#include <string>
#include <utility>
#include <vector>

#include "platform/config_lock.h"
#include "rom/image_edits.h"
#include "rom/settings_store.h"
#include "shell/base/functions.h"

const QBR1Correction QBR1Corrections[17] = {
    {0x3C95F2, 0x40}, {0x3C983A, 0x80}, {0x3C983B, 0xAB}, {0x3C9A17, 0x48}, {0x3C9C62, 0x00}, {0x3C9C63, 0x39},
    {0x3C9DE8, 0x80}, {0x3C9EF6, 0x80}, {0x3CA00C, 0x00}, {0x3CA00D, 0x5A}, {0x3CA10A, 0x00}, {0x3CA10B, 0x90},
    {0x3CA208, 0x00}, {0x3CA209, 0x96}, {0x3CA61A, 0x00}, {0x3CA7E3, 0x04}, {0x3CA7E5, 0x31},
};

namespace {

constexpr int kImageChannel = 0x10;

}  // namespace

std::size_t ApplyQBR1Corrections(unsigned char* data, std::size_t size) {
  std::size_t stored = 0;
  for (const QBR1Correction& c : QBR1Corrections) {
    // An image accepted in spite of the identification warning may be shorter
    // than the bank these bytes live in; never write past its end.
    if (data == nullptr || c.offset >= size) continue;
    data[c.offset] = c.value;
    ++stored;
  }
  return stored;
}

std::size_t ApplyQBR1Corrections(std::vector<unsigned char>& image) {
  return ApplyQBR1Corrections(image.data(), image.size());
}

std::size_t ApplyQBR1Corrections(std::vector<char>& image) {
  return ApplyQBR1Corrections(reinterpret_cast<unsigned char*>(image.data()), image.size());
}

void SeedLevelDisplay() {
  {
    ConfigGuard guard;
    if (std::string(get_config_string("LevelDisplay", "Enable", "?")) != "?") return;
  }
  std::vector<SettingChange> seeds{{"Enable", "Yes"}};
  for (int level = 0; level < 256; ++level) seeds.push_back({int2hexstr(level, 2), "00000000"});
  std::string error;
  if (!StoreSettings("LevelDisplay", seeds, error)) TellSettingsNotStored(error);
}

bool InstallQBR1Image(const char* name, BFA_LoadedFile file, std::size_t header) {
  // The channel holds the image without its copier header; the edits keep the file as opened.
  if (header > file.bytes.size()) header = 0;
  std::vector<unsigned char> opened(file.bytes.begin(), file.bytes.end());
  file.bytes.erase(file.bytes.begin(), file.bytes.begin() + static_cast<std::ptrdiff_t>(header));
  ApplyQBR1Corrections(file.bytes);
  BFA_Activate(kImageChannel, 1);
  if (!BFA_LoadFrom(name, std::move(file))) {
    ErrorBox("An error occured when trying to open the ROM image.", "Unable to Open Game");
    BFA_Disable(kImageChannel);
    return false;
  }
  QBR1_ResetEdits(std::move(opened), header);
  return true;
}

namespace {

ImageOpenedHook image_opened_hook = nullptr;

}  // namespace

void SetImageOpenedHook(ImageOpenedHook hook) { image_opened_hook = hook; }

void FinishOpen() {
  if (image_opened_hook != nullptr) image_opened_hook();
  SeedLevelDisplay();
  InfoBox(
      "This is an alpha version of QBRRE: the tile map, objects and bananas can be edited and saved, and\n"
      "menu items that do nothing yet are shown unavailable.\n\n"
      "You can use PAGE UP and PAGE DOWN to switch between levels.\n"
      "Arrow Keys Navigate through levels, or you can use the scrollbars.",
      " IMPORTANT - READ THIS");
}
