#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "plugins/plugin_api.h"

// Host of the music plug-ins: loads input modules (decoders) and one output
// module (the sound device) from shared libraries, picks the input module for
// a file by its extension and connects it to the output module. Every
// operation runs on the worker thread; the input module plays on threads of
// its own. Failures are reported in a box titled "WinAMP Error!" and kept in
// GetErrorStr(); the operation then returns its neutral value.
class Winamp {
 public:
  In_Module* in = nullptr;      // input module selected by PreparePlugin
  Out_Module* out = nullptr;    // output module selected by PreparePlugin
  std::vector<In_Module*> _in;  // all loaded input modules
  int _numIn = 0;
  int _selIn = 0;
  std::vector<Out_Module*> _out;  // all loaded output modules (at most one)
  int _numOut = 0;
  int _selOut = 0;
  int _ready = 0;  // 1 after a successful PreparePlugin
  char _errorMessage[1024] = {};

  // Last values the input module reported through SetInfo (it may do so from its own threads).
  static std::atomic<int> _bitrate, _rate, _stereo, _synched;

  Winamp() = default;
  Winamp(const Winamp&) = delete;
  Winamp& operator=(const Winamp&) = delete;
  // Frees the output modules, then the input modules.
  ~Winamp();

  // Loads the input plug-in file (in dir when given), or without a file every
  // "in_*.so" in dir (default: the executable's folder). Returns the number
  // of modules loaded, 0 on failure.
  int LoadInputPlugin(const char* file, const char* dir);
  // Loads the output plug-in file (in dir when given); 1 or 0.
  int LoadOutputPlugin(const char* file, const char* dir);
  // Quits and unloads every input module; clears count, selection and readiness.
  void FreeInputPlugin();
  // Stops any input module playing into them, quits and unloads the output modules.
  void FreeOutputPlugin();
  // Selects the first input module that takes file's extension and connects it
  // to the output module; 1 or 0. window is not passed on.
  int PreparePlugin(const char* file, HWND window);

  // 0 when playing, -1 when the file is no regular file that can be opened,
  // 1 before PreparePlugin, else the input module's failure code.
  int Play(const char* file);
  void Stop();
  void Pause();
  void UnPause();
  void Seek(int ms);
  void SetVolume(int volume);
  void SetPan(int pan);
  int IsPaused();
  int GetLength();
  int GetPosition();
  int IsPlaying();
  int IsSeekable();
  int IsOurFile(const char* file);
  void InConfig(HWND window);
  void OutConfig(HWND window);
  void InConfig(HWND window, int index);
  void OutConfig(HWND window, int index);
  const char* GetInModuleDesc();
  const char* GetOutModuleDesc();
  const char* GetInModuleDesc(int index);
  const char* GetOutModuleDesc(int index);
  // The InfoBox of the first input module that takes file's extension.
  int InfoBox(const char* file, HWND window);
  // Title and length of file (of the playing one when null or ""); 1 when a
  // module answered for a named file, else 0 with title and length cleared.
  int GetFileInfo(const char* file, char* title, int* length);
  // Text of the last error.
  const char* GetErrorStr() const { return _errorMessage; }
  // Stores each argument that is not -1.
  static void SetInfo(int bitrate, int rate, int stereo, int synched);

  // True when the extension of file (the text after its last ".") is one whole
  // ";"-separated entry of the module's extension list, letter case ignored.
  static bool _checkExtension(const char* file, const In_Module* module);

 private:
  // Keeps the message and shows it.
  void Error(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // False, with the not-ready report, before a successful PreparePlugin.
  bool Ready();
  // False, with the out-of-bounds report, unless 0 <= index < count.
  bool InBounds(int index, int count);
  // Loads one input library from path and sets its module up in _in; with
  // report false a failure is silent.
  bool AddInputModule(const char* path, bool report);
  // First loaded input module that takes file's extension, or null.
  In_Module* ModuleFor(const char* file);
  // ModuleFor for the file queries: reports "Load input plugin first" without input modules and
  // "Can't find plugin for this file." when none takes file, then returns null.
  In_Module* ReportedModuleFor(const char* file);
};

// The host's report of an operation before a successful PreparePlugin.
inline constexpr const char* kMusicHostNotReady = "Plugins not ready. Call PreparePlugins first!";

// The one music host; null when its set-up failed.
extern Winamp* SNESAMP;

// Plug-ins the start-up loads, relative to the working directory (or else to
// the executable's folder).
inline constexpr const char* kInputPluginPath = "PlugIns/in_snes.so";
inline constexpr const char* kOutputPluginPath = "PlugIns/out_wave.so";

// Creates SNESAMP, loads the two plug-ins and prepares them for SPC files; on
// any failure shows why, destroys the host and leaves SNESAMP null.
void SetUpMusicHost(const char* inputPlugin = kInputPluginPath, const char* outputPlugin = kOutputPluginPath);

// Music functions; each does nothing without a host.

// Plays "Resources/Music/" + number as four upper-case hex digits + ".SPC";
// the first argument is not used.
void play_music(int, int number);
// Plays the tune at `path`; a file that cannot be opened gets the host's report
// and then the box MusicNotFoundText(path) titled "WinAMP Error".
void play_music_file(const std::string& path);
// The text of play_music's box for a tune that is not there.
std::string MusicNotFoundText(const std::string& path);
// Why SetUpMusicHost left SNESAMP null (the text of its box); the host's
// not-ready report when it has not failed.
std::string MusicHostFailure();
void stop_music();
void pause_music();
void unpause_music();
// Sets the volume to volume & 0xFF.
void set_music_vol(int volume);
