#pragma once

#include <functional>
#include <string>
#include <vector>

// Starting other programs that run beside this one (an emulator), without a
// shell: the words of the command are the program's arguments as they stand.

// Splits a command line into words. Blanks separate words; single quotes keep
// everything up to the next single quote; double quotes keep everything up to
// the next double quote, with \" and \\ inside them standing for " and \; a
// backslash outside quotes keeps the next character. False, and no words, on an
// unterminated quote or a trailing backslash.
bool PlatformSplitCommand(const std::string& line, std::vector<std::string>& words);

// The path of the executable file `name` names: itself when it holds a slash,
// else the first match in the folders of PATH; "" when there is none.
std::string PlatformFindProgram(const std::string& name);

// Starts argv[0] (looked up as PlatformFindProgram does) with `argv` and does
// not wait for it. The child gets no blocked signals, /dev/null as its input
// and no descriptor of this process but its output and error. A watcher thread
// reaps it and then calls `on_exit` with its exit status (128 + the signal when
// a signal ended it). False, with `error` saying why, when the program could not
// be started; `on_exit` then never runs. `pid`, when given, receives the child's
// process id.
bool PlatformSpawnDetached(const std::vector<std::string>& argv, std::function<void(int status)> on_exit,
                           std::string& error, int* pid = nullptr);

// A text naming the running process `pid` and no later process of the same number
// (its id and start time); "" when no such process runs, or it has ended and
// waits to be reaped.
std::string PlatformProcessIdentity(int pid);
