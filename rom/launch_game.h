#pragma once

#include <string>
#include <vector>

// Launch Game: the image as Save would write it now (the opened file with the
// user's edits) goes to a temporary file in a folder of its own, and an emulator
// is started on it without waiting; the folder is removed when the emulator ends.
// An emulator that outlives this program keeps its file: the folder names the
// emulator's process, and the next start removes it once that process is gone.

// The Debian packages of emulators that run this console's games, in the order
// they are tried when no command is configured; each installs a program of its name.
extern const char* const kKnownEmulators[2];

// The emulator command for the game file `path`: the key Command of section
// "Emulator" of the configuration split into words (PlatformSplitCommand), every
// %f in them replaced by `path` (which is added as the last word when no word
// holds %f); without that key the first installed of kKnownEmulators with `path`.
// Empty, with `problem` saying why for the user, when there is none.
std::vector<std::string> EmulatorCommand(const std::string& path, std::string& problem);

// Whether an image is open to launch.
bool LaunchGameAvailable();

// Writes the game to a temporary file and starts the emulator; every failure
// is reported in a message box titled "Launch Game" and leaves no file behind.
void LaunchGame();

// Removes the game folders ($TMPDIR or /tmp, qbrre-game-*, of this user) whose
// emulator has ended while no program was there to remove them. Called at start.
void RemoveEndedGameFiles();
