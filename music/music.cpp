#include "music/winamp.h"

#include <string>

#include "shell/base/functions.h"

void SetUpMusicHost(const char* inputPlugin, const char* outputPlugin) {
  SNESAMP = new Winamp;
  const char* failure = nullptr;
  if (!SNESAMP->LoadInputPlugin(inputPlugin, nullptr))
    failure = "Can't load input plugin! Program should exit abruptly.";
  else if (!SNESAMP->LoadOutputPlugin(outputPlugin, nullptr))
    failure = "Can't load output plugin! Program should exit abruptly.";
  else if (!SNESAMP->PreparePlugin("testfile.spc", nullptr))
    failure = "Can't get adequately plugin for this file type! Program should exit abruptly.";
  if (!failure) return;
  ErrorBox(failure, "WinAMP Error");
  delete SNESAMP;
  SNESAMP = nullptr;
}

void play_music(int, int number) {
  if (!SNESAMP) return;
  const std::string path = "Resources/Music/" + int2hexstr(number, 4) + ".SPC";
  if (SNESAMP->Play(path.c_str()) == -1)
    ErrorBox("File not found.\n\"" + path + "\"\nMusic will not play.", "WinAMP Error");
}

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
