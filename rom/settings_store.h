// The program's settings file, Configuration.INI, read and written by this module alone. Allegro gets
// the settings as text in memory (it reads them through get_config_*), never the file's name, so it
// never writes the file itself. Every change goes into that copy in memory and into the file: under
// the file lock every window of the program shares (platform/config_lock.h), the file is read again,
// the change made in its text, and the text written by temporary file and rename
// (rom/file_replace.h); every line the change does not touch stays byte for byte.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// One key of a section: set to `value` (one line), or removed when it has none.
struct SettingChange {
  std::string key;
  std::optional<std::string> value;
};

// The changes of one section.
struct SectionChanges {
  std::string section;
  std::vector<SettingChange> changes;
};

// The settings text `text` with `changes` made in section `section` (names compared ignoring case,
// as Allegro does): a key there gets its new value in its own line ("Key = value", ending as the
// line did), a new key goes after the section's last key, wherever the section is (a missing section
// is added at the end), a removed key's line goes. Every other byte stays as it was: comments, blank
// lines, CRLF, bytes that are not UTF-8, lines of any length. New lines end as the file's first line does.
std::string WithSettingChanges(const std::string& text, const std::string& section,
                               const std::vector<SettingChange>& changes);

// The value of `key` in `section` of the settings text `text` (the first line that sets it), trimmed;
// nothing when no line sets it.
std::optional<std::string> SettingValue(const std::string& text, const std::string& section, const std::string& key);

// The settings text as Allegro gets it in memory: lines end in LF, a byte that is not part of UTF-8
// reads as '?' (Allegro decodes UTF-8, and a stray lead byte would take the line's end with it), and
// a blank line comes before every section (Allegro adds a key to a section at its first blank line).
std::string AllegroSettingsText(const std::string& text);

// Where the settings sit in Allegro's configuration: alone, or over the game configuration that was
// just set (set_config_file or set_config_data), whose values they override.
enum class SettingsLayer { Alone, OverGameConfig };

// Where changes go besides memory: the settings file (the program with a window, from its start-up),
// or nowhere (the default: the commands without a window and code run without the program never
// write settings; a change then lasts until the settings are read again). Reads always come from
// the settings file.
void UseSettingsFileWrites(bool write);

// Reads the settings file (nothing when there is none or it cannot be read) and hands it to Allegro
// in memory at `layer`, with the changes that have not reached the file yet made again.
void LoadSettings(SettingsLayer layer);

// LoadSettings at the layer of the last LoadSettings: the settings another window wrote since reach memory.
void ReloadSettings();

// Makes `changes` in section `section` of the configuration in memory and of the settings file
// (Configuration.INI where PlatformSettingsFile finds it). False, with a short reason in `error` and
// the file as it was, when the file could not be read or replaced; the copy in memory changes either
// way, and the next write that succeeds carries the change too.
bool StoreSettings(const std::string& section, const std::vector<SettingChange>& changes, std::string& error);

// StoreSettings for changes in several sections, made in the file by one replacement.
bool StoreSettings(const std::vector<SectionChanges>& sections, std::string& error);

// Computes changes from the settings file's text as it is on disk now (read under the lock, with the
// changes not yet on disk made), so that they build on what another window wrote; nullptr when the
// file cannot be read (the edit then works from the configuration in memory).
using SettingsEdit = std::function<std::vector<SectionChanges>(const std::string* text)>;

// StoreSettings for the changes `edit` computes.
bool UpdateSettings(const SettingsEdit& edit, std::string& error);

// Makes the changes in memory only; the next write of the settings file carries them (for a value
// that changes many times a second, such as the level view's position).
void NoteSettings(const std::vector<SectionChanges>& sections);

// Writes the changes only noted so far (nothing when there are none). As StoreSettings.
bool StoreNotedSettings(std::string& error);

// The text of the box that says the settings file could not be written, and why.
std::string SettingsNotStoredText(const std::string& error);

// Tells the user, in a box titled "Settings", that the settings file could not be written and why; once, until a write
// succeeds again, so a setting that changes often does not bring a box each time.
void TellSettingsNotStored(const std::string& error);
