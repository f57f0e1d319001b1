#include "gui/mode_loop.h"

#include "platform/messages.h"
#include "shell/base/frame_log.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

bool CModeLoop::Step() {
  switch (next) {
    case ModeLoopStep::Clear:
      // STATEOVER is cleared before GAMEOVER is read: a close that lands before
      // the read is seen there, and one that lands after it sets STATEOVER after
      // the clear, so the mode's passes see it. (Read first and cleared after, a
      // close landing in between was lost and the next mode ran for ever.)
      STATEOVER = false;
      next = ModeLoopStep::CheckClose;
      return true;
    case ModeLoopStep::CheckClose:
      if (GAMEOVER.load()) return false;
      next = ModeLoopStep::Find;
      return true;
    case ModeLoopStep::Find: {
      const Mode current = CurrentMode();
      found = FindModeFunction(current);
      found_id = static_cast<uint32_t>(current);
      if (found == nullptr) {
        ErrorBox("Could not find a modefunction associated with idenifier 0x" + int2hexstr(static_cast<int>(current), 2) +
                     ".\nThe program will now exit abruptly.",
                 "Unknown Mode");
        GAMEOVER = true;
        STATEOVER = true;
        PlatformPostMessage(PLATFORM_MSG_CLOSE);
        return false;
      }
      next = ModeLoopStep::Run;
      return true;
    }
    case ModeLoopStep::Run:
      FrameLogModeEntered(found_id);
      found();
      next = ModeLoopStep::Clear;
      return true;
  }
  return false;
}
