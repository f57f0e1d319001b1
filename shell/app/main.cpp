#include "shell/app/entry.h"

int main(int argc, char** argv) { return QbrreMain(argc, argv); }
