#include "shell/app/window_scale.h"

#include "platform/allegro_include.h"

#include "platform/config_lock.h"
#include "platform/window.h"

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

int ChooseWindowScale(int screen_w, int screen_h) {
  int requested = RequestedWindowScale;
  if (requested == 0) {
    ConfigGuard guard;
    requested = get_config_int("Engine", "Scale", 1);
  }
  // The panel's strip, measured before any scale applies, is not room for the window.
  PlatformSetWindowScale(1);
  const int scale = FitWindowScale(requested, screen_w, screen_h - PlatformTaskBarHeight());
  PlatformSetWindowScale(scale);
  return scale;
}
