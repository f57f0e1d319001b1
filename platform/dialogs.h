#pragma once

#include <functional>
#include <string>
#include <vector>

// Modal message boxes and the open-file dialog of the program.
//
// One backend answers every box of the process; the program chooses it at
// start-up (PlatformChooseDialogBackend) and the commands without a window
// replace it with stderr:
//   - desktop (the default): the desktop's own dialogs (zenity), then xmessage
//     for the boxes that are only buttons; stderr with the default answer when
//     no display opens or neither program can show the box;
//   - scripted: the answers come from a script, e.g. the file QBRRE_DIALOG_SCRIPT
//     names (one per line: ok, yes, no, cancel, or the text the box returns: a
//     path, a list row's first column, a colour, a line of text, a form's
//     values separated by '|');
//   - stderr: every box is printed on stderr and answered with its default.
// When QBRRE_DIALOG_LOG names a file, every box shown by any backend appends one
// JSON line {"kind", "title", "text", "answer"} to it. A box that returns text
// logs "cancel" as its answer when it was cancelled.

enum class BoxKind {
  Error,
  Info,
  Warning,
  Question,
  Open,
  Crash,
  About,
  List,
  Save,
  Folder,
  Colour,
  Text,
  YesNoCancel,
  Form,
  Choice
};

// Changes whenever a box of any kind opens or closes, whichever backend shows it. A
// mouse button that was pressed or held across a box belongs to the box, not to
// the view under it; views compare this number between their updates.
unsigned long PlatformDialogGeneration();

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

// List of rows; returns the first column of the chosen row, or "" when cancelled.
// Scripted answer: the line itself (any text, e.g. "0x16") or `cancel`. The record's
// text is `text` followed by one line per row, its columns joined by tabs.
std::string PlatformChooseFromList(const std::string& title, const std::string& text,
                                   const std::vector<std::string>& columns,
                                   const std::vector<std::vector<std::string>>& rows);

// Save-file dialog; returns the chosen path or "" when cancelled (scripted: a path
// or `cancel`). The record's text lists the filters as Open does, then
// "File name: <suggested_name>" when one is given.
std::string PlatformSaveFileDialog(const std::string& title, const std::vector<FileFilter>& filters,
                                   const std::string& suggested_name);

// Folder chooser; returns the folder or "" when cancelled (scripted: a path or `cancel`).
std::string PlatformChooseFolder(const std::string& title);

// Colour chooser; returns "#RRGGBB" (upper-case digits) or "" when cancelled
// (scripted: `#RRGGBB` or `cancel`; anything else cancels). The record's text is
// the initial colour.
std::string PlatformChooseColour(const std::string& title, const std::string& initial_rrggbb);

// One line of text; returns it, or "" when cancelled (scripted: the line, or
// `cancel`). The record's text is `text`, then "Initial: <initial>" when one is given.
std::string PlatformAskText(const std::string& title, const std::string& text, const std::string& initial);

// One labelled text field of a form and its value.
struct FormField {
  std::string label, value;
};

// A form of text fields; true with the fields' values replaced by the edited ones,
// false (fields unchanged) when cancelled. A field left empty keeps its value, since
// the desktop's form shows the current value in the label and starts empty. Scripted
// answer: the values in field order separated by '|', or `cancel`; a line with
// another number of values cancels. The record's text is `text`, then one line
// "<label>: <value>" per field.
bool PlatformAskForm(const std::string& title, const std::string& text, std::vector<FormField>& fields);

// Yes / No / Cancel question; returns "yes", "no" or "cancel" (no display: "cancel").
std::string PlatformAskYesNoCancel(const std::string& title, const std::string& text);

// A question answered by one of two or three buttons labelled `buttons`; the
// last one cancels, as closing the box does. Returns the label of the button
// chosen. Scripted answer: a label (any case); anything else answers the last
// button. The record's text is `text`, then a line "Buttons: " with the labels
// joined by " / "; its answer is the label chosen.
std::string PlatformAskChoice(const std::string& title, const std::string& text,
                              const std::vector<std::string>& buttons);

// What a box showed and how it was answered, as the scripts and the log see it.
struct DialogRecord {
  BoxKind kind;
  std::string title, text, answer;
};

// The answer a script gives to one box, from what the box shows (its record with
// the answer empty). For a box that returns text, "" or "cancel" cancels it; an
// answer the box does not know counts as its default.
using DialogScript = std::function<std::string(const DialogRecord&)>;

// The answers of the file `path`, one line per box in the order they come;
// boxes after the last line get their default. The position belongs to the file
// named: naming another file starts again at its first line.
DialogScript DialogScriptFile(const std::string& path);

// Chooses the desktop backend.
void PlatformUseDesktopDialogs();

// Chooses the scripted backend with the answers of `script`.
void PlatformUseScriptedDialogs(DialogScript script);

// Chooses the stderr backend: commands that run without a window use it, since
// nobody is there to answer.
void PlatformUseStderrDialogs();

// The start-up choice: the scripted backend over the file QBRRE_DIALOG_SCRIPT
// names when it is set and not empty, the desktop backend otherwise.
void PlatformChooseDialogBackend();

// Name of the kind as written to the dialog log ("error", "question", ...).
const char* BoxKindName(BoxKind kind);
