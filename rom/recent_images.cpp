#include "rom/recent_images.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <system_error>

#include "platform/allegro_include.h"
#include "platform/config_lock.h"
#include "rom/settings_store.h"

namespace fs = std::filesystem;

namespace {

constexpr char kSection[] = "Recent";

unsigned generation = 0;

std::string KeyName(std::size_t index) { return "Image" + std::to_string(index + 1); }

std::string Canonical(const std::string& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  if (ec) return fs::path(path).lexically_normal().string();
  const fs::path canonical = fs::weakly_canonical(absolute, ec);
  return (ec ? absolute.lexically_normal() : canonical).string();
}

std::vector<SettingChange> ListChanges(const std::vector<std::string>& list) {
  std::vector<SettingChange> changes;
  for (std::size_t i = 0; i < kRecentImagesMax; ++i)
    changes.push_back({KeyName(i), i < list.size() ? std::optional<std::string>(list[i]) : std::nullopt});
  return changes;
}

// The list as the settings text `text` keeps it.
std::vector<std::string> ListIn(const std::string& text) {
  std::vector<std::string> list;
  for (std::size_t i = 0; i < kRecentImagesMax; ++i) {
    const std::optional<std::string> entry = SettingValue(text, kSection, KeyName(i));
    if (entry && !entry->empty()) list.push_back(*entry);
  }
  return list;
}

// Changes the list as `change` does, starting from the list the settings file holds now (another
// window may have changed it), or the one in memory when the file cannot be read.
void Update(const std::function<std::vector<std::string>(std::vector<std::string>)>& change) {
  std::string error;
  const bool stored = UpdateSettings(
      [&](const std::string* text) {
        return std::vector<SectionChanges>{{kSection, ListChanges(change(text ? ListIn(*text) : RecentImages()))}};
      },
      error);
  ++generation;
  if (!stored) std::fprintf(stderr, "qbrre: the list of recent images was not saved: %s\n", error.c_str());
}

}  // namespace

bool SameImagePath(const std::string& a, const std::string& b) { return Canonical(a) == Canonical(b); }

std::vector<std::string> WithRecentImage(std::vector<std::string> list, const std::string& path) {
  list = WithoutRecentImage(std::move(list), path);
  list.insert(list.begin(), path);
  if (list.size() > kRecentImagesMax) list.resize(kRecentImagesMax);
  return list;
}

std::vector<std::string> WithoutRecentImage(std::vector<std::string> list, const std::string& path) {
  const std::string canonical = Canonical(path);
  std::erase_if(list, [&](const std::string& entry) { return Canonical(entry) == canonical; });
  return list;
}

std::vector<std::string> RecentImages() {
  std::vector<std::string> list;
  ConfigGuard guard;
  for (std::size_t i = 0; i < kRecentImagesMax; ++i) {
    const std::string entry = get_config_string(kSection, KeyName(i).c_str(), "");
    if (!entry.empty()) list.push_back(entry);
  }
  return list;
}

bool StoreRecentImages(const std::vector<std::string>& list, std::string& error) {
  ++generation;
  return StoreSettings(kSection, ListChanges(list), error);
}

void RememberRecentImage(const std::string& path) {
  // A path of more than one line cannot be kept in the settings file.
  if (path.empty() || path.find('\n') != std::string::npos) return;
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  const std::string entry = ec ? path : absolute.lexically_normal().string();
  Update([&](std::vector<std::string> list) { return WithRecentImage(std::move(list), entry); });
}

void ForgetRecentImage(const std::string& path) {
  Update([&](std::vector<std::string> list) { return WithoutRecentImage(std::move(list), path); });
}

unsigned RecentImagesGeneration() { return generation; }
