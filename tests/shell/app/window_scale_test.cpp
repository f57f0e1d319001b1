#include "shell/app/window_scale.h"

#include <gtest/gtest.h>

namespace {

// The scale asked for is kept when 776 x 604 times it fits the screen, else
// lowered to the largest that fits; nonsense counts as 1.
TEST(WindowScale, FitsTheEditorWindowToTheScreen) {
  struct Case {
    int requested, screen_w, screen_h, scale;
  };
  const Case cases[] = {
      {1, 1280, 1024, 1}, {2, 1280, 1024, 1}, {4, 1280, 1024, 1}, {2, 2560, 2048, 2}, {3, 2560, 2048, 3}, {4, 2560, 2048, 3},
      {2, 1552, 1208, 2}, {2, 1551, 1208, 1}, {2, 1552, 1207, 1}, {3, 2328, 1812, 3}, {4, 3104, 2416, 4},
      {4, 3103, 2416, 3}, {0, 3840, 2160, 1}, {-2, 3840, 2160, 1}, {5, 3840, 2160, 1}, {1, 100, 100, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FitWindowScale(c.requested, c.screen_w, c.screen_h), c.scale)
        << c.requested << " on " << c.screen_w << "x" << c.screen_h;
}

}  // namespace
