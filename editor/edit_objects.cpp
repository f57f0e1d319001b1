#include "editor/edit_objects.h"

#include <cstdlib>
#include <map>

#include "editor/status_message.h"
#include "level/level_records.h"
#include "platform/config_lock.h"
#include "platform/dialogs.h"
#include "shell/base/functions.h"

namespace {

constexpr const char* kNamesSection = "OBJs_Names0001";

std::string NameOf(unsigned zo) {
  ConfigGuard guard;
  return get_config_string(kNamesSection, int2hexstr(static_cast<int>(zo), 4).c_str(), "No Definition");
}

}  // namespace

std::vector<ObjectDefinitionRow> ObjectDefinitionRows() {
  std::map<unsigned, int> uses;  // definition -> objects using it in the image
  {
    ConfigGuard guard;
    const char** names = nullptr;
    const int n = list_config_entries(kNamesSection, &names);
    for (int i = 0; i < n; ++i) {
      char* end = nullptr;
      const unsigned long zo = std::strtoul(names[i], &end, 16);
      if (end != names[i] && *end == '\0' && zo <= 0xFFFF) uses.emplace(static_cast<unsigned>(zo), 0);
    }
    if (names != nullptr) free_config_entries(&names);
  }
  const RomView rom = CurrentRom();
  std::map<long long, bool> lists_seen;  // levels may share a list; count its objects once
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    if (QBR1_IsHiddenLevel(id)) continue;
    const long long at = Get_QBR1_LevelObjectMap(id);
    if (!lists_seen.emplace(at, true).second) continue;
    for (const QBR1RawObject& r : QBR1_ReadRawObjects(rom, at)) ++uses[r.Definition()];
  }
  std::vector<ObjectDefinitionRow> rows;
  for (const auto& [zo, count] : uses) rows.push_back({zo, NameOf(zo), count});
  return rows;
}

bool ParseDefinitionAnswer(const std::string& answer, unsigned& zo) {
  std::string digits = answer;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) digits = digits.substr(2);
  if (digits.empty() || digits.size() > 4) return false;
  char* end = nullptr;
  const unsigned long v = std::strtoul(digits.c_str(), &end, 16);
  if (*end != '\0') return false;
  zo = static_cast<unsigned>(v);
  return true;
}

bool AskObjectDefinition(const std::string& text, unsigned& zo) {
  std::vector<std::vector<std::string>> table;
  for (const ObjectDefinitionRow& row : ObjectDefinitionRows()) {
    table.push_back({int2hexstr(static_cast<int>(row.zo), 4), row.name, std::to_string(row.uses)});
  }
  const std::string answer = PlatformChooseFromList("Object Definition", text, {"Definition", "Name", "Objects"}, table);
  if (answer.empty()) return false;
  if (!ParseDefinitionAnswer(answer, zo)) {
    ShowStatusMessage("Not a definition address: " + answer);
    return false;
  }
  return true;
}

void ChooseObjectDefinition(RecordListEditor<QBR1RawObject>& list) {
  const std::size_t n = list.SelectedCount();
  if (n == 0) return;
  unsigned zo = 0;
  if (!AskObjectDefinition("Definition for the " + std::to_string(n) + " selected " + (n == 1 ? "object:" : "objects:"),
                           zo)) {
    return;
  }
  if (list.SetSelectedDefinition(zo)) ShowStatusMessage("Definition " + int2hexstr(static_cast<int>(zo), 4) + " - " + NameOf(zo));
}
