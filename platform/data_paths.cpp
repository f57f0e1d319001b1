#include "platform/data_paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/dynlib.h"

namespace fs = std::filesystem;

namespace {

// An environment variable that names an absolute path, or "".
std::string AbsoluteFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] == '/' ? value : "";
}

}  // namespace

bool PlatformPortableFolder() {
  std::error_code error;
  return fs::is_directory("GameConfig", error);
}

std::string PlatformGameConfigFile(const std::string& relative) {
  if (PlatformPortableFolder()) return relative;
  const std::string exe = PlatformExecutableDirectory();
  if (exe.empty()) return relative;
  const fs::path installed = fs::path(exe) / kInstalledDataFolder / relative;
  std::error_code error;
  return fs::is_regular_file(installed, error) ? installed.lexically_normal().string() : relative;
}

std::string PlatformUserFolder(const char* variable, const char* below_home) {
  if (const std::string xdg = AbsoluteFromEnvironment(variable); !xdg.empty())
    return (fs::path(xdg) / "qbrre").string();
  if (const std::string home = AbsoluteFromEnvironment("HOME"); !home.empty())
    return (fs::path(home) / below_home / "qbrre").string();
  return "";
}

std::string PlatformSettingsFile(const std::string& name, bool make_folder) {
  if (PlatformPortableFolder()) return name;
  const std::string folder = PlatformUserFolder("XDG_CONFIG_HOME", ".config");
  if (folder.empty()) return name;
  if (make_folder) {
    std::error_code error;
    fs::create_directories(folder, error);
  }
  return (fs::path(folder) / name).string();
}
