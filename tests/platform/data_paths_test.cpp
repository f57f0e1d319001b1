#include "platform/data_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/common/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// Runs each test in an empty private folder with HOME and XDG_CONFIG_HOME of its own choosing, and puts
// the working directory and both variables back afterwards.
class DataPathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    previous_ = fs::current_path();
    fs::current_path(folder_.path());
    for (const char* name : {"HOME", "XDG_CONFIG_HOME"}) {
      const char* value = std::getenv(name);
      saved_.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
    }
    std::error_code ignored;
    fs::current_path(previous_, ignored);
  }
  static void Set(const char* name, const char* value) {
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }
  TempFolder folder_;
  fs::path previous_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(DataPathsTest, APortableFolderKeepsBothFilesInTheWorkingDirectory) {
  fs::create_directory("GameConfig");
  Set("XDG_CONFIG_HOME", (folder_ / "xdg").c_str());
  EXPECT_TRUE(PlatformPortableFolder());
  EXPECT_EQ(PlatformGameConfigFile("GameConfig/QBR v10U.INI"), "GameConfig/QBR v10U.INI");
  EXPECT_EQ(PlatformSettingsFile("Configuration.INI", true), "Configuration.INI");
  EXPECT_FALSE(fs::exists(folder_ / "xdg"));
}

TEST_F(DataPathsTest, ElsewhereTheSettingsGoToTheUsersConfigurationFolder) {
  const std::string home = (folder_ / "home").string(), xdg = (folder_ / "xdg").string();
  struct Case {
    const char* xdg;
    const char* home;
    std::string want;
  };
  const Case cases[] = {
      {xdg.c_str(), home.c_str(), xdg + "/qbrre/Configuration.INI"},
      {nullptr, home.c_str(), home + "/.config/qbrre/Configuration.INI"},
      {"", home.c_str(), home + "/.config/qbrre/Configuration.INI"},              // empty: unset
      {"relative/xdg", home.c_str(), home + "/.config/qbrre/Configuration.INI"},  // not absolute: ignored
      {nullptr, nullptr, "Configuration.INI"},                                    // nowhere else to go
  };
  EXPECT_FALSE(PlatformPortableFolder());
  for (const Case& c : cases) {
    Set("XDG_CONFIG_HOME", c.xdg);
    Set("HOME", c.home);
    EXPECT_EQ(PlatformSettingsFile("Configuration.INI", false), c.want) << (c.xdg ? c.xdg : "-");
  }
  // Only a program that is going to write its settings makes their folder.
  EXPECT_FALSE(fs::exists(xdg)) << "made without being asked";
  Set("XDG_CONFIG_HOME", xdg.c_str());
  PlatformSettingsFile("Configuration.INI", true);
  EXPECT_TRUE(fs::is_directory(xdg + "/qbrre"));
}

TEST_F(DataPathsTest, WithoutAPortableFolderOrInstalledDataTheGameConfigurationNameStays) {
  // The test program has no share/qbrre/ beside its folder.
  EXPECT_EQ(PlatformGameConfigFile("GameConfig/QBR v10U.INI"), "GameConfig/QBR v10U.INI");
}

}  // namespace
