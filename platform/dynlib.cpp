#include "platform/dynlib.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

PlatformLibrary PlatformLibraryOpen(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* PlatformLibrarySymbol(PlatformLibrary lib, const char* name) {
  if (!lib || !name) return nullptr;
  return dlsym(lib, name);
}

void PlatformLibraryClose(PlatformLibrary lib) {
  if (lib) dlclose(lib);
}

std::string PlatformExecutableDirectory() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "";
  const std::string full(path, static_cast<size_t>(n));
  const size_t slash = full.rfind('/');
  return slash == std::string::npos ? "" : full.substr(0, slash);
}
