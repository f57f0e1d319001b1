#include "editor/mode_qbr1leveleditor.h"

#include <cstdio>

#include "editor/classes.h"
#include "editor/edit_modes.h"
#include "editor/save_undo_commands.h"
#include "editor/level_switch.h"
#include "editor/view_status.h"
#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "gui/ToolbarMain.h"
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
  DrawViewStatus(dest, 8 + text_length(NMenuFont[2], name) + 16, h - 18);
  const char* note = UnsavedEditsNote();
  if (*note && mui != nullptr) textprintf_ex(dest, NMenuFont[2], mui->w - 24 - text_length(NMenuFont[2], note), h - 18, -1, -1, "%s", note);
}

void QBR1_LEVEL_EDITOR_SUBFUNCTION() {
  if (mui->t) mui->t->Reload();
  if (mui->m) mui->m->Reload();
  CCamera camera(currentlvlid);
  EditModesAttach(camera);

  ModePass pass;
  pass.update = [&camera] {
    Apllication_Critical_Functions();
    mui->Proc();
    camera.Proc();
    EditModesProc(camera);
    if (SwitchLevelStep(key[KEY_PGUP], key[KEY_PGDN], currentlvlid, pressdelay)) STATEOVER = true;
  };
  pass.picture = [&camera](BITMAP* fb) {
    camera.Draw(fb);
    EditModesDraw(fb, camera);
  };
  pass.overlay = [](BITMAP* fb) {
    DrawLevelStatus(fb, mui->h);
    EditModesDrawStatus(fb, mui->w, mui->h);
  };
  RunModePasses(pass);
  EditModesDetach();
}
