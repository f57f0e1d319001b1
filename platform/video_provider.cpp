#include "platform/video_provider.h"

namespace {

void ModeSize(int& w, int& h) {
  w = SCREEN_W;
  h = SCREEN_H;
}

bool EnableTripleBuffer() {
  if (gfx_capabilities & GFX_CAN_TRIPLE_BUFFER) return true;
  enable_triple_buffer();
  return (gfx_capabilities & GFX_CAN_TRIPLE_BUFFER) != 0;
}

BITMAP* CreateVideo(int w, int h) { return create_video_bitmap(w, h); }
BITMAP* CreateSystem(int w, int h) { return create_system_bitmap(w, h); }
BITMAP* CreateMemory(int w, int h) { return create_bitmap(w, h); }
BITMAP* ScreenBitmap() { return screen; }
void Destroy(BITMAP* bmp) { destroy_bitmap(bmp); }
void Show(BITMAP* page) { show_video_bitmap(page); }
void Request(BITMAP* page) { request_video_bitmap(page); }
bool FlipPending() { return poll_scroll() != 0; }
void VSync() { vsync(); }

const VideoBitmapProvider allegro_provider = {ModeSize,     EnableTripleBuffer, CreateVideo, CreateSystem,
                                              CreateMemory, ScreenBitmap,       Destroy,     Show,
                                              Request,      FlipPending,        VSync};

}  // namespace

const VideoBitmapProvider& AllegroVideoProvider() { return allegro_provider; }
