#pragma once

// Shared includes of the program. Allegro's header comes first everywhere so
// its macros and types are the same in every translation unit; the magic main
// is off because the process entry is our own (shell/app/main.cpp).
#define ALLEGRO_NO_MAGIC_MAIN
#include <allegro.h>

#include <cstdint>
#include <string>
#include <vector>
