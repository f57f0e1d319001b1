#include "shell/entry.h"

#include <cstdio>

int QbrreMain(int, char**) {
  std::fputs("qbrre: not built yet\n", stderr);
  return 1;
}
