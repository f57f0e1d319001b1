#include "editor/edit_modes.h"

#include <algorithm>

#include "editor/edit_refresh.h"
#include "editor/save_undo_commands.h"
#include "editor/view_transform.h"
#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "gui/command_ids.h"
#include "gui/ToolbarMain.h"
#include "resources/skin.h"
#include "rom/image_edits.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

namespace {

constexpr int kSelectionColour = 0xFFFF40;
constexpr int kRubberBandColour = 0xFFFFFF;
// Logic updates a status message stays: four seconds at 60 updates a second.
constexpr int kStatusUpdates = 240;
// A second press within this many logic updates and pixels is a double click.
constexpr int kDoubleClickUpdates = 24;
constexpr int kDoubleClickSlack = 4;

unsigned long long seen_generation = 0;
unsigned long long own_generation = 0;

// The input of the previous update, for the edges of keys and buttons.
struct PreviousInput {
  bool tab = false, h = false, v = false, enter = false, right = false;
  int mouse_z = 0;
  bool wheel_known = false;
  long update = 0;  // logic updates counted
  long last_press = -1000;
  int press_x = 0, press_y = 0;
} previous;

// A rubber band (rectangle selection) in progress, in level pixels.
struct RubberBand {
  bool active = false;
  bool add = false;
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  LevelBox Box() const { return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1, std::max(y0, y1) + 1}; }
} band;

bool KeyEdge(bool now, bool& before) {
  const bool edge = now && !before;
  before = now;
  return edge;
}

bool MenuOpen() { return mui != nullptr && mui->m != nullptr && mui->m->clicked; }

EditInput TakeInput(const CCamera& camera) {
  EditInput in;
  in.wx = MouseX();
  in.wy = MouseY();
  WindowToLevel(in.wx, in.wy, in.lx, in.ly);
  const ViewFrame& f = camera.frame;
  in.in_view = !MenuOpen() && in.wx >= f.ox && in.wx < f.w - 16 && in.wy >= f.oy && in.wy < f.h - 32;
  in.left = mouse_q;
  in.shift = key[KEY_LSHIFT] || key[KEY_RSHIFT];
  in.ctrl = key[KEY_LCONTROL] || key[KEY_RCONTROL];
  in.right_pressed = KeyEdge((mouse_b & 2) != 0, previous.right);
  const bool plain = !in.ctrl && !key[KEY_ALT];
  in.tab = KeyEdge(plain && key[KEY_TAB], previous.tab);
  in.h = KeyEdge(plain && key[KEY_H], previous.h);
  in.v = KeyEdge(plain && key[KEY_V], previous.v);
  in.enter = KeyEdge(plain && (key[KEY_ENTER] || key[KEY_ENTER_PAD]), previous.enter);
  if (previous.wheel_known) in.wheel = mouse_z - previous.mouse_z;
  previous.mouse_z = mouse_z;
  previous.wheel_known = true;
  ++previous.update;
  if (in.left == 1) {
    in.double_click = previous.update - previous.last_press <= kDoubleClickUpdates &&
                      std::abs(in.wx - previous.press_x) <= kDoubleClickSlack &&
                      std::abs(in.wy - previous.press_y) <= kDoubleClickSlack;
    previous.last_press = in.double_click ? -1000 : previous.update;
    previous.press_x = in.wx;
    previous.press_y = in.wy;
  }
  return in;
}

// The mouse on a record list: click, Shift+click, rubber band and moving.
template <class R>
void ListProc(RecordListEditor<R>& list, const EditInput& in, bool objects) {
  if (list.Moving()) {
    if (in.left == 2) {
      list.MoveTo(in.lx, in.ly);
    } else {
      list.MoveTo(in.lx, in.ly);
      list.EndMove();
    }
    return;
  }
  if (band.active) {
    band.x1 = in.lx;
    band.y1 = in.ly;
    if (in.left != 2) {
      band.active = false;
      if (band.x0 == band.x1 && band.y0 == band.y1) {
        if (!band.add) list.ClearSelection();
      } else {
        list.SelectBox(band.Box(), band.add);
      }
    }
    return;
  }
  if (objects && in.enter && list.SelectedCount() > 0) ChooseObjectDefinition();
  if (!in.in_view || in.left != 1) return;
  const int hit = list.HitTest(in.lx, in.ly);
  if (hit < 0) {
    band = {true, in.shift, in.lx, in.ly, in.lx, in.ly};
    return;
  }
  if (in.shift) {
    list.Click(in.lx, in.ly, true);
    return;
  }
  if (!list.Selected(static_cast<std::size_t>(hit))) list.Click(in.lx, in.ly, false);
  if (objects && in.double_click) {
    ChooseObjectDefinition();
    return;
  }
  list.BeginMove(in.lx, in.ly);
}

void EndGestures() {
  EditModes& e = Edits();
  e.tiles.Cancel();
  e.objects.EndMove();
  e.bananas.EndMove();
  band.active = false;
}

void SyncLists(const CCamera& camera) {
  const unsigned long long generation = QBR1_EditGeneration();
  const bool own = generation == own_generation;
  Edits().objects.Sync(camera.lvl, generation, own);
  Edits().bananas.Sync(camera.lvl, generation, own);
}

// Refreshes the view's caches when the image changed since the last look.
void FollowImage(CCamera& camera) {
  const unsigned long long generation = QBR1_EditGeneration();
  if (generation == seen_generation) return;
  const bool own = generation == own_generation;
  seen_generation = generation;
  if (!own) EndGestures();
  ViewCachesRefresh(camera, own);
  SyncLists(camera);
}

unsigned short ModeCommand(EditMode mode) {
  switch (mode) {
    case EditMode::Objects: return kCmdModifyObjects;
    case EditMode::BananaMap: return kCmdModifyBananaMap;
    default: return kCmdModifyTileMap;
  }
}

// Keeps the Modify buttons (and through them the menu's marks) on the mode,
// also after the toolbar was rebuilt or a shortcut chose the mode.
void SyncToolbar() {
  if (mui == nullptr || mui->t == nullptr) return;
  const std::vector<CToolItem*>& items = mui->t->items;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i]->ID != ModeCommand(Edits().mode)) continue;
    if (items[i]->state != 3 && items[i]->state != 4) mui->t->UpdateGroup(static_cast<int>(i));
    return;
  }
}

template <class R>
void DrawSelection(BITMAP* dest, const RecordListEditor<R>& list) {
  for (std::size_t i = 0; i < list.Records().size(); ++i) {
    if (!list.Selected(i)) continue;
    const LevelBox& b = list.Boxes()[i];
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    LevelToWindow(b.x0, b.y0, x0, y0);
    LevelToWindow(b.x1, b.y1, x1, y1);
    rect(dest, x0, y0, x1 - 1, y1 - 1, kSelectionColour);
  }
}

}  // namespace

EditModes& Edits() {
  static EditModes edits;
  return edits;
}

void NoteOwnEdit() { own_generation = QBR1_EditGeneration(); }

void SetEditStatus(const std::string& text) {
  Edits().status = text;
  Edits().status_updates = kStatusUpdates;
}

void SetEditMode(EditMode mode) {
  EndGestures();
  Edits().mode = mode;
  SyncToolbar();
}

void EditModesAttach(CCamera& camera) {
  EndGestures();
  ViewCachesAttach(camera);
  seen_generation = QBR1_EditGeneration();
  SyncLists(camera);
}

void EditModesDetach() { EndGestures(); }

void EditModesProc(CCamera& camera) {
  EditModes& e = Edits();
  if (e.status_updates > 0 && --e.status_updates == 0) e.status.clear();
  SyncToolbar();
  // Undo and redo run before this (shortcuts and menus come first in the update).
  FollowImage(camera);
  const EditInput in = TakeInput(camera);
  switch (e.mode) {
    case EditMode::TileMap: e.tiles.Proc(camera, in); break;
    case EditMode::Objects: ListProc(e.objects, in, true); break;
    case EditMode::BananaMap: ListProc(e.bananas, in, false); break;
  }
  // The mode's own writes are shown in the next frame.
  FollowImage(camera);
}

void EditModesDraw(BITMAP* dest, const CCamera& camera) {
  EditModes& e = Edits();
  switch (e.mode) {
    case EditMode::TileMap: e.tiles.Draw(dest, camera); return;
    case EditMode::Objects: DrawSelection(dest, e.objects); break;
    case EditMode::BananaMap: DrawSelection(dest, e.bananas); break;
  }
  if (band.active) {
    const LevelBox b = band.Box();
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    LevelToWindow(b.x0, b.y0, x0, y0);
    LevelToWindow(b.x1, b.y1, x1, y1);
    rect(dest, x0, y0, x1 - 1, y1 - 1, kRubberBandColour);
  }
}

void EditModesDrawStatus(BITMAP* dest, int w, int h) {
  const std::string& text = Edits().status;
  if (text.empty()) return;
  // Left of the unsaved-edits note, which keeps the right end of the line.
  const char* note = UnsavedEditsNote();
  const int right = *note ? w - 24 - text_length(NMenuFont[2], note) - 16 : w - 8;
  textprintf_ex(dest, NMenuFont[2], right - text_length(NMenuFont[2], text.c_str()), h - 18, -1, -1, "%s", text.c_str());
}

bool EditModesOwnWheelAt(int x, int y) {
  return cam != nullptr && Edits().mode == EditMode::TileMap && Edits().tiles.PanelHolds(cam->frame, x, y);
}
