#include "rom/globaldata.h"

#include <string>

#include "platform/config_lock.h"
#include "platform/data_paths.h"
#include "rom/image_edits.h"
#include "rom/settings_store.h"
#include "shell/base/functions.h"
#include "platform/allegro_include.h"

globaldata qbr1gbl;

const std::string unidmsg =
    "This ROM cannot be identified as having been an original version of QBR.\n"
    "Currently, only the following versions of Quarbo are supported:\n"
    "\"Quarbo (U) (V1.0) [!].smc\"\n"
    "\n"
    "Do you want to continue loading this ROM\n"
    "with configuration \"QBRv10U.INI\"?\n"
    "\n"
    "[Warning, using an incorrect ROM or INI will cause QBRRE to crash.]";

const char* const kGameConfigPath = "GameConfig/QBR v10U.INI";
const char* const kDemoGameConfigPath = "GameConfig/QBR Demo.INI";

namespace {

constexpr const char* kGameConfigFolder = "GameConfig/";

std::string Hex8(unsigned long value) { return int2hexstr(static_cast<int>(value), 8); }

}  // namespace
const char* const kProgramConfigPath = "Configuration.INI";

const GlobalOffsetKey kGlobalOffsetKeys[15] = {
    {"ThemeFuncPtrTable", &globaldata::ThemeFuncTable, 0x39801E},
    {"ThemePaletteBank", &globaldata::ThemePalBank, 0x390000},
    {"LevelNameBank", &globaldata::LvlNameBank, 0x380000},
    {"LevelNamePtrTable1", &globaldata::LvlNameTable1, 0xA07A},
    {"LevelNamePtrTable2", &globaldata::LvlNameTable2, 0xA1E2},
    {"LevelStackPtrTable", &globaldata::LvlStackTable, 0x18B94},
    {"LevelCamDataBank", &globaldata::LvlCamBank, 0x3C0000},
    {"LevelCamDataPtrTable", &globaldata::LvlCamTable, 0x8000},
    {"LevelOBJMapBank", &globaldata::LvlOBJMapBank, 0x3D0000},
    {"LevelOBJMapPtrTable", &globaldata::LvlOBJMapTable, 0x8000},
    {"LevelBNAMapPtrTable1", &globaldata::LvlBNAMapTable1, 0x38B41D},
    {"LevelBNAMapPtrTable2", &globaldata::LvlBNAMapTable2, 0x38C0E1},
    {"ObjectPaletteBank", &globaldata::OBJPalBank, 0x3C0000},
    {"BananaGraphics", &globaldata::BananaGraphics, 0x39EB65},
    {"BananaPalette", &globaldata::BananaPalette, 0x3C86F2},
};

void ReadGlobalOffsets(globaldata& gbl) {
  ConfigGuard guard;
  for (const GlobalOffsetKey& k : kGlobalOffsetKeys) {
    // get_config_hex hands back an int; the offsets are kept as the unsigned
    // 32-bit pattern the file holds.
    gbl.*k.field = static_cast<unsigned int>(get_config_hex("Global_Offsets", k.key, static_cast<int>(k.fallback)));
  }
}

void SelectGameConfig(globaldata& gbl, const std::string& config) {
  {
    ConfigGuard guard;
    set_config_file(PlatformGameConfigFile(config).c_str());
    // Read again: another window may have written the settings since.
    LoadSettings(SettingsLayer::OverGameConfig);
  }
  ReadGlobalOffsets(gbl);
}

std::string KnownImageConfig(unsigned long crc) {
  if (crc == kQBR1KnownCRC32) return kGameConfigPath;
  std::string name;
  {
    ConfigGuard guard;
    name = get_config_string("EditedImages", Hex8(crc).c_str(), "");
  }
  if (name == Hex8(kQBR1KnownCRC32)) return kGameConfigPath;
  // Only a file of GameConfig/ itself: an entry never leads out of the folder.
  if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") return "";
  return kGameConfigFolder + name;
}

std::size_t QBR1_OpenedHeaderSize(std::size_t file_size, unsigned long whole_crc) {
  // A size alone cannot tell a header from 512 bytes appended to an image; a known checksum can.
  return KnownImageConfig(whole_crc).empty() ? QBR1_CopierHeaderSize(file_size) : 0;
}

void RememberEditedImage(unsigned long crc, const std::string& config) {
  const std::size_t slash = config.rfind('/');
  const std::string name = slash == std::string::npos ? config : config.substr(slash + 1);
  std::string error;
  if (!StoreSettings("EditedImages", {{Hex8(crc), name}}, error)) TellSettingsNotStored(error);
}

bool LoadQBR1(unsigned long crc, globaldata& gbl) {
  const std::string config = KnownImageConfig(crc);
  if (config.empty() && !YesNoBox(unidmsg, "ROM Not Identifiable")) return false;
  SelectGameConfig(gbl, config.empty() ? kGameConfigPath : config);
  return true;
}

void CloseGameConfig() {
  ConfigGuard guard;
  override_config_file(nullptr);
  LoadSettings(SettingsLayer::Alone);
}
