#include "platform/dialog_backend.h"

#include <cctype>

// How each kind of box looks and answers on the desktop (zenity, xmessage).

namespace {

const char* ZenityIcon(BoxKind kind) {
  switch (kind) {
    case BoxKind::Error:
    case BoxKind::Crash: return "dialog-error";
    case BoxKind::Warning:
    case BoxKind::Question:
    case BoxKind::YesNoCancel: return "dialog-warning";
    default: return "dialog-information";
  }
}

std::string TrimLineEnd(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// xmessage exit codes of the crash dialog's buttons: 10 + index.
constexpr int kXmessageCrashBase = 10;
// xmessage exit codes of Yes / No / Cancel; anything else (the window closed) is Cancel.
constexpr int kXmessageYes = 10, kXmessageNo = 11, kXmessageCancel = 12;

// Boxes whose answer is a path, a row or a line of text rather than a button.
bool ReturnsText(BoxKind kind) {
  return kind == BoxKind::Open || kind == BoxKind::List || kind == BoxKind::Save || kind == BoxKind::Folder ||
         kind == BoxKind::Text || kind == BoxKind::Form;
}

}  // namespace

const char* BoxKindName(BoxKind kind) {
  switch (kind) {
    case BoxKind::Error: return "error";
    case BoxKind::Info: return "info";
    case BoxKind::Warning: return "warning";
    case BoxKind::Question: return "question";
    case BoxKind::Open: return "open";
    case BoxKind::Crash: return "crash";
    case BoxKind::About: return "about";
    case BoxKind::List: return "list";
    case BoxKind::Save: return "save";
    case BoxKind::Folder: return "folder";
    case BoxKind::Colour: return "colour";
    case BoxKind::Text: return "text";
    case BoxKind::YesNoCancel: return "yesnocancel";
    case BoxKind::Form: return "form";
    case BoxKind::Choice: return "choice";
  }
  return "error";
}

std::string StderrBoxText(const DialogRecord& record) {
  return std::string("[") + BoxKindName(record.kind) + "] " + record.title + "\n" + record.text +
         "\n(answered: " + record.answer + ")\n";
}

const std::vector<std::string>& CrashChoices() {
  static const std::vector<std::string> choices = {
      "Save Changes to IPS patch and... Restart", "Save Changes to IPS patch and... Quit",
      "Save Changes to ROM image and... Restart", "Save Changes to ROM image and... Quit", "Quit Without Saving"};
  return choices;
}

std::string DefaultAnswer(BoxKind kind) {
  switch (kind) {
    case BoxKind::Question: return "no";
    case BoxKind::Open:
    case BoxKind::List:
    case BoxKind::Save:
    case BoxKind::Folder:
    case BoxKind::Colour:
    case BoxKind::Text:
    case BoxKind::Form:
    case BoxKind::Choice:
    case BoxKind::YesNoCancel: return "cancel";
    case BoxKind::Crash: return CrashChoices().back();
    default: return "ok";
  }
}

std::string NormaliseAnswer(BoxKind kind, const std::string& answer) {
  if (ReturnsText(kind)) return answer.empty() ? DefaultAnswer(kind) : answer;
  switch (kind) {
    case BoxKind::Question: return answer == "yes" || answer == "no" ? answer : DefaultAnswer(kind);
    case BoxKind::About: return answer == "ok" || answer == "cancel" ? answer : DefaultAnswer(kind);
    case BoxKind::YesNoCancel:
      return answer == "yes" || answer == "no" || answer == "cancel" ? answer : DefaultAnswer(kind);
    case BoxKind::Colour: {
      std::string colour = CanonicalColour(answer);
      return colour.empty() ? DefaultAnswer(kind) : colour;
    }
    case BoxKind::Crash:
      // Any button other than the last one leaves the dialog up; the caller loops.
      return answer;
    default: return "ok";
  }
}

std::vector<std::string> ZenityBoxArgs(BoxKind kind, const std::string& title, const std::string& text) {
  std::vector<std::string> args = {"zenity", "--title=" + title, "--text=" + text, "--no-markup"};
  switch (kind) {
    case BoxKind::Error: args.push_back("--error"); break;
    case BoxKind::Info: args.push_back("--info"); break;
    case BoxKind::Warning: args.push_back("--warning"); break;
    case BoxKind::Question: args.insert(args.end(), {"--question", "--ok-label=Yes", "--cancel-label=No"}); break;
    case BoxKind::About: args.insert(args.end(), {"--question", "--ok-label=OK", "--cancel-label=Cancel"}); break;
    case BoxKind::YesNoCancel:
      // Closing the window must not answer No: No is the extra button, which zenity
      // reports by printing its label.
      args.insert(args.end(), {"--question", "--ok-label=Yes", "--cancel-label=Cancel", "--extra-button=No"});
      break;
    case BoxKind::Crash:
      // --text of a list is shown above it; one row per button of the dialog.
      args = {"zenity",        "--list",        "--title=" + title,      "--text=" + text, "--column=Option",
              "--hide-header", "--ok-label=OK", "--cancel-label=Cancel", "--width=420",    "--height=330"};
      for (const std::string& choice : CrashChoices()) args.push_back(choice);
      return args;
    default: break;  // the choosers have argument builders of their own
  }
  args.push_back(std::string("--icon-name=") + ZenityIcon(kind));
  return args;
}

std::vector<std::string> ZenityChoiceArgs(const std::string& title, const std::string& text,
                                          const std::vector<std::string>& buttons) {
  std::vector<std::string> args = {"zenity", "--question", "--title=" + title, "--text=" + text, "--no-markup",
                                   "--icon-name=dialog-question"};
  if (buttons.empty()) return args;
  args.push_back("--ok-label=" + buttons.front());
  args.push_back("--cancel-label=" + buttons.back());
  for (std::size_t i = 1; i + 1 < buttons.size(); ++i) args.push_back("--extra-button=" + buttons[i]);
  return args;
}

std::string ChoiceLabel(const std::vector<std::string>& buttons, const std::string& answer) {
  auto lower = [](std::string t) {
    for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return t;
  };
  for (const std::string& b : buttons) {
    if (lower(b) == lower(answer)) return b;
  }
  return buttons.empty() ? std::string() : buttons.back();
}

std::string ZenityChoiceAnswer(const std::vector<std::string>& buttons, int status, const std::string& output) {
  if (buttons.empty()) return "";
  if (status == 0) return buttons.front();
  // An extra button exits with 1 and prints its label; Cancel and closing print nothing.
  const std::string printed = TrimLineEnd(output);
  for (std::size_t i = 1; i + 1 < buttons.size(); ++i) {
    if (buttons[i] == printed) return buttons[i];
  }
  return buttons.back();
}

std::vector<std::string> XmessageChoiceArgs(const std::string& title, const std::vector<std::string>& buttons) {
  std::string list;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (!list.empty()) list += ",";
    list += buttons[i] + ":" + std::to_string(kXmessageCrashBase + static_cast<int>(i));
  }
  const std::string fallback = buttons.empty() ? "" : buttons.back();
  return {"xmessage", "-title", title, "-buttons", list, "-default", fallback, "-center", "-file", "-"};
}

std::string XmessageChoiceAnswer(const std::vector<std::string>& buttons, int status) {
  const int index = status - kXmessageCrashBase;
  if (index >= 0 && index < static_cast<int>(buttons.size())) return buttons[static_cast<std::size_t>(index)];
  return buttons.empty() ? std::string() : buttons.back();
}

std::vector<std::string> XmessageBoxArgs(BoxKind kind, const std::string& title) {
  std::string buttons = "OK:0";
  std::string fallback = "OK";
  if (kind == BoxKind::Question) {
    buttons = "Yes:0,No:1";
    fallback = "No";
  } else if (kind == BoxKind::About) {
    buttons = "OK:0,Cancel:1";
  } else if (kind == BoxKind::YesNoCancel) {
    buttons = "Yes:" + std::to_string(kXmessageYes) + ",No:" + std::to_string(kXmessageNo) +
              ",Cancel:" + std::to_string(kXmessageCancel);
    fallback = "Cancel";
  } else if (kind == BoxKind::Crash) {
    buttons.clear();
    const std::vector<std::string>& choices = CrashChoices();
    for (std::size_t i = 0; i < choices.size(); ++i) {
      if (!buttons.empty()) buttons += ",";
      buttons += choices[i] + ":" + std::to_string(kXmessageCrashBase + static_cast<int>(i));
    }
    fallback = choices.back();
  }
  return {"xmessage", "-title", title, "-buttons", buttons, "-default", fallback, "-center", "-file", "-"};
}

std::string ZenityAnswer(BoxKind kind, int status, const std::string& output) {
  if (ReturnsText(kind)) {
    std::string line = TrimLineEnd(output);
    return status == 0 && !line.empty() ? line : DefaultAnswer(kind);
  }
  switch (kind) {
    case BoxKind::Question: return status == 0 ? "yes" : "no";
    case BoxKind::About: return status == 0 ? "ok" : "cancel";
    case BoxKind::YesNoCancel: return status == 0 ? "yes" : TrimLineEnd(output) == "No" ? "no" : "cancel";
    case BoxKind::Colour: {
      std::string colour = status == 0 ? CanonicalColour(TrimLineEnd(output)) : "";
      return colour.empty() ? DefaultAnswer(kind) : colour;
    }
    case BoxKind::Crash: return status == 0 ? TrimLineEnd(output) : "";
    default: return "ok";
  }
}

std::string XmessageAnswer(BoxKind kind, int status) {
  switch (kind) {
    case BoxKind::Question: return status == 0 ? "yes" : "no";
    case BoxKind::About: return status == 0 ? "ok" : "cancel";
    case BoxKind::YesNoCancel: return status == kXmessageYes ? "yes" : status == kXmessageNo ? "no" : "cancel";
    case BoxKind::Crash: {
      const std::vector<std::string>& choices = CrashChoices();
      int index = status - kXmessageCrashBase;
      return index >= 0 && index < static_cast<int>(choices.size()) ? choices[static_cast<std::size_t>(index)] : "";
    }
    default: return "ok";
  }
}
