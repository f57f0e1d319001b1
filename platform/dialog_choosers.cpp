#include <cctype>
#include <cstdio>

#include "platform/dialog_backend.h"

// zenity's arguments for the boxes that return text (open, list, save, folder,
// colour, entry, form), and the colour notation they answer in.

namespace {

// "--file-filter=" arguments; zenity separates patterns by spaces.
void AddFileFilters(std::vector<std::string>& args, const std::vector<FileFilter>& filters) {
  for (const FileFilter& filter : filters) {
    std::string patterns = filter.patterns;
    for (char& c : patterns) {
      if (c == ';') c = ' ';
    }
    args.push_back("--file-filter=" + filter.description + " | " + patterns);
  }
}

bool IsHexColour(const std::string& text) {
  if (text.size() != 7 || text[0] != '#') return false;
  for (std::size_t i = 1; i < 7; ++i) {
    if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

// Reads "r,g,b" or "r,g,b,a" channel values 0..255 after the opening parenthesis.
bool ParseRgbChannels(const std::string& body, int& r, int& g, int& b) {
  char close = '\0';
  int used = 0;
  if (std::sscanf(body.c_str(), "%3d,%3d,%3d%c%n", &r, &g, &b, &close, &used) != 4) return false;
  auto inRange = [](int v) { return v >= 0 && v <= 255; };
  if (!inRange(r) || !inRange(g) || !inRange(b)) return false;
  if (close == ')') return static_cast<std::size_t>(used) == body.size();
  if (close != ',') return false;
  // An alpha part is ignored; it only has to close.
  std::size_t end = body.find(')', static_cast<std::size_t>(used));
  return end != std::string::npos && end + 1 == body.size();
}

}  // namespace

std::string CanonicalColour(const std::string& text) {
  int r = 0, g = 0, b = 0;
  if (IsHexColour(text)) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
  }
  bool parsed = false;
  if (text.rfind("rgb(", 0) == 0) parsed = ParseRgbChannels(text.substr(4), r, g, b);
  if (text.rfind("rgba(", 0) == 0) parsed = ParseRgbChannels(text.substr(5), r, g, b);
  if (!parsed) return "";
  char out[8];
  std::snprintf(out, sizeof out, "#%02X%02X%02X", r, g, b);
  return out;
}

std::vector<std::string> ZenityOpenArgs(const std::string& title, const std::vector<FileFilter>& filters,
                                        const std::string& folder) {
  std::vector<std::string> args = {"zenity", "--file-selection", "--title=" + title};
  // A trailing slash names the folder itself, not a file in its parent.
  if (!folder.empty()) args.push_back("--filename=" + folder + "/");
  AddFileFilters(args, filters);
  return args;
}

std::vector<std::string> ZenityListArgs(const std::string& title, const std::string& text,
                                        const std::vector<std::string>& columns,
                                        const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::string> args = {"zenity",           "--list",      "--title=" + title, "--text=" + text,
                                   "--print-column=1", "--width=560", "--height=480"};
  // zenity needs a header per column; one column at least, or it shows nothing.
  std::size_t width = columns.empty() ? 1 : columns.size();
  for (std::size_t i = 0; i < width; ++i) args.push_back("--column=" + (i < columns.size() ? columns[i] : ""));
  args.push_back("--");
  for (const std::vector<std::string>& row : rows) {
    for (std::size_t i = 0; i < width; ++i) args.push_back(i < row.size() ? row[i] : "");
  }
  return args;
}

std::vector<std::string> ZenitySaveArgs(const std::string& title, const std::vector<FileFilter>& filters,
                                        const std::string& folder, const std::string& suggested) {
  std::vector<std::string> args = {"zenity", "--file-selection", "--save", "--confirm-overwrite", "--title=" + title};
  if (!suggested.empty() && suggested[0] == '/') {
    args.push_back("--filename=" + suggested);
  } else if (!folder.empty()) {
    // A trailing slash alone names the folder itself, not a file in its parent.
    args.push_back("--filename=" + folder + "/" + suggested);
  }
  AddFileFilters(args, filters);
  return args;
}

std::vector<std::string> ZenityFolderArgs(const std::string& title, const std::string& folder) {
  std::vector<std::string> args = {"zenity", "--file-selection", "--directory", "--title=" + title};
  if (!folder.empty()) args.push_back("--filename=" + folder + "/");
  return args;
}

std::vector<std::string> ZenityColourArgs(const std::string& title, const std::string& initial) {
  std::vector<std::string> args = {"zenity", "--color-selection", "--title=" + title};
  std::string colour = CanonicalColour(initial);
  if (!colour.empty()) args.push_back("--color=" + colour);
  return args;
}

std::vector<std::string> ZenityTextArgs(const std::string& title, const std::string& text, const std::string& initial) {
  return {"zenity", "--entry", "--title=" + title, "--text=" + text, "--entry-text=" + initial};
}

std::vector<std::string> ZenityFormArgs(const std::string& title, const std::string& text,
                                        const std::vector<FormField>& fields) {
  std::vector<std::string> args = {"zenity", "--forms", "--title=" + title, "--text=" + text, "--separator=|"};
  for (const FormField& field : fields) args.push_back("--add-entry=" + field.label + " (now: " + field.value + ")");
  return args;
}

bool ParseFormAnswer(const std::string& answer, const std::vector<FormField>& fields,
                     std::vector<std::string>& values) {
  if (answer == "cancel" || fields.empty()) return false;
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t bar = answer.find('|', start);
    parts.push_back(answer.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  if (parts.size() != fields.size()) return false;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].empty()) parts[i] = fields[i].value;
  }
  values = std::move(parts);
  return true;
}
