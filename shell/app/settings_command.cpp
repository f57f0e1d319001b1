#include "shell/app/settings_command.h"

#include <string>
#include <vector>

#include "platform/allegro_include.h"

#include "editor/view_layers.h"
#include "music/music_browser.h"
#include "platform/config_lock.h"
#include "platform/dialogs.h"
#include "platform/window.h"
#include "rom/settings_store.h"
#include "shell/app/settings_form.h"
#include "shell/app/window_scale.h"
#include "shell/base/functions.h"

namespace {

constexpr const char* kTitle = "Settings";

// The values the form shows, in its order: those in use now.
std::vector<std::string> CurrentSettings() {
  std::string emulator;
  {
    ConfigGuard guard;
    emulator = get_config_string("Emulator", "Command", "");
  }
  return {emulator, std::to_string(PlatformWindowScale()), MusicFolder(), int2hexstr(ViewGridColour(), 6)};
}

}  // namespace

void EditSettings() {
  const std::vector<std::string> shown = CurrentSettings();
  std::vector<FormField> fields;
  for (int i = 0; i < kSettingCount; ++i) fields.push_back({SettingLabel(static_cast<Setting>(i)), shown[i]});
  if (!PlatformAskForm(kTitle, "A field left empty keeps its value.", fields)) return;
  const SettingsChange change = ChangeSettings(shown, fields, {LargestWindowScale()});
  if (!change.problems.empty()) {
    std::string text = "Nothing was changed:";
    for (const std::string& problem : change.problems) text += "\n" + problem;
    ErrorBox(text, kTitle);
    return;
  }
  if (change.sections.empty()) return;
  // The configuration in memory takes the settings also when the file cannot: they serve while the program runs.
  std::string error;
  if (!StoreSettings(change.sections, error)) ErrorBox(SettingsNotStoredText(error), kTitle);
  // The grid's colour is read again; the emulator command and the music folder are read where they are used.
  ReloadViewLayers();
  if (change.scale != 0) ChangeWindowScale(change.scale);
}
