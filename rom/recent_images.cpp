#include "rom/recent_images.h"

#include <cstdio>
#include <filesystem>
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

void Store(const std::vector<std::string>& list) {
  std::string error;
  if (!StoreRecentImages(list, error))
    std::fprintf(stderr, "qbrre: the list of recent images was not saved: %s\n", error.c_str());
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
  std::vector<SettingChange> changes;
  for (std::size_t i = 0; i < kRecentImagesMax; ++i)
    changes.push_back({KeyName(i), i < list.size() ? std::optional<std::string>(list[i]) : std::nullopt});
  ++generation;
  return StoreSettings(kSection, changes, error);
}

void RememberRecentImage(const std::string& path) {
  // A path of more than one line cannot be kept in the settings file.
  if (path.empty() || path.find('\n') != std::string::npos) return;
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  Store(WithRecentImage(RecentImages(), ec ? path : absolute.lexically_normal().string()));
}

void ForgetRecentImage(const std::string& path) { Store(WithoutRecentImage(RecentImages(), path)); }

unsigned RecentImagesGeneration() { return generation; }
