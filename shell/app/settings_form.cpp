#include "shell/app/settings_form.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "editor/view_layers.h"
#include "platform/process_spawn.h"
#include "shell/base/functions.h"

namespace {

struct SettingEntry {
  const char* label;
  const char* section;
  const char* key;
};
constexpr SettingEntry kEntries[kSettingCount] = {{"Emulator command", "Emulator", "Command"},
                                                  {"Window scale", "Engine", "Scale"},
                                                  {"Music folder", "Music", "Folder"},
                                                  {"Grid colour (RRGGBB)", "View", "GridColour"}};

const SettingEntry& Entry(Setting setting) { return kEntries[static_cast<int>(setting)]; }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string CheckScale(const std::string& text, const SettingLimits& limits, std::string& stored) {
  const bool digits = !text.empty() && text.size() <= 3 &&
                      std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
  const int scale = digits ? std::stoi(text) : 0;
  if (scale < 1) return Quoted(text) + " is not a whole number of 1 or more.";
  if (scale > limits.largest_scale)
    return std::to_string(scale) + " does not fit this screen; the largest that holds the editor's window is " +
           std::to_string(limits.largest_scale) + ".";
  stored = std::to_string(scale);
  return "";
}

// "" when `text` is a value `setting` can take, with `stored` set to it as Configuration.INI keeps
// it; else why it is refused.
std::string Check(Setting setting, const std::string& text, const SettingLimits& limits, std::string& stored) {
  switch (setting) {
    case Setting::Emulator: {
      std::vector<std::string> words;
      if (!PlatformSplitCommand(text, words)) return "a quote is not closed.";
      if (words.empty()) return "names no program.";
      stored = text;
      return "";
    }
    case Setting::Scale: return CheckScale(text, limits, stored);
    case Setting::MusicFolder: {
      std::error_code error;
      if (!std::filesystem::is_directory(text, error)) return Quoted(text) + " is not a folder.";
      stored = text;
      return "";
    }
    case Setting::GridColour: {
      int rgb = 0;
      if (!ParseGridColour(text, rgb)) return Quoted(text) + " is not six hex digits RRGGBB.";
      stored = int2hexstr(rgb, 6);
      return "";
    }
  }
  return "unknown setting.";
}

}  // namespace

const char* SettingLabel(Setting setting) { return Entry(setting).label; }

SettingsChange ChangeSettings(const std::vector<std::string>& shown, const std::vector<FormField>& answered,
                              const SettingLimits& limits) {
  SettingsChange change;
  for (int i = 0; i < kSettingCount && i < static_cast<int>(shown.size()) && i < static_cast<int>(answered.size());
       ++i) {
    if (answered[i].value == shown[i]) continue;
    const Setting setting = static_cast<Setting>(i);
    std::string stored;
    const std::string problem = Check(setting, answered[i].value, limits, stored);
    if (!problem.empty()) {
      change.problems.push_back(std::string(SettingLabel(setting)) + ": " + problem);
      continue;
    }
    change.sections.push_back({Entry(setting).section, {{Entry(setting).key, stored}}});
    if (setting == Setting::Scale) change.scale = std::stoi(stored);
  }
  if (!change.problems.empty()) {
    change.sections.clear();
    change.scale = 0;
  }
  return change;
}
