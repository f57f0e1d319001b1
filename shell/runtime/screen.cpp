#include "shell/runtime/screen.h"

namespace {

const VideoBitmapProvider* provider = nullptr;

int updatemethod = 0;
bool waitforvsync = false;
BITMAP* pages[3] = {nullptr, nullptr, nullptr};
BITMAP* active_page = nullptr;
BITMAP* current_page = nullptr;
bool current_is_screen = false;  // current_page is the screen itself, which is not ours to release
int mode_w = 0;
int mode_h = 0;

const VideoBitmapProvider& Provider() { return provider ? *provider : AllegroVideoProvider(); }

void Release(BITMAP*& bmp) {
  if (bmp) Provider().destroy(bmp);
  bmp = nullptr;
}

bool SetUpTripleBuffering() {
  const VideoBitmapProvider& p = Provider();
  if (!p.enable_triple_buffer()) return false;
  for (BITMAP*& page : pages) page = p.create_video(mode_w, mode_h);
  if (!pages[0] || !pages[1] || !pages[2]) {
    for (BITMAP*& page : pages) Release(page);
    return false;
  }
  for (BITMAP* page : pages) clear_bitmap(page);
  active_page = pages[0];
  current_page = pages[2];
  p.show(current_page);
  updatemethod = 1;
  return true;
}

bool SetUpPageFlipping() {
  const VideoBitmapProvider& p = Provider();
  pages[0] = p.create_video(mode_w, mode_h);
  if (!pages[0]) return false;
  pages[1] = p.create_video(mode_w, mode_h);
  if (!pages[1]) {
    Release(pages[0]);
    return false;
  }
  clear_bitmap(pages[0]);
  clear_bitmap(pages[1]);
  active_page = pages[0];
  current_page = pages[1];
  p.show(current_page);
  updatemethod = 2;
  return true;
}

// Methods 3 and 4: a drawing page (system or memory bitmap) copied to a video page.
bool SetUpBufferCopy(int method) {
  const VideoBitmapProvider& p = Provider();
  active_page = method == 3 ? p.create_system(mode_w, mode_h) : p.create_memory(mode_w, mode_h);
  if (!active_page) return false;
  current_page = p.create_video(mode_w, mode_h);
  current_is_screen = false;
  if (!current_page && method == 4) {
    // The last resort copies straight to the visible screen.
    current_page = p.screen_bitmap();
    current_is_screen = current_page != nullptr;
  }
  if (!current_page) {
    Release(active_page);
    return false;
  }
  clear_bitmap(active_page);
  clear_bitmap(current_page);
  if (!current_is_screen) p.show(current_page);
  updatemethod = method;
  return true;
}

}  // namespace

void SetVideoBitmapProvider(const VideoBitmapProvider* replacement) { provider = replacement; }

void InitializeScreenUpdate(int method) {
  Provider().mode_size(mode_w, mode_h);
  updatemethod = 0;
  if (method < 1 || method > 4) method = 1;
  // Each method that cannot get its bitmaps hands over to the next simpler one;
  // the double buffer needs only memory and the screen, so there is always a page.
  if (method == 1 && SetUpTripleBuffering()) return;
  if (method <= 2 && SetUpPageFlipping()) return;
  if (method == 3 && SetUpBufferCopy(3)) return;
  SetUpBufferCopy(4);
}

void SwapBuffers() { SwapBuffersArea(mode_w, mode_h); }

void SwapBuffersArea(int w, int h) { SwapBuffersRows(w, 0, h); }

bool PageKeepsLastFrame() { return updatemethod == 3 || updatemethod == 4; }

void SwapBuffersRows(int w, int top, int bottom) {
  const VideoBitmapProvider& p = Provider();
  switch (updatemethod) {
    case 1:
      while (p.flip_pending()) {
      }
      current_page = active_page;
      p.request(current_page);
      active_page = active_page == pages[0] ? pages[1] : active_page == pages[1] ? pages[2] : pages[0];
      break;
    case 2:
      current_page = active_page;
      p.show(current_page);
      active_page = active_page == pages[0] ? pages[1] : pages[0];
      break;
    case 3:
    case 4:
      if (waitforvsync) p.vsync();
      top = top < 0 ? 0 : top;
      bottom = bottom < mode_h ? bottom : mode_h;
      if (bottom > top) blit(active_page, current_page, 0, top, 0, top, w < mode_w ? w : mode_w, bottom - top);
      break;
    default: break;
  }
}

void ShutDownScreenUpdate() {
  if (provider == nullptr && screen != nullptr) show_mouse(nullptr);
  for (BITMAP*& page : pages) Release(page);
  if (updatemethod == 3 || updatemethod == 4) {
    Release(active_page);
    if (current_is_screen) current_page = nullptr;
    else Release(current_page);
  }
  active_page = nullptr;
  current_page = nullptr;
  current_is_screen = false;
  updatemethod = 0;
}

BITMAP* GetBuffer() { return active_page; }
BITMAP* GetScreen() { return current_page; }
void EnableVSync() { waitforvsync = true; }
void DisableVSync() { waitforvsync = false; }
bool VSyncEnabled() { return waitforvsync; }
int GetScreenUpdateMethod() { return updatemethod; }
