#pragma once

#include <functional>
#include <string>

// The short sounds the menus make, standing in for the desktop's named system
// sounds. Known aliases: "MenuPopup" (a menu opens) and "MenuCommand" (a menu
// command is chosen); any other alias plays nothing. Silent when no digital
// sound driver is installed. Call from the worker thread.

// Plays the sound named `alias`. wait = false returns at once while it plays;
// wait = true returns when it has finished.
void PlaySystemSound(const char* alias, bool wait);

// Test seam: every PlaySystemSound call is handed to `observer` (alias, wait)
// instead of the sound driver; pass {} to play sounds again.
void SetSystemSoundSeam(std::function<void(const std::string& alias, bool wait)> observer);
