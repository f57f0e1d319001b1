#pragma once

#include <string>

// Open and About, the commands of the File and Help menus that the image layer
// carries out; the application registers them in the GUI's command table.

// Something that opens an image without asking (the built-in demo image): true
// when the image is in use.
using StartupImageOpener = bool (*)();

// Makes the next Open call `opener` instead of asking for a file, once; the
// program's command line uses it to start on an image it builds itself.
void SetStartupImageOpener(StartupImageOpener opener);

// The Open command: lets the user choose an image (or, once, takes the startup
// opener or StartupRomPath, when the command line named one, with the patch of
// rom/patch_open.h applied when it named one too), identifies it and
// corrects it in memory. True when the new image is in use; the caller decides
// which mode shows it. A cancelled or failed Open leaves the image in use (if any)
// as it was and returns false.
bool AppMenuOpenImage();

// Opens the image at `path` as Open does once a file is chosen (File > recent
// images): unsaved edits weighed first, then the file identified and corrected.
// True when the new image is in use; false, the image in use kept, otherwise.
bool AppMenuOpenImageFile(const std::string& path);

// The About command: the program's name and version in a box with an OK button.
void AppMenuShowAbout();
