#include "platform/allegro_include.h"

#include "music/speakers.h"

#include "music/winamp.h"
#include "shell/base/functions.h"

CSpeakers::CSpeakers() {
  detect_digi_driver(DIGI_AUTODETECT);
  detect_midi_driver(MIDI_AUTODETECT);
  if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) != 0)
    ErrorBox("Failure Loading Sound Dirvers.", "Sound Error");
  set_volume(255, 255);
  set_volume_per_voice(0);
  SetUpMusicHost();
}

CSpeakers::~CSpeakers() { stop_music(); }
