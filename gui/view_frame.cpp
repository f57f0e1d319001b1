#include "gui/view_frame.h"

#include "gui/HelioWin.h"
#include "shell/base/variables.h"

namespace {

constexpr int kDefaultWindowW = 776;
constexpr int kDefaultWindowH = 604;

}  // namespace

ViewFrame EditorViewFrame() {
  ViewFrame frame;
  frame.w = mui ? mui->w : kDefaultWindowW;
  frame.h = mui ? mui->h : kDefaultWindowH;
  return frame;
}
