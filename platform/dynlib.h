#pragma once

#include <string>

// Shared libraries loaded at run time (the music host's plug-ins).

// Opaque handle of a loaded library.
using PlatformLibrary = void*;

// Loads the library at path (resolving all its symbols now); null on failure.
PlatformLibrary PlatformLibraryOpen(const std::string& path);
// Address of the exported symbol name, or null when lib does not export it.
void* PlatformLibrarySymbol(PlatformLibrary lib, const char* name);
// Unloads lib; null is ignored.
void PlatformLibraryClose(PlatformLibrary lib);
// Folder of the running executable, without a trailing slash ("" when unknown).
std::string PlatformExecutableDirectory();
