#pragma once

#include "platform/allegro_include.h"
#include "rom/open_image.h"

#include "editor/edit_tools.h"
#include "gui/commands.h"
#include "shell/base/installed.h"

class CSpeakers;
class CController;

// The screen as the program sees it: the whole virtual desktop, and the tick rate.
class CScreen {
 public:
  int w = 0;
  int h = 0;
  int Hz = 0;

  // Sets the 32-bit windowed graphics mode of the screen's size, the screen update
  // method ("Engine"/"Draw") and the tick rate ("Engine"/"Hz" when the driver reports none).
  CScreen();
};

// Display record; carries the tick rate only.
class CDisplay {
 public:
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  int Hz = 0;

  explicit CDisplay(int hz) : Hz(hz) {}
};

// The window's screen and the frame metrics of the desktop (none: the frame is self-drawn).
class CWindow {
 public:
  CScreen* scr = nullptr;
  CDisplay* dsp = nullptr;
  int w = 0;
  int h = 0;
  int xborder_w = 0;
  int yborder_h = 0;
  int menu_h = 0;
  int caption_h = 0;

  // Creates the screen (graphics mode) and the display record.
  CWindow();
  // Deletes the display record, then the screen.
  ~CWindow();
  CWindow(const CWindow&) = delete;
  CWindow& operator=(const CWindow&) = delete;

  // Kept for callers that size the window through it; the GUI root sizes the window.
  void SetWindowDimensions(int, int) {}
};

// The program object: the registries, the open image, Allegro, configuration, screen, sound,
// input, skin, frame buffer and the tick timer. Built and destroyed by the worker thread.
class CProgram {
  // Installed first, so that the start-up fills them and everything built after
  // reaches them; they go last.
  Installed<CommandTable> commands_;
  Installed<EditToolBox> edit_tools_;

 public:
  CWindow* win = nullptr;
  CSpeakers* snd = nullptr;
  CController* pad = nullptr;
  // The image the window edits; TheImage() (rom/open_image.h) returns it while the program lives.
  OpenImage image;

  // Registers the program's features (RegisterFeatures), then builds everything in
  // start-up order; when Allegro or the graphics mode cannot be
  // set up it stops early and `screen` stays null (the worker then ends the program).
  CProgram();
  // Tears down in the reverse order; tolerates an early stop of the constructor.
  ~CProgram();
  CProgram(const CProgram&) = delete;
  CProgram& operator=(const CProgram&) = delete;
};

// The "Engine" settings of the configuration in force.
struct EngineSettings {
  int hz;    // "Hz": refresh rate requested (default 60)
  int draw;  // "Draw": screen update method (default 2)
};
EngineSettings ReadEngineSettings();

// Timer callback on Allegro's timer thread: one tick.
void ticker();

// The tick rate: the driver's refresh rate, or `configured` when the driver reports
// none (0); never below 1.
int ChooseTickRate(int driver_rate, int configured);
