#include "shell/runtime/frame.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>

#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "platform/background_thread.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "rom/autosave.h"
#include "rom/image_save.h"
#include "shell/base/close_request.h"
#include "shell/base/frame_log.h"
#include "shell/runtime/frame_pacing.h"
#include "shell/runtime/scaled_present.h"
#include "shell/runtime/screen.h"
#include "shell/base/variables.h"

namespace {

constexpr int kBackgroundColour = 0x0F3F7F;

// Runs owed updates; stops early when a tick arrives during an update, so a slow
// update is followed by a frame rather than by more updates. Returns how many ran.
int RunOwedUpdates(const ModePass& pass) {
  int run = 0;
  while (ticks.load() > 0) {
    old_ticks = ticks.fetch_sub(1);
    pass.update();
    ++run;
    if (!(old_ticks > ticks.load())) break;
  }
  return run;
}

// Copies the rows of the top-left w x h area of `from` that differ from `to`
// and returns the band they span. An idle picture changes in a few rows (or
// none), and only those then travel to the display.
RowBand CopyChangedRows(BITMAP* from, BITMAP* to, int w, int h) {
  RowBand band{h, 0};
  const std::size_t bytes = static_cast<std::size_t>(w) * sizeof(std::uint32_t);
  for (int y = 0; y < h; ++y) {
    if (std::memcmp(from->line[y], to->line[y], bytes) == 0) continue;
    std::memcpy(to->line[y], from->line[y], bytes);
    band.top = std::min(band.top, y);
    band.bottom = y + 1;
  }
  return band;
}

// Fills the top-left w x h area of `fb` with the background colour, but for
// `covered` (clipped to that area), which the picture paints over anyway: the
// whole frame at every draw costs more than the rest of an idle frame.
void ClearAround(BITMAP* fb, int w, int h, FrameRect covered) {
  const int left = std::max(covered.x, 0), top = std::max(covered.y, 0);
  const int right = std::min(covered.x + covered.w, w), bottom = std::min(covered.y + covered.h, h);
  if (left >= right || top >= bottom) {
    rectfill(fb, 0, 0, w - 1, h - 1, kBackgroundColour);
    return;
  }
  if (top > 0) rectfill(fb, 0, 0, w - 1, top - 1, kBackgroundColour);
  if (bottom < h) rectfill(fb, 0, bottom, w - 1, h - 1, kBackgroundColour);
  if (left > 0) rectfill(fb, 0, top, left - 1, bottom - 1, kBackgroundColour);
  if (right < w) rectfill(fb, right, top, w - 1, bottom - 1, kBackgroundColour);
}

}  // namespace

bool MenuTookEscape() {
  static bool spent = false;  // this Escape press closed a menu
  if (!key[KEY_ESC]) {
    spent = false;
    return false;
  }
  if (spent) return true;
  if (mui == nullptr || mui->m == nullptr || !mui->m->clicked) return false;
  mui->m->CloseMenus();
  spent = true;
  return true;
}

void Apllication_Critical_Functions() {
  if (MenuTookEscape()) return;
  // Escape asks on every update while held, unless its question was answered "stay": then it must be
  // let go first, or the same press would ask again at once.
  static bool escape_refused = false;
  if (escape_refused && !key[KEY_ESC]) escape_refused = false;
  if (key[KEY_ESC] && !escape_refused) escape_refused = !RequestProgramClose();
}

namespace {

// The worker's wait for ticks: the timer and the input wake it through here.
std::mutex tick_lock;
std::condition_variable tick_woken;
int ticks_wanted = 1;     // the owed ticks at which the timer wakes the waiting worker
bool input_came = false;  // input came since the worker last began to wait

}  // namespace

void WakeWorkerForTick() {
  std::lock_guard<std::mutex> guard(tick_lock);
  if (ticks.load() >= ticks_wanted) tick_woken.notify_all();
}

void WakeWorkerForInput() {
  std::lock_guard<std::mutex> guard(tick_lock);
  input_came = true;
  ticks_wanted = 1;
  if (ticks.load() >= 1) tick_woken.notify_all();
}

void WaitForNextTick(int wanted) {
  std::unique_lock<std::mutex> guard(tick_lock);
  // Input that came during the pass may not have been seen by it: the next update runs at the next tick.
  ticks_wanted = input_came ? 1 : std::max(1, wanted);
  input_came = false;
  tick_woken.wait(guard, [] { return ticks.load() >= 1 || STATEOVER.load() || GAMEOVER.load(); });
  ticks_wanted = 1;
}

RowBand ComposeFrame(BITMAP* page, const ModePass& pass, bool changed_only) {
  if (FB == nullptr || page == nullptr) return {};
  // Only the window's area of the screen-sized buffer is ever shown; a scaled
  // window shows it enlarged.
  const int scale = PlatformWindowScale();
  const int w = std::min(mui ? mui->w : FB->w, std::min(FB->w, page->w / scale));
  const int h = std::min(mui ? mui->h : FB->h, std::min(FB->h, page->h / scale));
  acquire_bitmap(page);
  ClearAround(FB, w, h, pass.covered ? pass.covered() : FrameRect{});
  if (pass.picture) pass.picture(FB);
  if (mui) mui->Draw(FB);
  if (pass.overlay) pass.overlay(FB);
  RowBand band{0, h};
  if (scale > 1) band = PresentScaled(FB, page, w, h, scale, changed_only);
  else if (changed_only) band = CopyChangedRows(FB, page, w, h);
  else blit(FB, page, 0, 0, 0, 0, w, h);
  release_bitmap(page);
  return band;
}

namespace {

// Gives the window the title of the image shown, when it changed since it was last set.
void UpdateWindowTitle() {
  static std::string shown;
  const std::string title = ImageWindowTitle();
  if (title == shown) return;
  shown = title;
  set_window_title(title.c_str());
}

}  // namespace

void RunModePasses(const ModePass& pass) {
  FramePacer pacer;
  // GAMEOVER too: a close ends every mode, even one whose STATEOVER was cleared
  // after the close set it.
  while (!STATEOVER.load() && !GAMEOVER.load()) {
    while (sem_wait(&sem_rest) != 0 && errno == EINTR) {
    }
    const int updates = RunOwedUpdates(pass);
    if (updates > 0) FrameLogUpdatesRan();
    // Every mode takes the close requests other threads handed over, whether or not it checks Escape.
    TakeCloseRequests();
    UpdateWindowTitle();
    // Unsaved edits go to the recovery copy in the background once the user pauses.
    AutosaveTick();
    const bool menu_open = mui && mui->m && mui->m->clicked;
    if (pacer.ShouldDraw(TakeInputSnapshot(mui ? mui->w : 0, mui ? mui->h : 0, menu_open), updates)) {
      CB = GetBuffer();
      // A copying method's page keeps the frame last shown, so only the rows that
      // changed are copied and presented; a flipping method presents whole pages.
      const bool copying = PageKeepsLastFrame();
      const RowBand band = ComposeFrame(CB, pass, copying);
      if (!copying) SwapBuffers();
      else if (!band.empty()) SwapBuffersRows((mui ? mui->w : CB->w) * PlatformWindowScale(), band.top, band.bottom);
      // The drawing waits in the display connection's buffer until it is sent.
      PlatformSendDrawing();
      FrameLogFrameShown();
    }
    WaitForNextTick(pacer.UpdatesBeforeNextFrame());
    // Each tick posted the semaphore; one post is left for the next pass's wait.
    int posted = 0;
    while (sem_getvalue(&sem_rest, &posted) == 0 && posted > 1 && sem_trywait(&sem_rest) == 0) {
    }
    if (pass.after_pass) pass.after_pass();
  }
}
