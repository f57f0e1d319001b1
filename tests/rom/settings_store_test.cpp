#include "rom/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/allegro_include.h"
#include "platform/config_lock.h"
#include "tests/rom/rom_support.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const char* section, const char* key) {
  ConfigGuard guard;
  return get_config_string(section, key, "(none)");
}

// Changes in several sections reach the settings file in one replacement (a second name of the old
// file keeps the old text) and Allegro's configuration in memory, also while a game configuration
// lies under it, which is not written. (Sections end in a blank line, as Allegro writes them: its
// own insertion of a new key runs on to the next blank line.)
TEST(SettingsStore, ChangesInSeveralSectionsAreOneReplacementAndReachMemory) {
  EventLog log;
  OpenSandbox sandbox(log);
  const std::string start = "[View]\nGrid = Yes\n\n[Music]\nFolder = /m\n\n[LevelDisplay]\n16 = 00000000\n";
  WriteText("GameConfig/game.INI", "[Engine]\nScale = 4\n");
  for (bool laid_over : {false, true}) {
    {
      // Allegro writes back the configuration it leaves (in place), so it leaves it first.
      ConfigGuard guard;
      override_config_file(nullptr);
      set_config_file("GameConfig/game.INI");
    }
    WriteText("Configuration.INI", start);
    fs::remove("old.INI");
    fs::create_hard_link("Configuration.INI", "old.INI");
    {
      ConfigGuard guard;
      if (laid_over) override_config_file("Configuration.INI");
      else set_config_file("Configuration.INI");
    }
    std::string error;
    ASSERT_TRUE(StoreSettings(
        {{"View", {{"GridColour", "12EF34"}}}, {"Engine", {{"Scale", "2"}}}, {"Music", {{"Folder", std::nullopt}}}},
        error))
        << error;
    EXPECT_EQ(Read("View", "GridColour"), "12EF34") << laid_over;
    EXPECT_EQ(Read("Engine", "Scale"), "2") << laid_over;
    EXPECT_EQ(Read("Music", "Folder"), "(none)") << laid_over;
    EXPECT_EQ(
        ReadText("Configuration.INI"),
        "[View]\nGrid = Yes\nGridColour = 12EF34\n\n[Music]\n\n[LevelDisplay]\n16 = 00000000\n\n[Engine]\nScale = 2\n")
        << laid_over;
    EXPECT_EQ(ReadText("old.INI"), start) << laid_over;
    EXPECT_EQ(ReadText("GameConfig/game.INI"), "[Engine]\nScale = 4\n") << laid_over;
  }
  ConfigGuard guard;
  override_config_file(nullptr);
}

}  // namespace
