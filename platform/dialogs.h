#pragma once

#include <functional>
#include <string>
#include <vector>

// Modal message boxes and the open-file dialog of the program.
//
// Backends, tried in this order for every box:
//   1. the in-process seam (unit tests, SetDialogSeam);
//   2. the scripted backend, when QBRRE_DIALOG_SCRIPT names a file of answers
//      (one per line: ok, yes, no, cancel, or a path for the file dialog);
//   3. the desktop's own dialogs (zenity), then xmessage, when a display opens;
//   4. stderr, answering with the default, when there is no display.
// When QBRRE_DIALOG_LOG names a file, every box shown by any backend appends one
// JSON line {"kind", "title", "text", "answer"} to it.

enum class BoxKind { Error, Info, Warning, Question, Open, Crash, About };

// Shows a modal box and waits for it. Returns "ok" for plain boxes, "yes" or
// "no" for Question, "ok" or "cancel" for About. Never blocks under the scripted
// backend or without a display.
std::string PlatformShowBox(BoxKind kind, const std::string& title, const std::string& text);

// One entry of the file dialog's type list; patterns like "*.smc;*.sfc".
struct FileFilter {
  std::string description;
  std::string patterns;
};

// Shows the open-file dialog. Returns the chosen path, or "" when cancelled.
// The working directory is the same afterwards.
std::string PlatformOpenFileDialog(const std::string& title, const std::vector<FileFilter>& filters);

// What a box showed and how it was answered, as the seam and the log see it.
struct DialogRecord {
  BoxKind kind;
  std::string title, text, answer;
};

// Routes every box of this process to `answer` (called with answer empty; its
// result is the box's answer) instead of a backend; pass {} to restore the
// normal backends.
void SetDialogSeam(std::function<std::string(const DialogRecord&)> answer);

// Name of the kind as written to the dialog log ("error", "question", ...).
const char* BoxKindName(BoxKind kind);
