#pragma once

// Process entry of the program: parses the command line, then runs the editor
// (window, worker thread, main loop) or a headless command. Returns the exit code.
int QbrreMain(int argc, char** argv);
