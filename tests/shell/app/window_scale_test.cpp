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

// A lowered scale is named with where it was asked for; a kept one, or no valid request, says nothing.
TEST(WindowScale, NoticeNamesTheLoweredScale) {
  EXPECT_EQ(WindowScaleNotice(4, true, 1, 1280, 1000), "--scale 4 does not fit the 1280 x 1000 screen; using scale 1");
  EXPECT_EQ(WindowScaleNotice(3, false, 2, 2000, 1500),
            "\"Scale\" 3 in [Engine] does not fit the 2000 x 1500 screen; using scale 2");
  EXPECT_EQ(WindowScaleNotice(2, true, 2, 2560, 2048), "");
  EXPECT_EQ(WindowScaleNotice(0, false, 1, 640, 480), "");
  EXPECT_EQ(WindowScaleNotice(9, false, 1, 640, 480), "");
}

}  // namespace
