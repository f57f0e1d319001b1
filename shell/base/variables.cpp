#include "shell/base/variables.h"

std::atomic<uint32_t> ENGINE_STATE{0};
std::atomic<bool> GAMEOVER{false};
std::atomic<bool> STATEOVER{false};
std::atomic<bool> readytoclose{false};
std::atomic<int> ticks{0};
int old_ticks = 0;
sem_t sem_rest;

BITMAP* FB = nullptr;
BITMAP* CB = nullptr;

CHelioGUI* mui = nullptr;

bool AllowHResize = false;
bool AllowVResize = false;
int MC_CURRENT = 0;

std::string StartupRomPath;
