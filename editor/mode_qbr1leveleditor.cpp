#include "editor/mode_qbr1leveleditor.h"

#include <cstdio>

#include "editor/classes.h"
#include "editor/edit_tools.h"
#include "editor/view_layers.h"
#include "editor/save_undo_commands.h"
#include "editor/level_switch.h"
#include "editor/view_status.h"
#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "gui/ToolbarMain.h"
#include "gui/mode_table.h"
#include "level/leveldata.h"
#include "resources/skin.h"
#include "shell/runtime/frame.h"
#include "shell/base/variables.h"

int currentlvlid = kQBR1StartLevel;
int pressdelay = 0;

void DrawLevelStatus(BITMAP* dest, int h) {
  if (cam == nullptr) return;
  char name[128];
  std::snprintf(name, sizeof name, "Level 0x%02X - %s", cam->lvl.ID, cam->lvl.name.c_str());
  textprintf_ex(dest, NMenuFont[2], 8, h - 18, -1, -1, "%s", name);
  // The message or the view's point, then the unsaved-edits note at the right end; the middle ends
  // 16 pixels before the note (or the window's edge), so the two never meet.
  const char* note = UnsavedEditsNote();
  const int note_x = mui != nullptr ? mui->w - 24 - text_length(NMenuFont[2], note) : dest->w;
  if (*note && mui != nullptr) textprintf_ex(dest, NMenuFont[2], note_x, h - 18, -1, -1, "%s", note);
  const int middle_x = 8 + text_length(NMenuFont[2], name) + 16;
  const std::string middle = FitStatusText(StatusLineMiddle(), note_x - 16 - middle_x);
  if (!middle.empty()) textprintf_ex(dest, NMenuFont[2], middle_x, h - 18, -1, -1, "%s", middle.c_str());
}

void QBR1_LEVEL_EDITOR_SUBFUNCTION() {
  if (mui->t) mui->t->Reload();
  if (mui->m) mui->m->Reload();
  CCamera camera(currentlvlid);
  EditToolsAttach(camera);

  ModePass pass;
  pass.update = [&camera] {
    Apllication_Critical_Functions();
    mui->Proc();
    InputSnapshot in = ReadEditInput(camera);
    camera.Proc(in);
    PlaceInLevel(in);  // the camera may have moved under the mouse
    EditToolsProc(camera, in);
    if (SwitchLevelStep(in.Held(KEY_PGUP), in.Held(KEY_PGDN), currentlvlid, pressdelay)) {
      RequestMode(Mode::LevelEditor);
    }
  };
  pass.picture = [&camera](BITMAP* fb) {
    camera.Draw(fb);
    DrawViewGrid(fb, camera);
    EditToolsDraw(fb, camera);
  };
  pass.covered = [&camera] {
    FrameRect area;
    camera.PaintedArea(area.x, area.y, area.w, area.h);
    return area;
  };
  pass.overlay = [](BITMAP* fb) { DrawLevelStatus(fb, mui->h); };
  RunModePasses(pass);
  EditToolsDetach();
}
