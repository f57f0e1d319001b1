// A window shown at 2x presents each frame of the level editor as the 1x frame
// doubled, also when only a few rows changed since the frame before (the
// animated bananas and the status line), which are all that is copied then.

#include <gtest/gtest.h>

#include <string>

#include "demo/demo_image.h"
#include "editor/classes.h"
#include "editor/mode_qbr1leveleditor.h"
#include "platform/window.h"
#include "resources/skin.h"
#include "shell/base/variables.h"
#include "shell/runtime/frame.h"
#include "shell/runtime/scaled_present.h"
#include "tests/editor/demo_view_fixture.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

constexpr int kW = 776;
constexpr int kH = 604;

// The number of pixels of `doubled` (2w x 2h) that are not their pixel of `page` (w x h).
int NotDoubled(BITMAP* page, BITMAP* doubled) {
  int wrong = 0;
  for (int y = 0; y < 2 * kH; ++y)
    for (int x = 0; x < 2 * kW; ++x) wrong += getpixel(doubled, x, y) != getpixel(page, x / 2, y / 2);
  return wrong;
}

class ScaledFrameTest : public DemoViewTest {
 protected:
  void SetUp() override {
    DemoViewTest::SetUp();
    FB = create_bitmap_ex(32, kW, kH);
    ResetScaledPresentation();
  }
  void TearDown() override {
    PlatformSetWindowScale(1);
    ResetScaledPresentation();
    destroy_bitmap(FB);
    FB = nullptr;
    DemoViewTest::TearDown();
  }
};

TEST_F(ScaledFrameTest, OnlyTheBananasAndTheStatusLineChangeAndTheFrameIsStillDoubled) {
  CCamera camera(0x16);
  camera.Proc();
  int frame = 0;
  ModePass pass;
  pass.picture = [&camera](BITMAP* fb) { camera.Draw(fb); };
  pass.overlay = [&frame](BITMAP* fb) {
    DrawLevelStatus(fb, kH);
    textprintf_ex(fb, NMenuFont[2], 400, kH - 18, -1, -1, "frame %d", frame);
  };
  BITMAP* page = create_bitmap_ex(32, kW, kH);
  BITMAP* doubled = create_bitmap_ex(32, 2 * kW, 2 * kH);
  BITMAP* before = create_bitmap_ex(32, kW, kH);
  clear_to_color(page, 0);
  for (frame = 0; frame < 4; ++frame) {
    SCOPED_TRACE(frame);
    blit(page, before, 0, 0, 0, 0, kW, kH);
    PlatformSetWindowScale(1);
    ComposeFrame(page, pass, false);
    PlatformSetWindowScale(2);
    const RowBand band = ComposeFrame(doubled, pass, true);
    EXPECT_EQ(NotDoubled(page, doubled), 0);
    if (frame == 0) {
      EXPECT_EQ(band.top, 0);
      EXPECT_EQ(band.bottom, 2 * kH);
    } else {
      // The bananas moved to their next animation frame inside the view, and
      // the status line changed at the bottom: two runs of rows, one band.
      int view_rows = 0, status_rows = 0;
      for (int y = 0; y < kH; ++y) {
        bool changed = false;
        for (int x = 0; x < kW && !changed; ++x) changed = getpixel(page, x, y) != getpixel(before, x, y);
        if (changed) (y >= kH - 20 ? status_rows : view_rows) += 1;
      }
      EXPECT_GT(view_rows, 0);
      EXPECT_GT(status_rows, 0);
      EXPECT_LT(view_rows, kH - 100);
    }
    // Four updates: the banana animation's next frame.
    for (int update = 0; update < 4; ++update) camera.Proc();
  }
  destroy_bitmap(before);
  destroy_bitmap(doubled);
  destroy_bitmap(page);
}

}  // namespace
