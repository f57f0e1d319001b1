#include "rom/settings_store.h"

#include <cctype>
#include <cstddef>

#include "platform/allegro_include.h"
#include "platform/config_lock.h"
#include "platform/data_paths.h"
#include "rom/file_replace.h"
#include "rom/globaldata.h"

namespace {

std::string Trimmed(const std::string& s) {
  std::size_t begin = 0, end = s.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(s[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(s[end - 1]))) --end;
  return s.substr(begin, end - begin);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// The section a line opens ("" when it opens none); a line "[]" opens the unnamed one, which no
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
  if (t.empty() || t.front() == '#') return std::nullopt;
  const std::size_t equals = t.find('=');
  if (equals == std::string::npos) return std::nullopt;
  return Trimmed(t.substr(0, equals));
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string KeyLine(const SettingChange& c) { return c.key + " = " + *c.value; }

}  // namespace

std::string WithSettingChanges(const std::string& text, const std::string& section,
                               const std::vector<SettingChange>& changes) {
  std::vector<std::string> lines = Lines(text);
  // Where the section's lines are: its header, and the line after its last key.
  std::optional<std::size_t> header;
  std::size_t insert_at = 0;
  bool inside = false;
  std::vector<bool> done(changes.size(), false);
  for (std::size_t i = 0; i < lines.size();) {
    if (const std::optional<std::string> name = SectionOf(lines[i])) {
      inside = SameName(*name, section);
      if (inside && !header) {
        header = i;
        insert_at = i + 1;
      }
      ++i;
      continue;
    }
    const std::optional<std::string> key = inside ? KeyOf(lines[i]) : std::nullopt;
    if (!key) {
      ++i;
      continue;
    }
    bool removed = false;
    for (std::size_t c = 0; c < changes.size(); ++c) {
      if (!SameName(*key, changes[c].key)) continue;
      if (changes[c].value && !done[c]) {
        lines[i] = KeyLine(changes[c]);
      } else {
        removed = true;  // removed, or a second line of a key already set
      }
      done[c] = true;
      break;
    }
    if (removed) {
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    insert_at = ++i;
  }
  std::vector<std::string> added;
  for (std::size_t c = 0; c < changes.size(); ++c) {
    if (!done[c] && changes[c].value) added.push_back(KeyLine(changes[c]));
  }
  if (!added.empty() && !header) {
    if (!lines.empty() && !Trimmed(lines.back()).empty()) lines.push_back("");
    lines.push_back("[" + section + "]");
    insert_at = lines.size();
  }
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert_at), added.begin(), added.end());
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

bool StoreSettings(const std::string& section, const std::vector<SettingChange>& changes, std::string& error) {
  return StoreSettings({{section, changes}}, error);
}

bool StoreSettings(const std::vector<SectionChanges>& sections, std::string& error) {
  // One lock over both copies: the main thread's flush at closing writes the memory copy to the same file.
  ConfigGuard guard;
  for (const SectionChanges& s : sections) {
    for (const SettingChange& c : s.changes)
      set_config_string(s.section.c_str(), c.key.c_str(), c.value ? c.value->c_str() : nullptr);
  }
  const std::string path = PlatformSettingsFile(kProgramConfigPath, false);
  std::vector<unsigned char> bytes;
  if (StampOf(path).exists && !ReadRegularFile(path, bytes, error)) return false;
  std::string text(bytes.begin(), bytes.end());
  for (const SectionChanges& s : sections) text = WithSettingChanges(text, s.section, s.changes);
  return ReplaceFile(path, reinterpret_cast<const unsigned char*>(text.data()), text.size(), error);
}
