#include "editor/level_picker.h"

#include <string>
#include <vector>

#include "editor/level_export.h"
#include "editor/level_switch.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "level/level_display.h"
#include "level/leveldata.h"
#include "platform/dialogs.h"
#include "shell/base/functions.h"
#include "platform/allegro_include.h"
#include "shell/base/variables.h"

namespace {

constexpr const char* kTitle = "Select Level";
// The last row: a desktop list cannot be typed into, so this row asks for the id.
constexpr const char* kTypeId = "Other...";

std::vector<std::vector<std::string>> PickerRows() {
  std::vector<std::vector<std::string>> rows;
  for (const LevelListRow& level : QBR1_LevelList()) {
    rows.push_back({"0x" + int2hexstr(level.id, 2), level.name, std::to_string(level.archetype),
                    std::to_string(level.tile_w) + " x " + std::to_string(level.tile_h)});
  }
  rows.push_back({kTypeId, "(type a level id)", "", ""});
  return rows;
}

}  // namespace

void RunLevelPicker() {
  std::string answer = PlatformChooseFromList(kTitle, "Choose a level (Other... at the end: type its id):",
                                              {"Id", "Name", "Archetype", "Size (tiles)"}, PickerRows());
  if (answer == kTypeId) answer = PlatformAskText(kTitle, "Level id (decimal, or hexadecimal after 0x):", "");
  if (answer.empty()) return;
  // Blanks around a typed id do not matter.
  const std::size_t begin = answer.find_first_not_of(" \t");
  const std::string typed =
      begin == std::string::npos ? "" : answer.substr(begin, answer.find_last_not_of(" \t") - begin + 1);
  int id = -1;
  if (!ParseLevelId(typed, id) || !SwitchToLevel(id)) {
    ErrorBox("\"" + answer +
                 "\" is not a level that can be shown.\nChoose an id from 0 to 229 (0x00 to 0xE5); "
                 "0x5C and 0x5E hold no level.",
             kTitle);
  }
}

void RegisterLevelPicker() {
  RegisterCommand(kCmdSelectLevel, {RunLevelPicker, [] { return CurrentMode() == Mode::LevelEditor; }, nullptr});
  RegisterShortcut(kCmdSelectLevel, KEY_L, kModCtrl);
}
