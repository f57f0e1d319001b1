#include "music/winamp.h"

#include <string>

#include "shell/base/functions.h"

namespace {
// The text of SetUpMusicHost's failure box, for whoever asks for music later.
std::string hostFailure;
}  // namespace

void SetUpMusicHost(const char* inputPlugin, const char* outputPlugin) {
  SNESAMP = new Winamp;
  hostFailure.clear();
  const char* failure = nullptr;
  if (!SNESAMP->LoadInputPlugin(inputPlugin, nullptr))
    failure = "Can't load input plugin! Program should exit abruptly.";
  else if (!SNESAMP->LoadOutputPlugin(outputPlugin, nullptr))
    failure = "Can't load output plugin! Program should exit abruptly.";
  else if (!SNESAMP->PreparePlugin("testfile.spc", nullptr))
    failure = "Can't get adequately plugin for this file type! Program should exit abruptly.";
  if (!failure) return;
  hostFailure = failure;
  ErrorBox(failure, "WinAMP Error");
  delete SNESAMP;
  SNESAMP = nullptr;
}

void play_music(int, int number) { play_music_file("Resources/Music/" + int2hexstr(number, 4) + ".SPC"); }

void play_music_file(const std::string& path) {
  if (!SNESAMP) return;
  if (SNESAMP->Play(path.c_str()) == -1) ErrorBox(MusicNotFoundText(path), "WinAMP Error");
}

std::string MusicNotFoundText(const std::string& path) {
  return "File not found.\n\"" + path + "\"\nMusic will not play.";
}

std::string MusicHostFailure() { return hostFailure.empty() ? kMusicHostNotReady : hostFailure; }

void stop_music() {
  if (SNESAMP) SNESAMP->Stop();
}

void pause_music() {
  if (SNESAMP) SNESAMP->Pause();
}

void unpause_music() {
  if (SNESAMP) SNESAMP->UnPause();
}

void set_music_vol(int volume) {
  if (SNESAMP) SNESAMP->SetVolume(volume & 0xFF);
}
