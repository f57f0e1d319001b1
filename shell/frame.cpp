#include "shell/frame.h"

#include <cerrno>

#include "gui/HelioWin.h"
#include "platform/messages.h"
#include "shell/screen.h"
#include "shell/variables.h"

namespace {

constexpr int kBackgroundColour = 0x0F3F7F;

// Runs owed updates; stops early when a tick arrives during an update, so a slow
// update is followed by a frame rather than by more updates.
void RunOwedUpdates(const ModePass& pass) {
  while (ticks.load() > 0) {
    old_ticks = ticks.fetch_sub(1);
    pass.update();
    if (!(old_ticks > ticks.load())) break;
  }
}

}  // namespace

void Apllication_Critical_Functions() {
  if (key[KEY_ESC]) PlatformPostMessage(PLATFORM_MSG_CLOSE);
}

void WaitForNextTick() {
  int seen = ticks.load();
  while (seen < 1 && !STATEOVER.load()) {
    ticks.wait(seen);
    seen = ticks.load();
  }
}

void ComposeFrame(BITMAP* page, const ModePass& pass) {
  if (FB == nullptr || page == nullptr) return;
  // Only the window's area of the screen-sized buffer is ever shown.
  const int w = mui ? mui->w : FB->w;
  const int h = mui ? mui->h : FB->h;
  acquire_bitmap(page);
  rectfill(FB, 0, 0, w - 1, h - 1, kBackgroundColour);
  if (pass.picture) pass.picture(FB);
  if (mui) mui->Draw(FB);
  if (pass.overlay) pass.overlay(FB);
  blit(FB, page, 0, 0, 0, 0, w, h);
  release_bitmap(page);
}

void RunModePasses(const ModePass& pass) {
  while (!STATEOVER.load()) {
    while (sem_wait(&sem_rest) != 0 && errno == EINTR) {
    }
    RunOwedUpdates(pass);
    CB = GetBuffer();
    ComposeFrame(CB, pass);
    // Only the window's area was composed; the rest of the page need not travel.
    if (mui)
      SwapBuffersArea(mui->w, mui->h);
    else
      SwapBuffers();
    WaitForNextTick();
    if (pass.after_pass) pass.after_pass();
  }
}
