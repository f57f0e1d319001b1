#include "gui/view_frame.h"

#include "gui/HelioWin.h"
#include "shell/base/variables.h"

namespace {

constexpr int kDefaultWindowW = 776;
constexpr int kDefaultWindowH = 604;

}  // namespace

ViewFrame ResourceViewFrame() {
  ViewFrame frame;
  frame.right = 4;
  frame.bottom = 20;
  if (mui == nullptr) return frame;
  frame.w = mui->w;
  frame.h = mui->h;
  return frame;
}

ViewFrame EditorViewFrame() {
  ViewFrame frame;
  frame.w = mui ? mui->w : kDefaultWindowW;
  frame.h = mui ? mui->h : kDefaultWindowH;
  return frame;
}
