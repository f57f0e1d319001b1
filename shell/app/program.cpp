#include "shell/app/program.h"

#include "shell/app/window_scale.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "bfa/bfa.h"
#include "gfx/ex_graphics.h"
#include "music/speakers.h"
#include "platform/config_lock.h"
#include "platform/data_paths.h"
#include "platform/background_thread.h"
#include "platform/window.h"
#include "resources/cursors.h"
#include "shell/app/registrations.h"
#include "rom/file_replace.h"
#include "rom/globaldata.h"
#include "rom/settings_store.h"
#include "shell/base/close_request.h"
#include "resources/skin.h"
#include "shell/base/controller.h"
#include "shell/base/functions.h"
#include "shell/runtime/frame.h"
#include "shell/runtime/screen.h"
#include "shell/base/variables.h"

namespace {

constexpr int kDefaultHz = 60;
constexpr int kDefaultDrawMethod = 2;

// Allegro's close button (a window manager's close request) takes the same path as Escape.
void CloseButtonPressed() { RequestProgramCloseFromAnyThread(); }

// Installs Allegro. A busy X server refuses a connection for a moment (EAGAIN from
// the socket's full backlog, a reset connection while it drops another client, or
// a refusal while it is at its client limit, which leaves only a stale errno and no
// message from Allegro); the start-up tries again for about a second then.
bool StartAllegro() {
  constexpr int kAttempts = 20;
  for (int attempt = 1;; ++attempt) {
    errno = 0;
    // Allegro's background thread, started here, would wake a thousand times a
    // second; the quiet one sleeps until there is input or drawing to send.
    PlatformUseQuietBackgroundThread();
    const bool started = install_allegro(SYSTEM_AUTODETECT, &errno, atexit) == 0;
    const int cause = errno;
    if (started) return true;
    const char* display = std::getenv("DISPLAY");
    const bool refused = allegro_error[0] == '\0' && display != nullptr && display[0] != '\0';
    const bool busy = cause == EAGAIN || cause == ECONNRESET || refused;
    if (!busy || attempt == kAttempts) {
      const char* reason = allegro_error[0] != '\0' ? allegro_error
                           : cause != 0             ? std::strerror(cause)
                                                    : "no X display could be opened";
      std::fprintf(stderr, "qbrre: Allegro could not start: %s\n", reason);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

}  // namespace

int ChooseTickRate(int driver_rate, int configured) {
  if (driver_rate > 0) return driver_rate;
  return configured > 0 ? configured : kDefaultHz;
}

EngineSettings ReadEngineSettings() {
  ConfigGuard guard;
  return {get_config_int("Engine", "Hz", kDefaultHz), get_config_int("Engine", "Draw", kDefaultDrawMethod)};
}

void ticker() {
  // The count is posted before the tick is counted, so a worker that sees a tick
  // always finds a count for its next wait.
  sem_post(&sem_rest);
  ticks.fetch_add(1);
  WakeWorkerForTick();
}

CScreen::CScreen() {
  PlatformScreenSize(w, h);
  set_color_depth(32);
  set_color_conversion(COLORCONV_TOTAL | COLORCONV_KEEP_TRANS);
  const EngineSettings engine = ReadEngineSettings();
  request_refresh_rate(engine.hz);
  set_window_title("QBR Resource Editor");
  if (w <= 0 || h <= 0 || set_gfx_mode(GFX_AUTODETECT_WINDOWED, w, h, 0, 0) != 0) {
    std::fprintf(stderr, "qbrre: no windowed graphics mode of %dx%d: %s\n", w, h, allegro_error);
    return;
  }
  PlatformAdoptWindow();
  // The graphics mode has the screen's own size; from here on the program sees
  // the screen divided by the window scale.
  ChooseWindowScale(w, h);
  InitializeScreenUpdate(engine.draw);
  Hz = ChooseTickRate(get_refresh_rate(), engine.hz);
}

CWindow::CWindow() {
  scr = new CScreen;
  dsp = new CDisplay(scr->Hz);
}

CWindow::~CWindow() {
  delete dsp;
  delete scr;
}

CProgram::CProgram() : image(QBR1) {
  RegisterOpenImage(&image);
  RegisterFeatures();
  sem_init(&sem_rest, 0, 1);
  if (!StartAllegro()) return;
  three_finger_flag = FALSE;
  install_timer();
  install_keyboard();
  set_close_button_callback(CloseButtonPressed);
  {
    ConfigGuard guard;
    // The settings folder outside a portable folder may not exist yet; it is made here, where the
    // program that writes settings starts, and never by the headless commands.
    const std::string settings = PlatformSettingsFile(kProgramConfigPath, true);
    UseSettingsFileWrites(true);
    LoadSettings(SettingsLayer::Alone);
    RemoveStaleTempFilesBeside(settings);  // what a write of a killed window left
  }
  snd = new CSpeakers;
  win = new CWindow;
  if (screen == nullptr) return;
  pad = new CController;
  // Input wakes the worker, which sleeps through the idle updates between frames.
  mouse_callback = [](int) { WakeWorkerForInput(); };
  keyboard_lowlevel_callback = [](int) { WakeWorkerForInput(); };
  EXG_FillPercentageOfValueArray();
  LoadBuiltinResources();
  // The skin's cursors are the program's cursor shapes from now on.
  RegisterCursorShapes(ShowSkinCursor);
  SetMouseCursorBitmap(0);
  FB = create_bitmap_ex(32, win->scr->w, win->scr->h);
  install_int_ex(ticker, BPS_TO_TIMER(win->scr->Hz));
}

CProgram::~CProgram() {
  remove_int(ticker);
  mouse_callback = nullptr;
  keyboard_lowlevel_callback = nullptr;
  delete win;
  delete snd;
  delete pad;
  RegisterCursorShapes(nullptr);
  DestroyBuiltinResources();
  if (FB) destroy_bitmap(FB);
  FB = nullptr;
  ShutDownScreenUpdate();
  RegisterOpenImage(nullptr);
}
