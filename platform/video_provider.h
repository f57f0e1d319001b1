#pragma once

#include "platform/allegro_include.h"

// Where the screen update gets its pages from, and how it shows them. The
// product uses Allegro's graphics driver; tests install a fake with a bitmap budget.
struct VideoBitmapProvider {
  void (*mode_size)(int& w, int& h);       // size of the graphics mode
  bool (*enable_triple_buffer)();          // true when triple buffering is (now) available
  BITMAP* (*create_video)(int w, int h);   // nullptr when the driver has no room
  BITMAP* (*create_system)(int w, int h);  // nullptr on failure
  BITMAP* (*create_memory)(int w, int h);  // nullptr on failure
  BITMAP* (*screen_bitmap)();              // the visible screen itself; nullptr without a mode
  void (*destroy)(BITMAP* bmp);            // releases a bitmap made by one of the create calls
  void (*show)(BITMAP* page);              // shows a video page at once
  void (*request)(BITMAP* page);           // asks for a page to be shown, without waiting
  bool (*flip_pending)();                  // a requested page is not shown yet
  void (*vsync)();                         // waits for the vertical retrace
};

// The provider backed by Allegro's current graphics driver.
const VideoBitmapProvider& AllegroVideoProvider();
