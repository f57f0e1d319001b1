#include "editor/add_records.h"

#include <cstdio>
#include <cstdlib>

#include "editor/edit_objects.h"
#include "editor/status_message.h"
#include "platform/dialogs.h"
#include "rom/globaldata.h"
#include "shell/base/functions.h"

namespace {

std::string Hex(long long v, int digits) {
  char text[24];
  std::snprintf(text, sizeof text, "%0*llX", digits, v);
  return text;
}

// What the status line adds when the list moved to make room.
std::string MovedNote(const std::string& note) { return note.empty() ? "" : "; " + note; }

}  // namespace

bool AddObjectAt(RecordListEditor<QBR1RawObject>& list, int x, int y) {
  unsigned zo = 0;
  if (!AskObjectDefinition("Definition of the new object:", zo)) return false;
  const ObjectTemplate t = QBR1_ObjectTemplate(CurrentRom(), qbr1gbl, zo, list.Records());
  std::string why;
  if (!list.Add(QBR1_NewObject(t, zo, 0, 0, 0), x, y, why)) {
    ShowStatusMessage("Add: nothing changed. " + why);
    return false;
  }
  ShowStatusMessage("Added object " + Hex(zo, 4) + ": " + QBR1_ObjectTemplateText(t) + MovedNote(list.Note()));
  return true;
}

std::vector<std::vector<std::string>> BananaShapeRows(const std::vector<BananaShapeUse>& shapes) {
  std::vector<std::vector<std::string>> rows;
  for (const BananaShapeUse& s : shapes) {
    rows.push_back({Hex(s.shape, 4), Hex(s.offset, 6), std::to_string(s.columns) + " x " + std::to_string(s.rows),
                    std::to_string(s.bananas), std::to_string(s.groups)});
  }
  return rows;
}

bool AddBananaGroupAt(RecordListEditor<QBR1RawBanana>& list, int x, int y) {
  const std::vector<BananaShapeUse> shapes = QBR1_BananaShapesInUse(CurrentRom(), qbr1gbl);
  if (shapes.empty()) {
    ShowStatusMessage("Add: the image's banana groups use no shape to copy");
    return false;
  }
  const std::string answer = PlatformChooseFromList("Banana Shape", "Shape of the new banana group:",
                                                    {"Shape", "Offset", "Size", "Bananas", "Groups"},
                                                    BananaShapeRows(shapes));
  if (answer.empty()) return false;
  char* end = nullptr;
  const long shape = std::strtol(answer.c_str(), &end, 16);
  const BananaShapeUse* chosen = nullptr;
  for (const BananaShapeUse& s : shapes) {
    if (*end == '\0' && s.shape == shape) chosen = &s;
  }
  if (chosen == nullptr) {
    ShowStatusMessage("Not a shape of the list: " + answer);
    return false;
  }
  std::string why;
  if (!list.Add(QBR1_NewBananaGroup(chosen->shape, 0, 0), x, y, why)) {
    ShowStatusMessage("Add: nothing changed. " + why);
    return false;
  }
  ShowStatusMessage("Added a banana group of shape " + Hex(chosen->shape, 4) + " (" + std::to_string(chosen->columns) +
                    " x " + std::to_string(chosen->rows) + ", " + std::to_string(chosen->bananas) + " bananas)" +
                    MovedNote(list.Note()));
  return true;
}
