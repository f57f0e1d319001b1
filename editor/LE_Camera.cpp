#include "editor/classes.h"

#include "editor/view_layers.h"
#include "editor/view_navigation.h"
#include "editor/view_transform.h"
#include "gui/HelioWin.h"
#include "gui/LE_ScrollBars.h"
#include "gui/MenuMain.h"
#include "level/leveldata.h"
#include "platform/config_lock.h"
#include "resources/skin.h"
#include "rom/settings_store.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

CCamera* cam = nullptr;

namespace {

constexpr int kGuideColour = 0xFF3377FF;

}  // namespace

ViewFrame WholeLevelFrame(const leveldata& lvl) {
  ViewFrame frame;
  frame.w = 32 * lvl.tile_w;
  frame.h = 32 * lvl.tile_h;
  frame.ox = 0;
  frame.oy = 0;
  frame.right = 0;
  frame.bottom = 0;
  return frame;
}

std::string LevelDisplayKey(int level_id) { return int2hexstr(level_id, 2); }

CCamera::CCamera(int LEVEL_ID) : frame(EditorViewFrame()) {
  {
    ConfigGuard guard;
    const int v = get_config_hex("LevelDisplay", LevelDisplayKey(LEVEL_ID).c_str(), 0);
    x = (v >> 16) & 0xFFFF;
    y = v & 0xFFFF;
  }
  Get_QBR1_LevelDataStruct(LEVEL_ID, lvl);
  if (lvl.sequencing == 0 && mui != nullptr) {
    mui->ResizeTilesEx(0, 16, true, false, true, false);
    frame = EditorViewFrame();
  }
  Layer_MG0 = new CMLayer(lvl);
  Banana_MAP = new CBananaMap(lvl);
  Object_MAP = new CObjectMap(lvl);
  hscroll = new CHG_HScrollBar();
  vscroll = new CHG_VScrollBar();
  install_pointer();
}

CCamera::CCamera(int LEVEL_ID, WholeLevelPicture) : attached(false) {
  Get_QBR1_LevelDataStruct(LEVEL_ID, lvl);
  frame = WholeLevelFrame(lvl);
  Layer_MG0 = new CMLayer(lvl);
  Layer_MG0->keepPicture = false;
  Banana_MAP = new CBananaMap(lvl);
  Object_MAP = new CObjectMap(lvl);
}

CCamera::~CCamera() {
  if (attached) StorePosition();
  delete Layer_MG0;
  delete Banana_MAP;
  delete Object_MAP;
  delete hscroll;
  delete vscroll;
  Nullify(zoom_picture);
  if (cam == this) cam = nullptr;
}

void CCamera::install_pointer() { cam = this; }

void CCamera::Clamp() {
  // At a zoom the view area shows that many window pixels' worth of level
  // pixels. Only an attached view moves, so only it is clamped.
  const int shown_w = WindowToLevelSpan(frame.AreaW());
  const int shown_h = WindowToLevelSpan(frame.AreaH());
  if (x + shown_w > 32 * lvl.tile_w) x = 32 * lvl.tile_w - shown_w;
  if (y + shown_h > 32 * lvl.tile_h) y = 32 * lvl.tile_h - shown_h;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
}

namespace {

// The scroll bars measure the level in window pixels, so that at a zoom the
// thumb shows the share of the level the view shows.
int ZoomedSpan(int level_pixels) { return static_cast<int>(static_cast<long long>(level_pixels) * ViewZoom() / 100); }

}  // namespace

void CCamera::DragScrollBars() {
  // A drag moves the view; a bar that did not move it leaves the position
  // alone (a round trip through window pixels would round it at 25 %).
  int bar_x = ZoomedSpan(x), bar_y = ZoomedSpan(y);
  const int was_x = bar_x, was_y = bar_y;
  if (hscroll) hscroll->PreProc(ZoomedSpan(32 * lvl.tile_w), bar_x);
  if (vscroll) vscroll->PreProc(ZoomedSpan(32 * lvl.tile_h), bar_y);
  if (bar_x != was_x) x = static_cast<int>(static_cast<long long>(bar_x) * 100 / ViewZoom());
  if (bar_y != was_y) y = static_cast<int>(static_cast<long long>(bar_y) * 100 / ViewZoom());
}

void CCamera::Proc(const InputSnapshot& in) {
  input = in;
  if (attached) {
    ApplyViewLayers(*this);
    frame = EditorViewFrame();
    DragScrollBars();
    if (pressdelay != 0) --pressdelay;
    // Each arrow on its own, so opposite keys cancel; keys an open menu takes are not held here.
    if (in.Held(KEY_RIGHT)) x += 32;
    if (in.Held(KEY_LEFT)) x -= 32;
    if (in.Held(KEY_DOWN)) y += 32;
    if (in.Held(KEY_UP)) y -= 32;
    if (in.Held(KEY_HOME)) x = y = 0;
    if (in.Held(KEY_END)) x = y = 0xFFFF;
    ViewNavigationStep(*this, in);
    Clamp();
    SavePosition();
    if (hscroll) hscroll->Proc(ZoomedSpan(32 * lvl.tile_w), ZoomedSpan(x));
    if (vscroll) vscroll->Proc(ZoomedSpan(32 * lvl.tile_h), ZoomedSpan(y));
  }
  Layer_MG0->Proc(x, y, frame);
  // A detached view shows a still picture: the bananas keep animation frame 0.
  if (!attached) return;
  Banana_MAP->Proc(x, y, in);
  Object_MAP->Proc(x, y, in);
}

void CCamera::DrawPicture(BITMAP* dest) {
  Layer_MG0->Draw(dest, lvl, frame);
  Banana_MAP->Draw(dest, x, y, frame);
  Object_MAP->Draw(dest, x, y, frame, attached ? ObjectOverlay::Shown : ObjectOverlay::Hidden);
}

void CCamera::SavePosition() {
  // The view stands still for most updates; the configuration is changed only when the position
  // moved, and the file once the view has rested a moment after a move (a scroll moves it every
  // update). The position the view came up with is written when the view ends.
  constexpr int kRestingUpdates = 30;
  const long long position = ((static_cast<long long>(x) & 0xFFFF) << 16) | (y & 0xFFFF);
  if (position != saved_position) {
    updates_resting = saved_position < 0 ? kRestingUpdates : 0;
    saved_position = position;
    NoteSettings({{"LevelDisplay", {{LevelDisplayKey(lvl.ID), int2hexstr(static_cast<int>(position), 8)}}}});
    return;
  }
  if (updates_resting < kRestingUpdates && ++updates_resting == kRestingUpdates) StorePosition();
}

void CCamera::StorePosition() {
  std::string error;
  if (!StoreNotedSettings(error)) TellSettingsNotStored(error);
}

void CCamera::PaintedArea(int& x, int& y, int& w, int& h) const {
  x = y = w = h = 0;
  if (Layer_MG0 != nullptr && !(attached && ViewZoom() != 100)) Layer_MG0->PaintedArea(lvl, frame, x, y, w, h);
}

void CCamera::Draw(BITMAP* dest) {
  const int zoom = ViewZoom();
  if (attached && zoom != 100) {
    DrawZoomed(dest);
    Object_MAP->DrawOverlays(dest, frame.w);
  } else {
    DrawPicture(dest);
  }
  // The half-way guide: dashes from the top of the view down, at the middle
  // of the level; they do not follow the vertical view position.
  int gx = 16 * lvl.tile_w - x + frame.ox, gy = 0;
  if (attached && zoom != 100) LevelToWindow(16 * lvl.tile_w, 0, gx, gy);
  const int length = attached ? 32 * lvl.tile_h * zoom / 100 : 32 * lvl.tile_h;
  for (int yy = 0; yy < length; yy += 16) {
    vline(dest, gx, yy + frame.oy, yy + frame.oy + 7, kGuideColour);
  }
  textprintf_ex(dest, NMenuFont[2], gx + 3, frame.oy - 1, -1, -1, "Half-Way");
  textprintf_ex(dest, NMenuFont[2], gx + 3, frame.oy + 11, -1, -1, "Guideline");
  if (hscroll) hscroll->Draw(dest);
  if (vscroll) vscroll->Draw(dest);
}
