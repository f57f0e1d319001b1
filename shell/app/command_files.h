// The file steps of the commands without a window: each failure is one line on stderr, "qbrre: "
// first, and the command then exits 1.
#pragma once

#include <string>
#include <vector>

// Prints "qbrre: LINE" on stderr; returns 1, the exit status of a failed command.
int CommandFailed(const std::string& line);

// Reads the whole regular file at `path` into `out`; false after the line that says why.
bool ReadCommandInput(const std::string& path, std::vector<unsigned char>& out);

// True when the command may write `output`; false after the line that refuses it when it is one of
// `inputs` under any name (another spelling, a symbolic or a hard link). Checked before anything is
// read or written.
bool OutputAllowed(const std::string& output, const std::vector<std::string>& inputs);

// Writes `bytes` to `path` in one rename (ReplaceFile: a link is written through, a failure leaves
// the old file whole). 0, or 1 after the line that says why.
int WriteCommandOutput(const std::string& path, const std::vector<unsigned char>& bytes);
