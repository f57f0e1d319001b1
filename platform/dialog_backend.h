#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/dialogs.h"

// Building blocks shared by the dialog backends and the crash dialog. The
// functions marked "signal-safe" use only fixed buffers and plain system calls,
// so the crash handler can use them while the heap may be broken.

// Exit status RunChild reports when the program could not be executed.
constexpr int kChildNotRun = 127;

// Runs the program at `path` (absolute) with `argv` (null-terminated), no shell
// involved, writing `input` to its stdin and keeping up to outCap - 1 bytes of its
// stdout in `out` (NUL-terminated). Waits for it. Returns its exit code,
// kChildNotRun when it could not be started, or -1 when it died from a signal.
// Signal-safe.
int RunChild(const char* path, char* const argv[], const char* input, std::size_t inputLen, char* out,
             std::size_t outCap);

// Absolute path of the executable `name` found on PATH, or "" when there is none.
std::string FindProgram(const char* name);

// Whether an X display can be opened (DISPLAY set and reachable).
bool DisplayAvailable();

// Copies the next unconsumed line of the answer script `path` into `out`
// (without the line end) and counts it as consumed; false when the answers ran
// out or the file cannot be read. The count lives in this process and starts
// again when another script is named. Signal-safe.
bool NextScriptAnswer(const char* path, char* out, std::size_t outCap);

// Writes all `len` bytes to `fd`, carrying on after an interrupted write;
// stops at the first error. Signal-safe.
void WriteFully(int fd, const char* data, std::size_t len);

// Appends `len` bytes to the dialog log at `path` in one write. Signal-safe.
void AppendToDialogLog(const char* path, const char* line, std::size_t len);

// Writes `text` as a JSON string body into `out` (NUL-terminated; stops
// before a piece that would not fit). Returns the bytes written. Signal-safe.
std::size_t JsonEscapeInto(const char* text, std::size_t len, char* out, std::size_t outCap);

// `text` as a JSON string body: quotes, backslashes and control characters
// escaped; bytes that are not UTF-8 written as \u00XX.
std::string JsonEscape(const std::string& text);

// One line of the dialog log, ending in a newline.
std::string DialogLogLine(const DialogRecord& record);

// What the stderr backend prints for a box that was answered `record.answer`.
std::string StderrBoxText(const DialogRecord& record);

// The five buttons of the crash dialog; the last one ends the process.
const std::vector<std::string>& CrashChoices();

// Arguments (argv[0] included) for showing a box with zenity; the crash
// dialog's buttons come from CrashChoices().
std::vector<std::string> ZenityBoxArgs(BoxKind kind, const std::string& title, const std::string& text);
// Arguments for zenity's file chooser, opening in `folder` (when not empty),
// one --file-filter per filter.
std::vector<std::string> ZenityOpenArgs(const std::string& title, const std::vector<FileFilter>& filters,
                                        const std::string& folder);
// Arguments for zenity's list: one --column per column, then the rows' cells
// after "--" (so a cell that starts with dashes stays a cell); short rows are
// padded with empty cells. zenity prints the first column of the chosen row.
std::vector<std::string> ZenityListArgs(const std::string& title, const std::string& text,
                                        const std::vector<std::string>& columns,
                                        const std::vector<std::vector<std::string>>& rows);
// Arguments for zenity's save chooser: `suggested` (a name, or an absolute path)
// preset in `folder`, overwriting confirmed by the chooser.
std::vector<std::string> ZenitySaveArgs(const std::string& title, const std::vector<FileFilter>& filters,
                                        const std::string& folder, const std::string& suggested);
// Arguments for zenity's folder chooser, opening in `folder` (when not empty).
std::vector<std::string> ZenityFolderArgs(const std::string& title, const std::string& folder);
// Arguments for zenity's colour chooser, starting at `initial` when it is #RRGGBB.
std::vector<std::string> ZenityColourArgs(const std::string& title, const std::string& initial);
// Arguments for zenity's one-line entry.
std::vector<std::string> ZenityTextArgs(const std::string& title, const std::string& text, const std::string& initial);

// Arguments for zenity's form: one entry per field, its label followed by the
// current value (zenity's form has no initial values), answers joined by '|'.
std::vector<std::string> ZenityFormArgs(const std::string& title, const std::string& text,
                                        const std::vector<FormField>& fields);

// The values of a form's answer line (separated by '|'), each empty one replaced by
// the field's current value; false when the line cancels the form or has another
// number of values than there are fields.
bool ParseFormAnswer(const std::string& answer, const std::vector<FormField>& fields,
                     std::vector<std::string>& values);

// "#RRGGBB" (upper-case) for "#rrggbb", "rgb(r,g,b)" or "rgba(r,g,b,a)"; "" for
// anything else.
std::string CanonicalColour(const std::string& text);

// Arguments for zenity's question with the buttons of a choice: the first is
// OK, the last Cancel, one between them an extra button (zenity prints its label).
std::vector<std::string> ZenityChoiceArgs(const std::string& title, const std::string& text,
                                          const std::vector<std::string>& buttons);
// The label chosen in a choice shown by zenity or xmessage (the last one when
// the box was closed or the program failed).
std::string ZenityChoiceAnswer(const std::vector<std::string>& buttons, int status, const std::string& output);
std::vector<std::string> XmessageChoiceArgs(const std::string& title, const std::vector<std::string>& buttons);
std::string XmessageChoiceAnswer(const std::vector<std::string>& buttons, int status);
// The label of `buttons` that `answer` names, compared without regard to case;
// the last label for any other answer.
std::string ChoiceLabel(const std::vector<std::string>& buttons, const std::string& answer);

// Arguments for xmessage; it reads the text from stdin.
std::vector<std::string> XmessageBoxArgs(BoxKind kind, const std::string& title);

// Maps a desktop program's exit code and output to the box's answer.
std::string ZenityAnswer(BoxKind kind, int status, const std::string& output);
std::string XmessageAnswer(BoxKind kind, int status);

// The answer a box gets when nobody answers it (ok / no / cancel / "").
std::string DefaultAnswer(BoxKind kind);

// `answer` when it is a valid answer of a box of this kind, else DefaultAnswer.
std::string NormaliseAnswer(BoxKind kind, const std::string& answer);
