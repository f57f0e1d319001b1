#include "shell/app/mode_startupscreen.h"

#include "gui/HelioWin.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "resources/skin.h"
#include "shell/runtime/frame.h"
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
  // An Open from here has requested the mode that shows the image; a close leaves the mode as it is.
  if (CurrentMode() == Mode::StartupScreen) return;
  mui->ResizeTilesEx(24, 16, true, false, true, false);
}
