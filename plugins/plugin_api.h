#pragma once

// The two records a music host and its plug-ins exchange: an input module
// decodes a file and hands the samples to an output module, which plays them.
// Both sides are plain C records of function pointers so that host and
// plug-ins may be built apart; the layout is fixed and shared by both.

#ifdef __cplusplus
extern "C" {
#endif

typedef struct PluginWindow_* HWND;         // owner window of a plug-in's dialogs (we pass none)
typedef struct PluginInstance_* HINSTANCE;  // the loaded library of a module, set by the host

#define IN_VER 0x100
#define OUT_VER 0x10

// Size of the title buffer the caller of GetFileInfo provides.
#define GETFILEINFO_TITLE_LENGTH 2048

typedef struct Out_Module {
  int version;              // OUT_VER
  const char* description;  // name and version of the module
  int id;                   // module id
  HWND hMainWindow;         // set by the host
  HINSTANCE hDllInstance;   // set by the host
  void (*Config)(HWND hwndParent);
  void (*About)(HWND hwndParent);
  void (*Init)(void);  // once after loading
  void (*Quit)(void);  // once before unloading
  // Opens the device; returns the latency in ms (>= 0), or < 0 when it cannot play.
  int (*Open)(int samplerate, int numchannels, int bitspersamp, int bufferlenms, int prebufferms);
  void (*Close)(void);
  int (*Write)(char* buf, int len);  // queues len bytes; 0 on success
  int (*CanWrite)(void);             // bytes that may be written now without blocking
  int (*IsPlaying)(void);            // non-zero while queued samples remain
  int (*Pause)(int pause);           // returns the previous pause state
  void (*SetVolume)(int volume);     // 0-255; -666 keeps the current one
  void (*SetPan)(int pan);           // -128 (left) to 128 (right)
  void (*Flush)(int t);              // drops everything queued; the clock restarts at t ms
  int (*GetOutputTime)(void);        // ms actually played
  int (*GetWrittenTime)(void);       // ms handed to Write
} Out_Module;

typedef struct In_Module {
  int version;              // IN_VER
  const char* description;  // name and version of the module
  HWND hMainWindow;         // set by the host
  HINSTANCE hDllInstance;   // set by the host
  // "ext;ext" and description pairs, each NUL-terminated, e.g. "SPC\0SPC files\0".
  const char* FileExtensions;
  int is_seekable;
  int UsesOutputPlug;
  void (*Config)(HWND hwndParent);
  void (*About)(HWND hwndParent);
  void (*Init)(void);
  void (*Quit)(void);
  // Title (GETFILEINFO_TITLE_LENGTH bytes) and length of file, or of the current one when null or "".
  void (*GetFileInfo)(const char* file, char* title, int* length_in_ms);
  int (*InfoBox)(const char* file, HWND hwndParent);
  int (*IsOurFile)(const char* fn);  // non-zero to claim a file its extension does not show
  int (*Play)(const char* fn);       // 0 playing, -1 file not found, other values other failures
  void (*Pause)(void);
  void (*UnPause)(void);
  int (*IsPaused)(void);
  void (*Stop)(void);
  int (*GetLength)(void);      // ms, or -1000 when unknown
  int (*GetOutputTime)(void);  // ms
  void (*SetOutputTime)(int time_in_ms);
  void (*SetVolume)(int volume);
  void (*SetPan)(int pan);

  // Filled in by the host; the module may call them from its own threads.
  void (*SAVSAInit)(int maxlatency_in_ms, int srate);
  void (*SAVSADeInit)(void);
  void (*SAAddPCMData)(void* PCMData, int nch, int bps, int timestamp);
  int (*SAGetMode)(void);
  void (*SAAdd)(void* data, int timestamp, int csa);
  void (*VSAAddPCMData)(void* PCMData, int nch, int bps, int timestamp);
  int (*VSAGetMode)(int* specNch, int* waveNch);
  void (*VSAAdd)(void* data, int timestamp);
  void (*VSASetInfo)(int srate, int nch);
  int (*dsp_isactive)(void);
  int (*dsp_dosamples)(short int* samples, int numsamples, int bps, int nch, int srate);

  void (*EQSet)(int on, char data[10], int preamp);
  void (*SetInfo)(int bitrate, int srate, int stereo, int synched);  // set by the host
  Out_Module* outMod;                                                // set by the host
} In_Module;

// The exports a plug-in library offers; the host finds them by these names.
typedef In_Module* (*InModuleGetter)(void);
typedef Out_Module* (*OutModuleGetter)(void);
#define IN_MODULE_EXPORT "winampGetInModule2"
#define OUT_MODULE_EXPORT "winampGetOutModule"

// Marks a plug-in's entry point as exported although the build hides every other symbol.
#define PLUGIN_EXPORT __attribute__((visibility("default")))

#ifdef __cplusplus
}

// The entry points and description an input plug-in gives its record (MakeInModule).
struct InModuleEntries {
  const char* description;
  const char* extensions;  // as In_Module::FileExtensions
  void (*Config)(HWND);
  void (*About)(HWND);
  void (*Init)(void);
  void (*Quit)(void);
  void (*GetFileInfo)(const char*, char*, int*);
  int (*InfoBox)(const char*, HWND);
  int (*IsOurFile)(const char*);
  int (*Play)(const char*);
  void (*Pause)(void);
  void (*UnPause)(void);
  int (*IsPaused)(void);
  void (*Stop)(void);
  int (*GetLength)(void);
  int (*GetOutputTime)(void);
  void (*SetOutputTime)(int);
  void (*SetVolume)(int);
  void (*SetPan)(int);
  void (*EQSet)(int, char[10], int);  // may be null
};

// The record of a seekable input plug-in that plays through the host's output module; every field
// the host fills in (window, library, callbacks, output module) starts null.
constexpr In_Module MakeInModule(const InModuleEntries& e) {
  In_Module m{};
  m.version = IN_VER;
  m.description = e.description;
  m.FileExtensions = e.extensions;
  m.is_seekable = 1;
  m.UsesOutputPlug = 1;
  m.Config = e.Config;
  m.About = e.About;
  m.Init = e.Init;
  m.Quit = e.Quit;
  m.GetFileInfo = e.GetFileInfo;
  m.InfoBox = e.InfoBox;
  m.IsOurFile = e.IsOurFile;
  m.Play = e.Play;
  m.Pause = e.Pause;
  m.UnPause = e.UnPause;
  m.IsPaused = e.IsPaused;
  m.Stop = e.Stop;
  m.GetLength = e.GetLength;
  m.GetOutputTime = e.GetOutputTime;
  m.SetOutputTime = e.SetOutputTime;
  m.SetVolume = e.SetVolume;
  m.SetPan = e.SetPan;
  m.EQSet = e.EQSet;
  return m;
}
#endif
