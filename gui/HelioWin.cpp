#include "gui/HelioWin.h"

#include "gui/FramePieces.h"
#include "gui/MenuMain.h"
#include "gui/StatusbarMain.h"
#include "gui/ToolbarMain.h"
#include "gui/WindowCaptionItems.h"
#include "gui/WindowFrame.h"
#include "gui/commands.h"
#include "gui/mode_loop.h"
#include "platform/config_lock.h"
#include "platform/window.h"
#include "shell/base/controller.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

int mouse_q = 0;

namespace {

constexpr int kTileSize = 32;
constexpr int kScrollBarThickness = 12;
constexpr int kFrameWidth = 8;    // left and right border
constexpr int kFrameHeight = 80;  // caption, menu bar, toolbar, status bar, bottom border

}  // namespace

void CHelioGUI::install_pointer() { mui = this; }

CHelioGUI::CHelioGUI() {
  install_pointer();
  c = new CHG_WCaption;
  l = new CHG_WLBorder;
  r = new CHG_WRBorder;
  b = new CHG_WBBorder;
  d = new CHG_WDBorder;
  s = new CHG_WStatusBar;
  // The toolbar first: menu entries link themselves to tool buttons while they are parsed.
  t = new CHG_WToolBar;
  m = new CHG_WAppMenu;
  SetRegionHelio(w, h);
}

CHelioGUI::~CHelioGUI() {
  delete c;
  delete l;
  delete r;
  delete b;
  delete d;
  delete m;
  delete t;
  delete s;
}

void CHelioGUI::Proc() {
  const bool down = (mouse_b & 1) != 0;
  if (swallowed_q != 0) {
    swallowed_q = QuadStateSwitch(down, swallowed_q);
    if (swallowed_q == 3) swallowed_q = 0;  // released: the next press is the user's again
    mouse_q = 0;
  } else {
    mouse_q = QuadStateSwitch(down, mouse_q);
    if (mouse_q == 1 && m->clicked && !m->HoldsMouse(w)) {
      // A click outside an open menu closes it and acts on nothing under it: not a
      // caption button, a tool button, a border or the mode's view.
      m->CloseMenus();
      swallowed_q = 1;
      mouse_q = 0;
    }
  }
  c->Proc(w, h);
  r->Proc(w, h);
  b->Proc(w, h);
  d->Proc(w, h);
  s->Proc(w, h);
  t->Proc(w, h);
  m->Proc(w, h);
  DispatchShortcuts(m->TakesKeys());
}

void CHelioGUI::Draw(BITMAP* bmp) {
  c->Draw(bmp, w);
  l->Draw(bmp, h);
  r->Draw(bmp, w, h);
  b->Draw(bmp, w, h);
  d->Draw(bmp, w, h);
  s->Draw(bmp, w, h);
  t->Draw(bmp, w, h);
  m->Draw(bmp, w, h);  // last: an open menu covers everything else
}

void CHelioGUI::ResizeTilesEx(int tiles_w, int tiles_h, bool h_resize, bool v_resize, bool h_scroll, bool v_scroll) {
  AllowHResize = h_resize;
  AllowVResize = v_resize;
  if (tiles_w != 0) w = tiles_w * kTileSize + (v_scroll ? kScrollBarThickness : 0) + kFrameWidth;
  if (tiles_h != 0) h = tiles_h * kTileSize + (h_scroll ? kScrollBarThickness : 0) + kFrameHeight;
  {
    ConfigGuard guard;
    w = get_config_hex("Window", "w", w);
  }
  int screen_w = 0, screen_h = 0;
  PlatformScreenSize(screen_w, screen_h);
  // The frame is composed in a screen-sized buffer: a configured width beyond the
  // screen, or below what a resize allows, would draw outside it.
  if (w > screen_w) w = screen_w;
  if (h > screen_h) h = screen_h;
  if (w < kMinWindowW) w = kMinWindowW;
  SetRegionHelio(w, h);
  PlatformMoveWindow((screen_w - w) >> 1, (screen_h - h) / 3, w, h);
}

void CHelioGUI::WindowRunFunction() {
  CModeLoop loop;
  while (loop.Step()) {
  }
}
