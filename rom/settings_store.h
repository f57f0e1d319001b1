// The program's settings in Configuration.INI, changed while it runs. Allegro keeps the settings in
// memory and writes them back on its own at times; a change made here goes both into that copy (so
// that what Allegro writes later keeps it) and at once into the file on disk, by temporary file and
// rename (rom/file_replace.h), every other line of the file kept as it was.
#pragma once

#include <optional>
#include <string>
#include <vector>

// One key of a section: set to `value` (one line), or removed when it has none.
struct SettingChange {
  std::string key;
  std::optional<std::string> value;
};

// The settings text `text` with `changes` made in section `section` (names compared ignoring case,
// as Allegro does): a key there gets its new value in its own line ("Key = value"), a new key goes
// after the section's last key (a missing section is added at the end), a removed key's line goes;
// every other line, comment and blank line stays as it was.
std::string WithSettingChanges(const std::string& text, const std::string& section,
                               const std::vector<SettingChange>& changes);

// Makes `changes` in section `section` of the configuration in memory and of the settings file
// (Configuration.INI where PlatformSettingsFile finds it). False, with a short reason in `error` and
// the file as it was, when the file could not be read or replaced; the copy in memory changes either way.
bool StoreSettings(const std::string& section, const std::vector<SettingChange>& changes, std::string& error);

// The changes of one section.
struct SectionChanges {
  std::string section;
  std::vector<SettingChange> changes;
};

// StoreSettings for changes in several sections, made in the file by one replacement.
bool StoreSettings(const std::vector<SectionChanges>& sections, std::string& error);
