#include "shell/app/window_scale.h"

#include <algorithm>
#include <cstdio>

#include "platform/allegro_include.h"

#include "gui/HelioWin.h"
#include "platform/config_lock.h"
#include "platform/window.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"
#include "shell/runtime/scaled_present.h"

int RequestedWindowScale = 0;

namespace {

constexpr int kEditorW = 776;
constexpr int kEditorH = 604;

}  // namespace

int FitWindowScale(int requested, int screen_w, int screen_h) {
  int scale = requested >= 1 && requested <= 4 ? requested : 1;
  while (scale > 1 && (scale * kEditorW > screen_w || scale * kEditorH > screen_h)) --scale;
  return scale;
}

std::string WindowScaleNotice(int requested, bool from_command_line, int scale, int screen_w, int screen_h) {
  if (requested < 1 || requested > 4 || scale == requested) return "";
  const std::string asked = from_command_line ? "--scale " + std::to_string(requested)
                                              : "\"Scale\" " + std::to_string(requested) + " in [Engine]";
  return asked + " does not fit the " + std::to_string(screen_w) + " x " + std::to_string(screen_h) +
         " screen; using scale " + std::to_string(scale);
}

int ChooseWindowScale(int screen_w, int screen_h) {
  int requested = RequestedWindowScale;
  const bool from_command_line = requested != 0;
  if (requested == 0) {
    ConfigGuard guard;
    requested = get_config_int("Engine", "Scale", 1);
  }
  // The panel's strip, measured before any scale applies, is not room for the window.
  PlatformSetWindowScale(1);
  const int room_h = screen_h - PlatformTaskBarHeight();
  const int scale = FitWindowScale(requested, screen_w, room_h);
  const std::string notice = WindowScaleNotice(requested, from_command_line, scale, screen_w, room_h);
  if (!notice.empty()) std::fprintf(stderr, "qbrre: %s\n", notice.c_str());
  PlatformSetWindowScale(scale);
  return scale;
}

int LargestWindowScale() {
  // Measured at 1x, as at start-up: the scale in use would round the screen down to its pixels.
  const int scale = PlatformWindowScale();
  PlatformSetWindowScale(1);
  int screen_w = 0, screen_h = 0;
  PlatformScreenSize(screen_w, screen_h);
  const int room_h = screen_h - PlatformTaskBarHeight();
  PlatformSetWindowScale(scale);
  return FitWindowScale(4, screen_w, room_h);
}

void ChangeWindowScale(int scale) {
  if (scale == PlatformWindowScale()) return;
  PlatformSetWindowScale(scale);
  // The shadow of the last enlarged frame is of the old scale: the next frame is drawn whole.
  ResetScaledPresentation();
  SetMouseCursorBitmap(MC_CURRENT);
  if (mui == nullptr) return;
  int screen_w = 0, screen_h = 0;
  PlatformScreenSize(screen_w, screen_h);
  const int room_h = screen_h - PlatformTaskBarHeight();
  mui->w = std::min(mui->w, screen_w);
  mui->h = std::min(mui->h, room_h);
  SetRegionHelio(mui->w, mui->h);
  PlatformMoveWindow(std::max(0, (screen_w - mui->w) >> 1), std::max(0, (screen_h - mui->h) / 3), mui->w, mui->h);
}
