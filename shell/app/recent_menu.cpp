#include "shell/app/recent_menu.h"

#include <cstdlib>

#include "gui/MenuLoad.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "rom/AppMenu.h"
#include "rom/file_replace.h"
#include "rom/image_save.h"
#include "rom/recent_images.h"
#include "shell/app/mode_switch.h"
#include "shell/base/functions.h"

namespace {

constexpr std::size_t kLabelPathMax = 48;

// The list as the menu shows it since its last parse: what its entries stand for.
std::vector<std::string>& Shown() {
  static std::vector<std::string> shown;
  return shown;
}

bool Gone(std::size_t index) { return index < Shown().size() && !StampOf(Shown()[index]).exists; }

std::string HomeAsTilde(const std::string& path) {
  const char* home = std::getenv("HOME");
  const std::string prefix = home != nullptr ? home : "";
  if (prefix.empty() || prefix == "/" || path.compare(0, prefix.size(), prefix) != 0) return path;
  if (path.size() > prefix.size() && path[prefix.size()] != '/') return path;
  std::string shown(1, '~');
  return shown.append(path, prefix.size());
}

}  // namespace

std::string RecentEntryLabel(std::size_t index, const std::string& path) {
  std::string shown = HomeAsTilde(path);
  if (shown.size() > kLabelPathMax) {
    const std::size_t keep = kLabelPathMax - 3;
    shown = shown.substr(0, keep / 2) + "..." + shown.substr(shown.size() - (keep - keep / 2));
  }
  for (char& c : shown) {
    if (c == '\'') {
      c = '`';
    } else if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) {
      c = '?';
    }
  }
  return std::to_string(index + 1) + " " + shown;
}

std::string RecentMenuText(const std::vector<std::string>& list) {
  if (list.empty()) return "";
  std::string text = "[-]";
  for (std::size_t i = 0; i < list.size() && i < static_cast<std::size_t>(kRecentImageEntries); ++i) {
    text += "[$" + int2hexstr(kCmdRecentImageFirst + static_cast<int>(i), 4) + " Y -- - - '" +
            RecentEntryLabel(i, list[i]) + "']";
  }
  return text;
}

void ChooseRecentImage(std::size_t index) {
  if (index >= Shown().size()) return;
  const std::string path = Shown()[index];
  if (!StampOf(path).exists) {
    ForgetRecentImage(path);
    ErrorBox("\"" + path + "\" is not there any more.\n\nIt was taken off the list of recent images.",
             "Recent Image Gone");
    return;
  }
  if (AppMenuOpenImageFile(path)) RequestMode(ModeAfterOpen());
}

void RegisterRecentImages() {
  for (int i = 0; i < kRecentImageEntries; ++i) {
    const auto index = static_cast<std::size_t>(i);
    const CommandId id = static_cast<CommandId>(kCmdRecentImageFirst + i);
    RegisterCommand(id, {[index] { ChooseRecentImage(index); }, [index] { return index < Shown().size(); }, nullptr});
    RegisterCommandGreyed(id, [index] { return Gone(index); });
  }
  RegisterMenuInsert(
      [] {
        Shown() = RecentImages();
        return RecentMenuText(Shown());
      },
      RecentImagesGeneration);
  SetImageFileHook(RememberRecentImage);
}
