// Writing the settings file as the program does when one setting changes (an entry of a saved image,
// the level view's position): the lock taken, the file read again, the change made in its text, the
// text written to a temporary file, flushed to disk and renamed over the file. The file is one the
// program grows in use: the seeded view keys of every level, fifty saved images, the recent list.
#include "rom/settings_store.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/allegro_include.h"

namespace fs = std::filesystem;

namespace {

// A portable folder of its own (GameConfig/ beside Configuration.INI) as the working directory.
class SettingsFolder {
 public:
  SettingsFolder() {
    std::string templ = (fs::temp_directory_path() / "qbrre-settings-bench-XXXXXX").string();
    if (mkdtemp(templ.data()) == nullptr) std::abort();
    dir_ = templ;
    fs::create_directories(dir_ / "GameConfig");
    previous_ = fs::current_path();
    fs::current_path(dir_);
    std::string text = "; my settings\r\n[Engine]\r\nScale = 2\r\n\r\n[LevelDisplay]\r\nEnable = Yes\r\n";
    char line[64];
    for (int level = 0; level < 256; ++level) {
      std::snprintf(line, sizeof line, "%02X = %08X\r\n", level, level * 0x00200020);
      text += line;
    }
    text += "\r\n[EditedImages]\r\n";
    for (int image = 0; image < 50; ++image) {
      std::snprintf(line, sizeof line, "%08X = QBR Demo.INI\r\n", 0x1000000 * image + 0x12345);
      text += line;
    }
    text += "\r\n[Recent]\r\n";
    for (int i = 1; i <= 8; ++i) text += "Image" + std::to_string(i) + " = /home/user/hacks/game " + std::to_string(i) + ".smc\r\n";
    std::ofstream(dir_ / "Configuration.INI", std::ios::binary) << text;
  }
  ~SettingsFolder() {
    fs::current_path(previous_);
    fs::remove_all(dir_);
  }

 private:
  fs::path dir_, previous_;
};

void BM_StoreOneSetting(benchmark::State& state) {
  if (!system_driver && install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
    state.SkipWithError("Allegro did not start");
    return;
  }
  SettingsFolder folder;
  UseSettingsFileWrites(true);
  LoadSettings(SettingsLayer::Alone);
  unsigned position = 0;
  for (auto _ : state) {
    char value[16];
    std::snprintf(value, sizeof value, "%08X", ++position);
    std::string error;
    if (!StoreSettings("LevelDisplay", {{"16", value}}, error)) state.SkipWithError(error.c_str());
  }
  UseSettingsFileWrites(false);
}
BENCHMARK(BM_StoreOneSetting)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
