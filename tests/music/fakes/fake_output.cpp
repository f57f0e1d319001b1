// A stand-in output plug-in for the host's tests: logs its calls (FakeCalls)
// and plays nothing. FAKE_NO_EXPORT leaves out the entry point.

#include "plugins/plugin_api.h"
#include "tests/music/fakes/fake_calls.h"

namespace {

int Open(int, int, int, int, int) { return 0; }
void Close() {}
int Write(char*, int) { return 0; }
int CanWrite() { return 0; }
int IsPlaying() { return 6; }
int Pause(int) { return 0; }
void SetVolume(int) {}
void SetPan(int) {}
void Flush(int) {}
int GetOutputTime() { return 0; }
int GetWrittenTime() { return 0; }

[[maybe_unused]] Out_Module module = {
    OUT_VER, "Fake Output", 65538,    nullptr,   nullptr, Config,    About,  Init,  Quit,          Open,
    Close,   Write,         CanWrite, IsPlaying, Pause,   SetVolume, SetPan, Flush, GetOutputTime, GetWrittenTime,
};

}  // namespace

#ifndef FAKE_NO_EXPORT
extern "C" PLUGIN_EXPORT Out_Module* winampGetOutModule() { return &module; }
#endif
