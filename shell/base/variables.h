#pragma once

#include <atomic>
#include <cstdint>
#include <semaphore.h>
#include <string>

#include "platform/allegro_include.h"

class CHelioGUI;

// Engine globals shared by the worker, the main thread and the timer thread.
// The flags and the tick counter are atomics: one thread sets, another polls.
extern std::atomic<uint32_t> ENGINE_STATE;  // current mode: 0 start-up screen, 1 level editor
extern std::atomic<bool> GAMEOVER;          // leave the main loop: the program is closing
extern std::atomic<bool> STATEOVER;         // leave the current mode function after this pass
extern std::atomic<bool> readytoclose;      // the worker has left the main loop
extern std::atomic<int> ticks;              // logic updates owed; timer adds, worker takes
extern int old_ticks;                       // value of ticks before the worker's last decrement
extern sem_t sem_rest;                      // posted once per tick

extern BITMAP* FB;  // frame buffer the size of the virtual screen; every frame is composed here
extern BITMAP* CB;  // page of the screen-update method the current frame is copied to

extern CHelioGUI* mui;  // the live GUI root

extern bool AllowHResize;  // the user may resize the window horizontally
extern bool AllowVResize;  // the user may resize the window vertically
extern int MC_CURRENT;     // index of the current mouse cursor shape

// ROM image named on the command line; the automatic Open of the start-up screen
// loads it instead of asking with the file dialog. Empty when none was given.
extern std::string StartupRomPath;
