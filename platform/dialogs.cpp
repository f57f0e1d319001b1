#include "platform/dialogs.h"

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <unistd.h>

#include "platform/dialog_backend.h"

namespace {

std::atomic<unsigned long> dialogs_shown{0};

// Counts one box as it opens and again as it closes.
struct DialogCount {
  DialogCount() { ++dialogs_shown; }
  ~DialogCount() { ++dialogs_shown; }
  DialogCount(const DialogCount&) = delete;
  DialogCount& operator=(const DialogCount&) = delete;
};


enum class Backend { Desktop, Scripted, Stderr };

// The chosen backend and, for the scripted one, its script; read by every box.
std::mutex backendMutex;
Backend chosen = Backend::Desktop;
DialogScript chosenScript;

void Choose(Backend backend, DialogScript script) {
  std::lock_guard<std::mutex> lock(backendMutex);
  chosen = backend;
  chosenScript = std::move(script);
}

// Value of an environment variable naming a file, or nullptr when unset or empty.
const char* EnvFile(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

// Runs one desktop dialog program; false when it is not installed or could not
// be executed, so the next backend gets the box.
bool RunDesktopProgram(std::vector<std::string> args, const std::string& input, int& status, std::string& output) {
  std::string path = FindProgram(args[0].c_str());
  if (path.empty()) return false;
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  // Enough for any path the file chooser returns.
  std::vector<char> buffer(PATH_MAX * 4);
  status = RunChild(path.c_str(), argv.data(), input.data(), input.size(), buffer.data(), buffer.size());
  if (status == kChildNotRun) return false;
  output = buffer.data();
  return true;
}

// The chooser starts where relative paths point (otherwise it opens on the
// desktop's recent files).
std::string WorkingFolder() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

// How the desktop shows one box: zenity's arguments, and whether xmessage (buttons
// only) can stand in when zenity is missing.
struct DesktopForm {
  std::vector<std::string> zenity;
  bool xmessage = false;
  std::vector<std::string> buttons{};  // a choice's labels
};

// Shows the box on the desktop: zenity, else xmessage where the box is only
// buttons. False when neither could show it.
bool ShowOnDesktop(DialogRecord& record, const DesktopForm& form) {
  int status = 0;
  std::string output;
  const bool choice = record.kind == BoxKind::Choice;
  if (RunDesktopProgram(form.zenity, "", status, output)) {
    record.answer = choice ? ZenityChoiceAnswer(form.buttons, status, output) : ZenityAnswer(record.kind, status, output);
    return true;
  }
  if (!form.xmessage) return false;
  const std::vector<std::string> xmessage =
      choice ? XmessageChoiceArgs(record.title, form.buttons) : XmessageBoxArgs(record.kind, record.title);
  if (RunDesktopProgram(xmessage, record.text, status, output)) {
    record.answer = choice ? XmessageChoiceAnswer(form.buttons, status) : XmessageAnswer(record.kind, status);
    return true;
  }
  return false;
}

// Batch and CI runs have nobody to answer: print the box and take its default.
void ShowOnStderr(DialogRecord& record, const std::vector<std::string>& buttons) {
  record.answer = record.kind == BoxKind::Choice ? ChoiceLabel(buttons, "") : DefaultAnswer(record.kind);
  std::string message = StderrBoxText(record);
  std::fwrite(message.data(), 1, message.size(), stderr);
}

// Shows the box through the chosen backend (see dialogs.h) and logs it. `form`
// is built only when the desktop is asked; `buttons` are a choice's labels.
template <typename MakeForm>
std::string Ask(BoxKind kind, const std::string& title, const std::string& text, MakeForm makeForm,
                const std::vector<std::string>& buttons = {}) {
  // Counted before and after: a view that looks while a box is up, or after it, sees a new number.
  const DialogCount counted;
  DialogRecord record{kind, title, text, ""};
  Backend backend;
  DialogScript script;
  {
    std::lock_guard<std::mutex> lock(backendMutex);
    backend = chosen;
    script = chosenScript;
  }
  switch (backend) {
    case Backend::Scripted: {
      const std::string answer = script ? script(record) : "";
      record.answer = kind == BoxKind::Choice ? ChoiceLabel(buttons, answer) : NormaliseAnswer(kind, answer);
      break;
    }
    case Backend::Stderr: ShowOnStderr(record, buttons); break;
    case Backend::Desktop:
      if (!DisplayAvailable() || !ShowOnDesktop(record, makeForm())) ShowOnStderr(record, buttons);
      break;
  }
  if (const char* log = EnvFile("QBRRE_DIALOG_LOG")) {
    std::string line = DialogLogLine(record);
    AppendToDialogLog(log, line.data(), line.size());
  }
  return record.answer;
}

// Boxes that return text answer "cancel" in the record and "" to the caller.
std::string TextResult(const std::string& answer) { return answer == "cancel" ? "" : answer; }

std::string FilterLines(const std::vector<FileFilter>& filters) {
  std::string text;
  for (const FileFilter& filter : filters) {
    if (!text.empty()) text += "\n";
    text += filter.description + " (" + filter.patterns + ")";
  }
  return text;
}

}  // namespace

std::string PlatformShowBox(BoxKind kind, const std::string& title, const std::string& text) {
  return Ask(kind, title, text, [&] { return DesktopForm{ZenityBoxArgs(kind, title, text), true}; });
}

std::string PlatformOpenFileDialog(const std::string& title, const std::vector<FileFilter>& filters) {
  return TextResult(Ask(BoxKind::Open, title, FilterLines(filters),
                        [&] { return DesktopForm{ZenityOpenArgs(title, filters, WorkingFolder())}; }));
}

std::string PlatformChooseFromList(const std::string& title, const std::string& text,
                                   const std::vector<std::string>& columns,
                                   const std::vector<std::vector<std::string>>& rows) {
  std::string shown = text;
  for (const std::vector<std::string>& row : rows) {
    shown += "\n";
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) shown += '\t';
      shown += row[i];
    }
  }
  return TextResult(
      Ask(BoxKind::List, title, shown, [&] { return DesktopForm{ZenityListArgs(title, text, columns, rows)}; }));
}

std::string PlatformSaveFileDialog(const std::string& title, const std::vector<FileFilter>& filters,
                                   const std::string& suggested_name) {
  std::string text = FilterLines(filters);
  if (!suggested_name.empty()) {
    if (!text.empty()) text += '\n';
    text.append("File name: ").append(suggested_name);
  }
  return TextResult(Ask(BoxKind::Save, title, text,
                        [&] { return DesktopForm{ZenitySaveArgs(title, filters, WorkingFolder(), suggested_name)}; }));
}

std::string PlatformChooseFolder(const std::string& title) {
  return TextResult(
      Ask(BoxKind::Folder, title, "", [&] { return DesktopForm{ZenityFolderArgs(title, WorkingFolder())}; }));
}

std::string PlatformChooseColour(const std::string& title, const std::string& initial_rrggbb) {
  return TextResult(Ask(BoxKind::Colour, title, initial_rrggbb,
                        [&] { return DesktopForm{ZenityColourArgs(title, initial_rrggbb)}; }));
}

std::string PlatformAskText(const std::string& title, const std::string& text, const std::string& initial) {
  std::string shown = text;
  if (!initial.empty()) shown.append("\nInitial: ").append(initial);
  return TextResult(
      Ask(BoxKind::Text, title, shown, [&] { return DesktopForm{ZenityTextArgs(title, text, initial)}; }));
}

bool PlatformAskForm(const std::string& title, const std::string& text, std::vector<FormField>& fields) {
  std::string shown = text;
  for (const FormField& field : fields) {
    if (!shown.empty()) shown += '\n';
    shown.append(field.label).append(": ").append(field.value);
  }
  std::string answer =
      Ask(BoxKind::Form, title, shown, [&] { return DesktopForm{ZenityFormArgs(title, text, fields)}; });
  std::vector<std::string> values;
  if (!ParseFormAnswer(answer, fields, values)) return false;
  for (std::size_t i = 0; i < fields.size(); ++i) fields[i].value = values[i];
  return true;
}

std::string PlatformAskYesNoCancel(const std::string& title, const std::string& text) {
  return PlatformShowBox(BoxKind::YesNoCancel, title, text);
}

std::string PlatformAskChoice(const std::string& title, const std::string& text,
                              const std::vector<std::string>& buttons) {
  std::string shown = text + "\nButtons: ";
  for (std::size_t i = 0; i < buttons.size(); ++i) shown += (i > 0 ? " / " : "") + buttons[i];
  return Ask(
      BoxKind::Choice, title, shown,
      [&] { return DesktopForm{ZenityChoiceArgs(title, text, buttons), true, buttons}; }, buttons);
}

DialogScript DialogScriptFile(const std::string& path) {
  return [path](const DialogRecord& record) {
    char line[PATH_MAX + 64];
    return NextScriptAnswer(path.c_str(), line, sizeof line) ? std::string(line) : DefaultAnswer(record.kind);
  };
}

unsigned long PlatformDialogGeneration() { return dialogs_shown.load(); }

void PlatformUseDesktopDialogs() { Choose(Backend::Desktop, {}); }

void PlatformUseScriptedDialogs(DialogScript script) { Choose(Backend::Scripted, std::move(script)); }

void PlatformUseStderrDialogs() { Choose(Backend::Stderr, {}); }

void PlatformChooseDialogBackend() {
  if (const char* script = EnvFile("QBRRE_DIALOG_SCRIPT")) {
    PlatformUseScriptedDialogs(DialogScriptFile(script));
  } else {
    PlatformUseDesktopDialogs();
  }
}
