#include "editor/edit_tool.h"

void EditTool::Proc(CCamera& camera, const InputSnapshot& in) {
  Keys(camera, in);
  if (in.left == 1) {
    pressed_ = true;
    MousePress(camera, in);
  } else if (pressed_ && in.left == 2) {
    MouseMove(camera, in);
  } else if (pressed_) {
    pressed_ = false;
    MouseRelease(camera, in);
  }
}
