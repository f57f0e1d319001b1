// Input plug-in for SPC files (sound-processor snapshots of the console):
// decodes them with libgme and hands the samples to the host's output module.

#include <gme/gme.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "plugins/in_snes/spc_player.h"
#include "plugins/plugin_api.h"

namespace {

SpcPlayer& Player() {
  static SpcPlayer player;
  return player;
}

// Volume and pan outlive a tune: the host may set them before Play.
int g_volume = 255;
int g_pan = 0;

extern In_Module module;

void CopyTitle(char* title, const std::string& text) {
  if (title) std::snprintf(title, GETFILEINFO_TITLE_LENGTH, "%s", text.c_str());
}

// Name of file without its folders, the title of a file without a tagged one.
std::string BaseName(const char* file) {
  const char* slash = std::strrchr(file, '/');
  return slash ? slash + 1 : file;
}

void Config(HWND) {}
void About(HWND) {}
void Init() {}
void Quit() { Player().Stop(); }

void GetFileInfo(const char* file, char* title, int* length_in_ms) {
  if (!file || !*file) {
    CopyTitle(title, Player().Title());
    if (length_in_ms) *length_in_ms = Player().LengthMs();
    return;
  }
  std::string text = BaseName(file);
  int length = -1000;
  Music_Emu* emu = nullptr;
  if (IsReadableSongFile(file) && gme_open_file(file, &emu, SpcPlayer::kRate) == nullptr && emu) {
    gme_info_t* info = nullptr;
    if (gme_track_info(emu, &info, 0) == nullptr && info) {
      if (info->song && *info->song) text = info->song;
      if (info->length > 0) length = info->length;
      gme_free_info(info);
    }
    gme_delete(emu);
  }
  CopyTitle(title, text);
  if (length_in_ms) *length_in_ms = length;
}

int InfoBox(const char*, HWND) { return 0; }
int IsOurFile(const char*) { return 0; }
int Play(const char* fn) { return Player().Start(fn, module, g_volume, g_pan); }
void Pause() { Player().Pause(); }
void UnPause() { Player().UnPause(); }
int IsPaused() { return Player().IsPaused() ? 1 : 0; }
void Stop() { Player().Stop(); }
int GetLength() { return Player().LengthMs(); }
int GetOutputTime() { return Player().OutputTime(); }
void SetOutputTime(int time_in_ms) { Player().Seek(time_in_ms); }

void SetVolume(int volume) {
  g_volume = volume;
  if (module.outMod) module.outMod->SetVolume(volume);
}

void SetPan(int pan) {
  g_pan = pan;
  if (module.outMod) module.outMod->SetPan(pan);
}

void EQSet(int, char[10], int) {}

In_Module module = MakeInModule({"QBRRE SPC Decoder 1.0", "SPC\0SPC700 Sound Files (*.SPC)\0", Config, About, Init,
                                 Quit, GetFileInfo, InfoBox, IsOurFile, Play, Pause, UnPause, IsPaused, Stop, GetLength,
                                 GetOutputTime, SetOutputTime, SetVolume, SetPan, EQSet});

}  // namespace

extern "C" PLUGIN_EXPORT In_Module* winampGetInModule2() { return &module; }
