#include "rom/settings_store.h"

#include <sys/stat.h>

#include <cctype>
#include <cstddef>

#include "platform/allegro_include.h"
#include "platform/config_lock.h"
#include "platform/data_paths.h"
#include "rom/file_replace.h"
#include "rom/globaldata.h"
#include "shell/base/functions.h"

namespace {

// One line of the file: what it holds and how it ends ("\n", "\r\n", or "" for a last line without one).
struct Line {
  std::string text;
  std::string end;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string Trimmed(const std::string& s) {
  std::size_t begin = 0, end = s.size();
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// The section a line opens; nothing when it opens none. A line "[]" opens the unnamed one, which no
// caller names.
std::optional<std::string> SectionOf(const std::string& line) {
  const std::string t = Trimmed(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  const std::size_t close = t.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trimmed(t.substr(1, close - 1));
}

// The key a line sets; nothing for comments, blank lines and lines without '='.
std::optional<std::string> KeyOf(const std::string& line) {
  const std::string t = Trimmed(line);
  if (t.empty() || t.front() == '#' || t.front() == ';') return std::nullopt;
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos) return std::nullopt;
  return Trimmed(line.substr(0, equals));
}

std::vector<Line> Lines(const std::string& text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t newline = text.find('\n', start);
    if (newline == std::string::npos) {
      lines.push_back({text.substr(start), ""});
      break;
    }
    const bool crlf = newline > start && text[newline - 1] == '\r';
    lines.push_back({text.substr(start, newline - start - (crlf ? 1 : 0)), crlf ? "\r\n" : "\n"});
    start = newline + 1;
  }
  return lines;
}

std::string KeyLine(const SettingChange& c) { return c.key + " = " + *c.value; }

// Calls `visit(index, key)` for every line that sets a key in a section named `section`.
template <class Visit>
void ForEachKeyLine(const std::vector<Line>& lines, const std::string& section, Visit visit) {
  bool inside = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const std::optional<std::string> name = SectionOf(lines[i].text)) {
      inside = SameName(*name, section);
      continue;
    }
    if (!inside) continue;
    if (const std::optional<std::string> key = KeyOf(lines[i].text)) visit(i, *key);
  }
}

// The length of the UTF-8 sequence at `s[i]`, or 0 when none starts there.
std::size_t Utf8Length(const std::string& s, std::size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  std::size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 && c >= 0xC2 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 && c <= 0xF4 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  return n;
}

// The changes made in memory that the file does not hold yet (noted, or refused by the disk), one
// per key, in the order the keys were first changed.
std::vector<SectionChanges> unwritten;
bool writes = false;
SettingsLayer loaded_layer = SettingsLayer::Alone;
bool told = false;  // the user knows that the file is not being written

void Remember(const std::vector<SectionChanges>& sections) {
  for (const SectionChanges& s : sections) {
    for (const SettingChange& c : s.changes) {
      set_config_string(s.section.c_str(), c.key.c_str(), c.value ? c.value->c_str() : nullptr);
      // Without a file to write, memory is all there is.
      if (!writes) continue;
      // A later change of a key replaces the earlier one, so the list stays as small as the set of keys.
      bool merged = false;
      for (SectionChanges& u : unwritten) {
        if (!SameName(u.section, s.section)) continue;
        for (SettingChange& held : u.changes) {
          if (SameName(held.key, c.key)) {
            held = c;
            merged = true;
          }
        }
        if (!merged) {
          u.changes.push_back(c);
          merged = true;
        }
      }
      if (!merged) unwritten.push_back({s.section, {c}});
    }
  }
}

std::string WithChanges(std::string text, const std::vector<SectionChanges>& sections) {
  for (const SectionChanges& s : sections) text = WithSettingChanges(text, s.section, s.changes);
  return text;
}

std::string SettingsPath() { return PlatformSettingsFile(kProgramConfigPath, false); }

// Reads the settings file into `text` ("" when there is none). False, with `error`, when it is there
// but cannot be read.
bool ReadSettingsFile(const std::string& path, std::string& text, std::string& error) {
  text.clear();
  if (!StampOf(path).exists) return true;
  std::vector<unsigned char> bytes;
  if (!ReadRegularFile(path, bytes, error)) return false;
  text.assign(bytes.begin(), bytes.end());
  return true;
}

}  // namespace

std::string WithSettingChanges(const std::string& text, const std::string& section,
                               const std::vector<SettingChange>& changes) {
  std::vector<Line> lines = Lines(text);
  const std::string newline = lines.empty() || lines.front().end.empty() ? "\n" : lines.front().end;
  // Where the section is (its first header) and where a new key goes: after its last key line, or
  // after the header of a section that has none.
  std::optional<std::size_t> insert_at;
  for (std::size_t i = 0; i < lines.size() && !insert_at; ++i) {
    const std::optional<std::string> name = SectionOf(lines[i].text);
    if (name && SameName(*name, section)) insert_at = i + 1;
  }
  std::vector<bool> done(changes.size(), false);
  std::vector<bool> erase(lines.size(), false);
  ForEachKeyLine(lines, section, [&](std::size_t i, const std::string& key) {
    if (insert_at && i >= *insert_at) insert_at = i + 1;
    for (std::size_t c = 0; c < changes.size(); ++c) {
      if (!SameName(key, changes[c].key)) continue;
      if (changes[c].value && !done[c]) lines[i].text = KeyLine(changes[c]);
      else erase[i] = true;  // removed, or a second line of a key already set
      done[c] = true;
      return;
    }
  });
  std::vector<Line> added;
  for (std::size_t c = 0; c < changes.size(); ++c) {
    if (!done[c] && changes[c].value) added.push_back({KeyLine(changes[c]), newline});
  }
  if (!added.empty() && !insert_at) {
    if (!lines.empty() && lines.back().end.empty()) lines.back().end = newline;
    if (!lines.empty() && !Trimmed(lines.back().text).empty()) lines.push_back({"", newline});
    lines.push_back({"[" + section + "]", newline});
    insert_at = lines.size();
  }
  // The line a new key follows ends in a line break, also when it was the file's last.
  if (!added.empty() && *insert_at > 0 && lines[*insert_at - 1].end.empty()) lines[*insert_at - 1].end = newline;
  std::string out;
  out.reserve(text.size() + 64 * added.size());
  for (std::size_t i = 0; i <= lines.size(); ++i) {
    if (insert_at && i == *insert_at)
      for (const Line& line : added) out += line.text + line.end;
    if (i == lines.size()) break;
    if (i < erase.size() && erase[i]) continue;
    out += lines[i].text + lines[i].end;
  }
  return out;
}

std::optional<std::string> SettingValue(const std::string& text, const std::string& section, const std::string& key) {
  const std::vector<Line> lines = Lines(text);
  std::optional<std::string> value;
  ForEachKeyLine(lines, section, [&](std::size_t i, const std::string& name) {
    if (value || !SameName(name, key)) return;
    const std::size_t equals = lines[i].text.find('=');
    value = Trimmed(lines[i].text.substr(equals + 1));
  });
  return value;
}

std::string AllegroSettingsText(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 64);
  bool blank = true;  // the line before the current one is blank (or there is none)
  for (const Line& line : Lines(text)) {
    // Allegro adds a key to its section at the section's first blank line: every section ends in one.
    if (SectionOf(line.text) && !blank) out += '\n';
    for (std::size_t i = 0; i < line.text.size();) {
      const std::size_t n = Utf8Length(line.text, i);
      if (n == 0) {
        out += '?';
        ++i;
      } else {
        out.append(line.text, i, n);
        i += n;
      }
    }
    out += '\n';
    blank = Trimmed(line.text).empty();
  }
  return out;
}

void UseSettingsFileWrites(bool write) {
  ConfigGuard guard;
  writes = write;
  unwritten.clear();
  told = false;
}

void LoadSettings(SettingsLayer layer) {
  std::string text, error;
  {
    const std::string path = SettingsPath();
    // Read without the lock: the file is only ever replaced whole by a rename.
    if (!ReadSettingsFile(path, text, error)) text.clear();
  }
  const std::string given = AllegroSettingsText(text);
  ConfigGuard guard;
  loaded_layer = layer;
  if (layer == SettingsLayer::Alone) set_config_data(given.data(), static_cast<int>(given.size()));
  else override_config_data(given.data(), static_cast<int>(given.size()));
  for (const SectionChanges& s : unwritten)
    for (const SettingChange& c : s.changes)
      set_config_string(s.section.c_str(), c.key.c_str(), c.value ? c.value->c_str() : nullptr);
}

void ReloadSettings() {
  SettingsLayer layer;
  {
    ConfigGuard guard;
    layer = loaded_layer;
  }
  LoadSettings(layer);
}

bool UpdateSettings(const SettingsEdit& edit, std::string& error) {
  // The process's lock first, then the one of every window: always in this order.
  ConfigGuard guard;
  if (!writes) {
    if (edit) Remember(edit(nullptr));
    return true;
  }
  const std::string path = SettingsPath();
  SettingsFileLock lock(path);
  std::string text;
  bool read = ReadSettingsFile(path, text, error);
  // A file without any write permission is one the user keeps as it is (root could still replace it).
  struct stat info {};
  if (read && ::stat(path.c_str(), &info) == 0 && (info.st_mode & 0222) == 0) {
    error = "the file is read-only";
    read = false;
  }
  std::vector<SectionChanges> changes;
  if (edit) {
    const std::string now = WithChanges(text, unwritten);
    changes = edit(read ? &now : nullptr);
  }
  Remember(changes);
  if (!read) return false;
  const std::string written = WithChanges(text, unwritten);
  // Replaced whole by a rename either way; the flush to disk is left to the system: a window writes
  // its settings many times a session (each flush costs tens of milliseconds on a busy disk), and a
  // process that is killed loses nothing the system already holds.
  if (written != text && !ReplaceFile(path, reinterpret_cast<const unsigned char*>(written.data()), written.size(),
                                      error, ReplaceSync::Batch))
    return false;
  unwritten.clear();
  told = false;
  return true;
}

bool StoreSettings(const std::string& section, const std::vector<SettingChange>& changes, std::string& error) {
  return StoreSettings({{section, changes}}, error);
}

bool StoreSettings(const std::vector<SectionChanges>& sections, std::string& error) {
  return UpdateSettings([&](const std::string*) { return sections; }, error);
}

void NoteSettings(const std::vector<SectionChanges>& sections) {
  ConfigGuard guard;
  Remember(sections);
}

bool StoreNotedSettings(std::string& error) {
  {
    ConfigGuard guard;
    if (unwritten.empty() || !writes) return true;
  }
  return UpdateSettings(nullptr, error);
}

void TellSettingsNotStored(const std::string& error) {
  {
    ConfigGuard guard;
    if (told) return;
    told = true;
  }
  ErrorBox(SettingsNotStoredText(error), "Settings");
}

std::string SettingsNotStoredText(const std::string& error) {
  return "Configuration.INI could not be written:\n" + error +
         ".\n\nThe file on disk was not changed; the new settings hold while the program runs.";
}
