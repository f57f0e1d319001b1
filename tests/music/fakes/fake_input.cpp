// A stand-in input plug-in for the host's tests: records every call in a log
// the test reads through the exported FakeCalls, and answers with fixed values.
// It takes "SPC;SP7" files, or "MOD" files with FAKE_MOD; FAKE_NO_EXPORT leaves
// out the entry point.

#include <cstdio>
#include <cstring>
#include <string>

#include "plugins/plugin_api.h"
#include "tests/music/fakes/fake_calls.h"

namespace {

#ifdef FAKE_MOD
#define FAKE_NAME "MOD"
#define FAKE_EXTENSIONS "MOD\0Fake files\0"
#else
#define FAKE_NAME "SP7"
#define FAKE_EXTENSIONS "SPC;SP7\0Fake files\0"
#endif

void GetFileInfo(const char* file, char* title, int* length) {
  Log(std::string("GetFileInfo(") + (file ? file : "null") + ")");
  if (title) std::snprintf(title, GETFILEINFO_TITLE_LENGTH, "fake title");
  if (length) *length = 1234;
}
int InfoBox(const char* file, HWND) {
  Log(std::string("InfoBox(") + file + ")");
  return 5;
}
int IsOurFile(const char* file) {
  Log(std::string("IsOurFile(") + file + ")");
  return 7;
}
int Play(const char* file) {
  Log(std::string("Play(") + file + ")");
  FILE* f = std::fopen(file, "rb");
  if (!f) return -1;
  std::fclose(f);
  return 0;
}
void Pause() { Log("Pause"); }
void UnPause() { Log("UnPause"); }
int IsPaused() { return 3; }
void Stop() { Log("Stop"); }
int GetLength() { return 4321; }
int GetOutputTime() { return 99; }
void SetOutputTime(int ms) { Log("SetOutputTime(" + std::to_string(ms) + ")"); }
void SetVolume(int volume) { Log("SetVolume(" + std::to_string(volume) + ")"); }
void SetPan(int pan) { Log("SetPan(" + std::to_string(pan) + ")"); }

[[maybe_unused]] In_Module module =
    MakeInModule({"Fake Input " FAKE_NAME, FAKE_EXTENSIONS, Config, About, Init, Quit, GetFileInfo, InfoBox, IsOurFile,
                  Play, Pause, UnPause, IsPaused, Stop, GetLength, GetOutputTime, SetOutputTime, SetVolume, SetPan,
                  nullptr});

}  // namespace

#ifndef FAKE_NO_EXPORT
extern "C" PLUGIN_EXPORT In_Module* winampGetInModule2() { return &module; }
#endif
