#pragma once

#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "rom/settings_store.h"

// The settings of Level > Settings..., the form's fields in this order, and how an
// answered form becomes keys of Configuration.INI: only the fields whose value the
// user changed are checked and written.
enum class Setting { Emulator, Scale, MusicFolder, GridColour };
constexpr int kSettingCount = 4;

// The field's label, which also names it in a refusal: "Emulator command", "Window
// scale", "Music folder", "Grid colour (RRGGBB)".
const char* SettingLabel(Setting setting);

// What the screen allows: the largest window scale at which the editor's window fits.
struct SettingLimits {
  int largest_scale = 1;
};

// What an answered form changes.
struct SettingsChange {
  std::vector<SectionChanges> sections;  // to store, in the form's order
  int scale = 0;                         // the new window scale; 0 when it is not changed
  std::vector<std::string> problems;     // one line per refused value; then there are no sections
};

// The change of `answered` (the form's fields after it was answered) against the
// values it showed, `shown` (both in the form's order, kSettingCount of them). A
// changed value is refused with a line that starts with its label unless it fits:
// an emulator command names a program and closes its quotes; a scale is a whole
// number from 1 to the largest; a music folder is a folder; a grid colour is exactly
// six hex digits, kept in upper case.
SettingsChange ChangeSettings(const std::vector<std::string>& shown, const std::vector<FormField>& answered,
                              const SettingLimits& limits);
