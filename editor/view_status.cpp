#include "editor/view_status.h"

#include <cstdio>

#include "editor/classes.h"
#include "editor/edit_tools.h"
#include "editor/status_message.h"
#include "editor/view_transform.h"
#include "level/level_records.h"
#include "level/leveldata.h"
#include "level/rom_access.h"
#include "resources/skin.h"
#include "shell/base/functions.h"

std::string ViewStatusText() {
  if (cam == nullptr || !cam->input.in_window) return "";
  const ViewFrame& frame = cam->frame;
  const int mx = cam->input.wx, my = cam->input.wy;
  if (!frame.InArea(mx, my)) return "";
  int lx = 0, ly = 0;
  WindowToLevel(mx, my, lx, ly);
  const leveldata& lvl = cam->lvl;
  if (lx < 0 || ly < 0 || lx >= 32 * lvl.tile_w || ly >= 32 * lvl.tile_h) return "";
  const int entry = QBR1_Word(QBR1_ShownEntryOffset(lvl, lx / 32, ly / 32));
  char text[64];
  std::snprintf(text, sizeof text, "X 0x%04X  Y 0x%04X  Tile 0x%04X %c%c", lx, ly, entry & 0x3FFF,
                (entry & 0x4000) ? 'H' : '-', (entry & 0x8000) ? 'V' : '-');
  return text;
}

std::string StatusLineMiddle() {
  if (!StatusMessage().empty()) return StatusMessage();
  std::string text = ViewStatusText();
  // Away from 100 % the zoom leads the line, so the user knows why the view looks coarse.
  if (cam != nullptr && ViewZoom() != 100) text = std::to_string(ViewZoom()) + " %" + (text.empty() ? "" : "    " + text);
  const EditTool* tool = cam != nullptr ? CurrentEditTool() : nullptr;
  const std::string wanted = tool != nullptr ? tool->StatusText() : "";
  if (!wanted.empty()) text += (text.empty() ? "" : "    ") + wanted;
  return text;
}

std::string FitStatusText(const std::string& text, int width) {
  if (text_length(NMenuFont[2], text.c_str()) <= width) return text;
  std::string cut = text;
  while (!cut.empty() && text_length(NMenuFont[2], (cut + "...").c_str()) > width) cut.pop_back();
  return cut.empty() ? "" : cut + "...";
}
