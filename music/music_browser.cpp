#include "music/music_browser.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "music/winamp.h"
#include "platform/dialogs.h"
#include "shell/base/functions.h"

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

std::vector<MusicFile> ListMusicFiles() {
  std::vector<MusicFile> files;
  if (SNESAMP == nullptr) return files;
  std::error_code error;
  for (std::filesystem::directory_iterator it(kMusicFolder, error), end; !error && it != end; it.increment(error)) {
    std::error_code kind;
    const std::string name = it->path().filename().string();
    if (IsSpcName(name) && it->is_regular_file(kind)) files.push_back({name, name, 0});
  }
  std::sort(files.begin(), files.end(), [](const MusicFile& a, const MusicFile& b) { return a.name < b.name; });
  for (MusicFile& file : files) {
    // Room for any title a plug-in writes (the plug-in interface's limit).
    char title[2048] = {};
    int length = 0;
    const std::string path = kMusicFolder + file.name;
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
  const std::vector<MusicFile> files = ListMusicFiles();
  if (files.empty()) {
    ErrorBox(MusicNotFoundText(kMusicFolder + std::string("*.SPC")), "WinAMP Error");
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
    play_music_file(kMusicFolder + answer);
  } else {
    ErrorBox(MusicNotFoundText(kMusicFolder + answer), "WinAMP Error");
  }
}
