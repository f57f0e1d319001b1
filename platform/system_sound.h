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

// Where the requests go, chosen at start-up: the sound driver (the default), or
// a recorder that plays nothing and hands each request to its sink, for runs
// that must stay silent and keep what would have sounded.
using SystemSoundSink = std::function<void(const std::string& alias, bool wait)>;

// Plays the requests through the sound driver.
void UseDriverSystemSound();

// Hands every request (alias, wait) to `sink` in place of the driver.
void UseRecordingSystemSound(SystemSoundSink sink);
