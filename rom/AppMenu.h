#pragma once

#include <functional>

// Carries out menu or toolbar command `id`: $0000 Open, $F000 About, $FFFF Exit;
// every other number is accepted and does nothing. `sound` plays the command
// sound first (menus pass true, toolbar buttons and the start-up screen false).
void AppMenuExecuteItem(unsigned short id, bool sound);

// Test seam: `observer` sees every AppMenuExecuteItem call (id, sound) before the
// command runs; pass {} to remove it.
void SetCommandObserver(std::function<void(unsigned short id, bool sound)> observer);

// Something that opens an image without asking (the built-in demo image): true
// when the image is in use and the editor requested.
using StartupImageOpener = bool (*)();

// Makes the next Open call `opener` instead of asking for a file, once; the
// program's command line uses it to start on an image it builds itself.
void SetStartupImageOpener(StartupImageOpener opener);

// The Open command: lets the user choose an image (or, once, takes the startup
// opener or StartupRomPath, when the command line named one), identifies it,
// corrects it in memory and requests the level editor. A cancelled or failed Open
// leaves the image in use (if any) and the engine state as they were.
void AppMenuOpenImage();
