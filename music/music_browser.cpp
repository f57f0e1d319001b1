#include "music/music_browser.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "music/winamp.h"
#include "platform/config_lock.h"
#include "platform/data_paths.h"
#include "platform/dialogs.h"
#include "shell/base/functions.h"
#include "platform/allegro_include.h"

namespace {

constexpr const char* kStop = "Stop";

bool IsSpcName(const std::string& name) {
  if (name.size() < 5) return false;
  std::string ext = name.substr(name.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".spc";
}

std::string LengthText(int ms) {
  if (ms <= 0) return "";
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d", ms / 60000, ms / 1000 % 60);
  return text;
}

}  // namespace

std::string MusicFolder() {
  std::vector<std::string> candidates;
  {
    ConfigGuard guard;
    const std::string configured = get_config_string("Music", "Folder", "");
    if (!configured.empty()) candidates.push_back(configured.back() == '/' ? configured : configured + "/");
  }
  candidates.push_back("Resources/Music/");
  if (const std::string data = PlatformUserFolder("XDG_DATA_HOME", ".local/share"); !data.empty())
    candidates.push_back(data + "/Music/");
  for (const std::string& folder : candidates) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) return folder;
  }
  return candidates.front();
}

std::vector<MusicFile> ListMusicFiles() {
  std::vector<MusicFile> files;
  if (SNESAMP == nullptr) return files;
  const std::string folder = MusicFolder();
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code kind;
    const std::string name = it->path().filename().string();
    if (IsSpcName(name) && it->is_regular_file(kind)) files.push_back({name, name, 0});
  }
  std::sort(files.begin(), files.end(), [](const MusicFile& a, const MusicFile& b) { return a.name < b.name; });
  for (MusicFile& file : files) {
    // Room for any title a plug-in writes (the plug-in interface's limit).
    char title[2048] = {};
    int length = 0;
    const std::string path = folder + file.name;
    if (SNESAMP->GetFileInfo(path.c_str(), title, &length) && title[0] != '\0') file.title = title;
    file.length_ms = length;
  }
  return files;
}

void BrowseMusic() {
  if (SNESAMP == nullptr) {
    ErrorBox(MusicHostFailure(), "WinAMP Error");
    return;
  }
  const std::string folder = MusicFolder();
  const std::vector<MusicFile> files = ListMusicFiles();
  if (files.empty()) {
    ErrorBox(MusicNotFoundText(folder + "*.SPC"), "WinAMP Error");
    return;
  }
  std::vector<std::vector<std::string>> rows = {{kStop, "(stop the music)", ""}};
  for (const MusicFile& file : files) rows.push_back({file.name, file.title, LengthText(file.length_ms)});
  const std::string answer = PlatformChooseFromList(
      "Sounds/Music", "Choose a tune to play while you work, or Stop:", {"File", "Title", "Length"}, rows);
  if (answer.empty()) return;
  if (answer == kStop) {
    stop_music();
    return;
  }
  // Only a listed name is played: a typed answer must not reach files outside the folder.
  const bool listed =
      std::any_of(files.begin(), files.end(), [&](const MusicFile& file) { return file.name == answer; });
  if (listed) {
    play_music_file(folder + answer);
  } else {
    ErrorBox(MusicNotFoundText(folder + answer), "WinAMP Error");
  }
}
