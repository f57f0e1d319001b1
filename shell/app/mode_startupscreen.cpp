#include "shell/app/mode_startupscreen.h"

#include "gui/HelioWin.h"
#include "gui/commands.h"
#include "resources/skin.h"
#include "shell/runtime/frame.h"
#include "shell/app/mode_switch.h"
#include "shell/base/variables.h"

void DrawStartupScreen(BITMAP* fb) {
  if (BMPBannerStartup && fb) blit(BMPBannerStartup, fb, 0, 0, 4, 60, BMPBannerStartup->w, BMPBannerStartup->h);
}

void STARTUP_SCREEN_SUBFUNCTION() {
  bool first_pass = true;
  ModePass pass;
  pass.update = [] {
    Apllication_Critical_Functions();
    mui->Proc();
  };
  pass.picture = DrawStartupScreen;
  pass.after_pass = [&first_pass] {
    // The Open command runs once, after the first frame is on screen.
    if (!first_pass) return;
    first_pass = false;
    AppMenuExecuteItem(kCmdOpen, false);
  };
  RunModePasses(pass);
  if (ENGINE_STATE.load() == 0) return;
  // An Open from here enters the mode chosen on the start-up toolbar.
  if (ENGINE_STATE.load() == 1) ENGINE_STATE = ModeAfterStartupOpen();
  mui->ResizeTilesEx(24, 16, true, false, true, false);
}
