#include "music/winamp.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/data_paths.h"
#include "platform/dynlib.h"
#include "shell/base/functions.h"

Winamp* SNESAMP = nullptr;

std::atomic<int> Winamp::_bitrate{0};
std::atomic<int> Winamp::_rate{0};
std::atomic<int> Winamp::_stereo{0};
std::atomic<int> Winamp::_synched{0};

namespace {

constexpr const char* kNotReady = kMusicHostNotReady;
constexpr const char* kOutOfBounds = "pluginIndex out of bounds";

// The program shows neither visualisation nor sound effects: the callbacks
// every input module gets accept its data and ask for nothing.
void SAVSAInit(int, int) {}
void SAVSADeInit() {}
void SAAddPCMData(void*, int, int, int) {}
int SAGetMode() { return 0; }
void SAAdd(void*, int, int) {}
void VSAAddPCMData(void*, int, int, int) {}
int VSAGetMode(int*, int*) { return 0; }
void VSAAdd(void*, int) {}
void VSASetInfo(int, int) {}
int dsp_isactive() { return 0; }
int dsp_dosamples(short int*, int, int, int, int) { return 0; }

void FillCallbacks(In_Module* module) {
  module->SAVSAInit = SAVSAInit;
  module->SAVSADeInit = SAVSADeInit;
  module->SAAddPCMData = SAAddPCMData;
  module->SAGetMode = SAGetMode;
  module->SAAdd = SAAdd;
  module->VSAAddPCMData = VSAAddPCMData;
  module->VSAGetMode = VSAGetMode;
  module->VSAAdd = VSAAdd;
  module->VSASetInfo = VSASetInfo;
  module->dsp_isactive = dsp_isactive;
  module->dsp_dosamples = dsp_dosamples;
  module->SetInfo = Winamp::SetInfo;
}

// "dir/file" when a folder is given, else file.
std::string PluginPath(const char* file, const char* dir) {
  return dir ? std::string(dir) + "/" + file : std::string(file);
}

// Loads path as given (relative names from the working directory); a
// relative path that is not there is tried again from the executable's
// folder, where the build tree and `cmake --install` keep the plug-ins, and
// then from the installed library folder, where the Debian package keeps
// them (it has no folders in /usr/bin).
PlatformLibrary OpenPluginLibrary(const std::string& path) {
  const bool relative = path.empty() || path[0] != '/';
  PlatformLibrary lib = PlatformLibraryOpen(path.find('/') == std::string::npos ? "./" + path : path);
  const std::string exeDir = relative && !lib ? PlatformExecutableDirectory() : "";
  if (!exeDir.empty()) lib = PlatformLibraryOpen(exeDir + "/" + path);
  if (!exeDir.empty() && !lib) lib = PlatformLibraryOpen(exeDir + "/" + kInstalledLibraryFolder + "/" + path);
  return lib;
}

HINSTANCE AsInstance(PlatformLibrary lib) { return static_cast<HINSTANCE>(lib); }
PlatformLibrary AsLibrary(HINSTANCE instance) { return static_cast<PlatformLibrary>(instance); }

bool EqualNoCase(const char* a, size_t aLen, const char* b, size_t bLen) {
  if (aLen != bLen) return false;
  for (size_t i = 0; i < aLen; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// Sorted names "in_*.so" in dir, the order the input modules are loaded in.
std::vector<std::string> FindInputPlugins(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > 5 && name.compare(0, 3, "in_") == 0 && name.compare(name.size() - 3, 3, ".so") == 0)
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Quits and unloads every module of one side (each after `before_quit`), then forgets them, the
// one selected and its place.
template <class Module, class BeforeQuit>
void UnloadModules(std::vector<Module*>& modules, Module*& selected, int& count, int& selected_index,
                   BeforeQuit before_quit) {
  for (Module* module : modules) {
    before_quit(module);
    if (module->Quit) module->Quit();
    PlatformLibraryClose(AsLibrary(module->hDllInstance));
  }
  modules.clear();
  modules.shrink_to_fit();
  selected = nullptr;
  count = 0;
  selected_index = 0;
}

}  // namespace

Winamp::~Winamp() {
  FreeOutputPlugin();
  FreeInputPlugin();
}

void Winamp::Error(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(_errorMessage, sizeof _errorMessage, format, args);
  va_end(args);
  WarnBox(_errorMessage, "WinAMP Error!");
}

bool Winamp::Ready() {
  if (_ready) return true;
  Error("%s", kNotReady);
  return false;
}

bool Winamp::InBounds(int index, int count) {
  if (index >= 0 && index < count) return true;
  Error("%s", kOutOfBounds);
  return false;
}

bool Winamp::_checkExtension(const char* file, const In_Module* module) {
  if (!file || !module || !module->FileExtensions) return false;
  const char* dot = std::strrchr(file, '.');
  if (!dot) return false;
  const char* ext = dot + 1;
  const size_t extLen = std::strlen(ext);
  const char* entry = module->FileExtensions;
  for (;;) {
    const char* end = std::strchr(entry, ';');
    const size_t len = end ? static_cast<size_t>(end - entry) : std::strlen(entry);
    if (EqualNoCase(entry, len, ext, extLen)) return true;
    if (!end) return false;
    entry = end + 1;
  }
}

In_Module* Winamp::ModuleFor(const char* file) {
  for (In_Module* module : _in)
    if (_checkExtension(file, module)) return module;
  return nullptr;
}

In_Module* Winamp::ReportedModuleFor(const char* file) {
  if (_numIn == 0) {
    Error("Load input plugin first");
    return nullptr;
  }
  In_Module* module = ModuleFor(file);
  if (!module) Error("Can't find plugin for this file.");
  return module;
}

bool Winamp::AddInputModule(const char* path, bool report) {
  PlatformLibrary lib = OpenPluginLibrary(path);
  if (!lib) {
    if (report) Error("Can't load %s", path);
    return false;
  }
  auto getter = reinterpret_cast<InModuleGetter>(PlatformLibrarySymbol(lib, IN_MODULE_EXPORT));
  In_Module* module = getter ? getter() : nullptr;
  if (!module) {
    if (report) Error("Can't get interface with %s", path);
    PlatformLibraryClose(lib);
    return false;
  }
  module->hDllInstance = AsInstance(lib);
  if (module->Init) module->Init();
  module->hMainWindow = nullptr;
  FillCallbacks(module);
  _in.push_back(module);
  _numIn = static_cast<int>(_in.size());
  return true;
}

int Winamp::LoadInputPlugin(const char* file, const char* dir) {
  FreeInputPlugin();
  if (file) return AddInputModule(PluginPath(file, dir).c_str(), true) ? 1 : 0;

  const std::string folder = dir ? std::string(dir) : PlatformExecutableDirectory();
  const std::vector<std::string> names = FindInputPlugins(folder);
  if (names.empty()) return 0;
  _in.reserve(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    // Only the first plug-in's failure is reported (and ends the search, with
    // nothing loaded yet); a bad later one is skipped.
    if (!AddInputModule((folder + "/" + names[i]).c_str(), i == 0) && i == 0) return 0;
  }
  return _numIn;
}

int Winamp::LoadOutputPlugin(const char* file, const char* dir) {
  if (!file) {
    Error("Need plugin name");
    return 0;
  }
  FreeOutputPlugin();
  const std::string path = PluginPath(file, dir);
  PlatformLibrary lib = OpenPluginLibrary(path);
  if (!lib) {
    Error("Can't load %s", path.c_str());
    return 0;
  }
  auto getter = reinterpret_cast<OutModuleGetter>(PlatformLibrarySymbol(lib, OUT_MODULE_EXPORT));
  Out_Module* module = getter ? getter() : nullptr;
  if (!module) {
    Error("Can't get interface with %s", path.c_str());
    PlatformLibraryClose(lib);
    return 0;
  }
  module->hDllInstance = AsInstance(lib);
  if (module->Init) module->Init();
  module->hMainWindow = nullptr;
  _out.push_back(module);
  _numOut = 1;
  return 1;
}

void Winamp::FreeInputPlugin() {
  UnloadModules(_in, in, _numIn, _selIn, [](In_Module*) {});
  _ready = 0;
}

void Winamp::FreeOutputPlugin() {
  UnloadModules(_out, out, _numOut, _selOut, [this](Out_Module* module) {
    // An input module still playing would go on writing into the unloaded library.
    for (In_Module* input : _in) {
      if (input->outMod != module) continue;
      if (input->Stop) input->Stop();
      input->outMod = nullptr;
    }
  });
  _ready = 0;
}

int Winamp::PreparePlugin(const char* file, HWND) {
  _ready = 0;
  if (!file) {
    Error("Need file name");
    return 0;
  }
  if (_numIn == 0) {
    Error("Load input plugin first");
    return 0;
  }
  if (_numOut == 0) {
    Error("Load output plugin first");
    return 0;
  }
  In_Module* module = ModuleFor(file);
  if (!module) {
    Error("Can't find plugin for this file");
    return 0;
  }
  in = module;
  out = _out[0];
  in->hMainWindow = nullptr;
  out->hMainWindow = nullptr;
  in->outMod = out;
  _selIn = static_cast<int>(std::find(_in.begin(), _in.end(), module) - _in.begin());
  _selOut = 0;
  _ready = 1;
  return 1;
}

int Winamp::Play(const char* file) {
  if (!Ready()) return 1;
  // Only a regular file: opening a FIFO would wait for a writer for ever.
  std::error_code error;
  FILE* f = file && std::filesystem::is_regular_file(file, error) ? std::fopen(file, "rb") : nullptr;
  if (!f) {
    Error("Can't open file.");
    return -1;
  }
  std::fclose(f);
  return in->Play ? in->Play(file) : 1;
}

void Winamp::Stop() {
  if (Ready() && in->Stop) in->Stop();
}

void Winamp::Pause() {
  if (Ready() && in->Pause) in->Pause();
}

void Winamp::UnPause() {
  if (Ready() && in->UnPause) in->UnPause();
}

void Winamp::Seek(int ms) {
  if (Ready() && in->SetOutputTime) in->SetOutputTime(ms);
}

void Winamp::SetVolume(int volume) {
  if (Ready() && in->SetVolume) in->SetVolume(volume);
}

void Winamp::SetPan(int pan) {
  if (Ready() && in->SetPan) in->SetPan(pan);
}

int Winamp::IsPaused() { return Ready() && in->IsPaused ? in->IsPaused() : 0; }

int Winamp::GetLength() { return Ready() && in->GetLength ? in->GetLength() : 0; }

int Winamp::GetPosition() { return Ready() && in->GetOutputTime ? in->GetOutputTime() : 0; }

int Winamp::IsPlaying() { return Ready() && in->outMod && in->outMod->IsPlaying ? in->outMod->IsPlaying() : 0; }

int Winamp::IsSeekable() { return Ready() ? in->is_seekable : 0; }

int Winamp::IsOurFile(const char* file) { return Ready() && in->IsOurFile ? in->IsOurFile(file) : 0; }

void Winamp::InConfig(HWND window) {
  if (Ready() && in->Config) in->Config(window);
}

void Winamp::OutConfig(HWND window) {
  if (Ready() && in->outMod && in->outMod->Config) in->outMod->Config(window);
}

void Winamp::InConfig(HWND window, int index) {
  if (InBounds(index, _numIn) && _in[index]->Config) _in[index]->Config(window);
}

void Winamp::OutConfig(HWND window, int index) {
  if (InBounds(index, _numOut) && _out[index]->Config) _out[index]->Config(window);
}

const char* Winamp::GetInModuleDesc() { return Ready() && in->description ? in->description : ""; }

const char* Winamp::GetOutModuleDesc() {
  return Ready() && in->outMod && in->outMod->description ? in->outMod->description : "";
}

const char* Winamp::GetInModuleDesc(int index) {
  return InBounds(index, _numIn) && _in[index]->description ? _in[index]->description : "";
}

const char* Winamp::GetOutModuleDesc(int index) {
  return InBounds(index, _numOut) && _out[index]->description ? _out[index]->description : "";
}

int Winamp::InfoBox(const char* file, HWND window) {
  if (!file) {
    Error("Need file name");
    return 0;
  }
  In_Module* module = ReportedModuleFor(file);
  return module && module->InfoBox ? module->InfoBox(file, window) : 0;
}

int Winamp::GetFileInfo(const char* file, char* title, int* length) {
  const auto clear = [&] {
    if (title) title[0] = '\0';
    if (length) *length = 0;
  };
  if (!file || !*file) {
    if (_ready && in->GetFileInfo) in->GetFileInfo(file, title, length);
    else clear();
    return 0;
  }
  In_Module* module = ReportedModuleFor(file);
  if (!module || !module->GetFileInfo) {
    clear();
    return 0;
  }
  module->GetFileInfo(file, title, length);
  return 1;
}

void Winamp::SetInfo(int bitrate, int rate, int stereo, int synched) {
  if (bitrate != -1) _bitrate = bitrate;
  if (rate != -1) _rate = rate;
  if (stereo != -1) _stereo = stereo;
  if (synched != -1) _synched = synched;
}
