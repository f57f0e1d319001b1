// The frame pass leaves uncleared what the level view says it paints entirely:
// the frames composed so are the frames composed with the whole window cleared.

#include <gtest/gtest.h>

#include <algorithm>

#include "demo/demo_image.h"
#include "editor/classes.h"
#include "editor/view_transform.h"
#include "resources/skin.h"
#include "shell/base/variables.h"
#include "shell/runtime/frame.h"
#include "tests/editor/demo_view_fixture.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

constexpr int kW = 776;
constexpr int kH = 604;
constexpr int kSentinel = 0xFF00FF;  // a colour neither the level nor the background has

class PaintedAreaTest : public DemoViewTest {
 protected:
  void SetUp() override {
    DemoViewTest::SetUp();
    FB = create_bitmap_ex(32, kW, kH);
    cleared_ = create_bitmap_ex(32, kW, kH);
    kept_ = create_bitmap_ex(32, kW, kH);
  }
  void TearDown() override {
    SetViewZoom(100);
    destroy_bitmap(kept_);
    destroy_bitmap(cleared_);
    destroy_bitmap(FB);
    FB = nullptr;
    DemoViewTest::TearDown();
  }
  BITMAP* cleared_ = nullptr;
  BITMAP* kept_ = nullptr;
};

TEST_F(PaintedAreaTest, TheFrameIsTheSameWithoutClearingThePaintedArea) {
  struct Case {
    const char* name;
    int level, x, y, zoom;
    bool tiles_shown;
    bool expect_area;
  };
  const Case cases[] = {
      {"start of the level", 0x16, 0, 0, 100, true, true},
      {"inside a tile", 0x16, 45, 13, 100, true, true},
      {"at the level's far end", 0x16, 1 << 20, 1 << 20, 100, true, true},
      {"a level narrower than the view", 0x17, 0, 0, 100, true, true},
      {"tiles hidden", 0x16, 45, 13, 100, false, false},
      {"zoomed out", 0x16, 0, 0, 50, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetViewZoom(c.zoom);
    CCamera camera(c.level);
    camera.x = c.x;
    camera.y = c.y;
    camera.Proc();
    camera.Layer_MG0->shown = c.tiles_shown;
    FrameRect area;
    camera.PaintedArea(area.x, area.y, area.w, area.h);
    EXPECT_EQ(area.w > 0 && area.h > 0, c.expect_area);

    // Every pixel of the area the view claims is painted over a sentinel.
    clear_to_color(FB, kSentinel);
    camera.Draw(FB);
    int unpainted = 0;
    for (int y = std::max(area.y, 0); y < std::min(area.y + area.h, kH); ++y)
      for (int x = std::max(area.x, 0); x < std::min(area.x + area.w, kW); ++x) unpainted += getpixel(FB, x, y) == kSentinel;
    EXPECT_EQ(unpainted, 0);

    ModePass pass;
    pass.picture = [&camera](BITMAP* fb) { camera.Draw(fb); };
    clear_to_color(FB, kSentinel);
    ComposeFrame(cleared_, pass, false);
    pass.covered = [area] { return area; };
    clear_to_color(FB, kSentinel);
    ComposeFrame(kept_, pass, false);
    int differ = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) differ += getpixel(cleared_, x, y) != getpixel(kept_, x, y);
    EXPECT_EQ(differ, 0);
  }
}

}  // namespace
