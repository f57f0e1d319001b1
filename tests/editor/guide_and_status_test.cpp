// The half-way guide and the status line of the level view, pinned pixel by pixel: the dashes in their
// colour at their rows, and the labels and the status text in the third menu font at their places.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "demo/demo_image.h"
#include "editor/classes.h"
#include "editor/mode_qbr1leveleditor.h"
#include "editor/status_message.h"
#include "editor/view_transform.h"
#include "resources/skin.h"
#include "tests/editor/demo_view_fixture.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

constexpr int kW = 776;  // the view without a GUI root
constexpr int kH = 604;
constexpr std::uint32_t kGuide = 0xFF3377FFu;
constexpr int kBlank = 0x00ABCDEF;  // a colour neither the font nor the guide uses

std::uint32_t Px(BITMAP* b, int x, int y) { return static_cast<std::uint32_t>(getpixel(b, x, y)); }

// Every pixel that `text`, printed at (x, y) in the third menu font with its own colours, sets must
// show the same colour in `picture`; returns how many pixels the text sets.
int ExpectText(BITMAP* picture, const std::string& text, int x, int y) {
  BITMAP* alone = SolidBitmap(picture->w, picture->h, kBlank);
  textout_ex(alone, NMenuFont[2], text.c_str(), x, y, -1, -1);
  int set = 0;
  for (int yy = 0; yy < alone->h; ++yy)
    for (int xx = 0; xx < alone->w; ++xx) {
      if (getpixel(alone, xx, yy) == kBlank) continue;
      ++set;
      EXPECT_EQ(Px(picture, xx, yy), Px(alone, xx, yy)) << text << " at " << xx << "," << yy;
    }
  destroy_bitmap(alone);
  return set;
}

class GuideAndStatusTest : public DemoViewTest {
 protected:
  void SetUp() override {
    DemoViewTest::SetUp();
    // The status line also shows a pending message and the zoom: start without either.
    ClearStatusMessage();
    SetViewZoom(100);
  }
};

TEST_F(GuideAndStatusTest, HalfWayGuideDashesAndLabels) {
  const DemoLevel& level = *demo_.Level(0x16);
  CCamera camera(0x16);
  ASSERT_EQ(camera.lvl.tile_w, level.tile_w);
  camera.x = 16 * level.tile_w - 300;  // the middle of the level 300 pixels into the view
  camera.y = 64;                       // the dashes do not follow the vertical position
  BITMAP* picture = SolidBitmap(kW, kH, 0);
  camera.Draw(picture);

  // Dashes of 8 rows every 16 rows from row 60, in column 300 + 4, while the level lasts.
  const int gx = 304;
  const int bottom = std::min(60 + 32 * level.tile_h, kH - 40);  // above the horizontal scroll bar
  for (int y = 60; y < bottom; ++y) {
    const bool dash = (y - 60) % 16 < 8;
    if (dash) EXPECT_EQ(Px(picture, gx, y), kGuide) << "row " << y;
    else EXPECT_NE(Px(picture, gx, y), kGuide) << "row " << y;
  }
  EXPECT_NE(Px(picture, gx - 1, 60), kGuide);
  EXPECT_NE(Px(picture, gx + 1, 60), kGuide);

  EXPECT_GT(ExpectText(picture, "Half-Way", gx + 3, 59), 0);
  EXPECT_GT(ExpectText(picture, "Guideline", gx + 3, 71), 0);
  destroy_bitmap(picture);
}

TEST_F(GuideAndStatusTest, StatusLineNamesTheLevel) {
  struct Case {
    int id;
    int h;  // window height
  };
  for (const Case c : {Case{0x16, kH}, Case{0x17, 500}}) {
    CCamera camera(c.id);
    BITMAP* picture = SolidBitmap(kW, kH, kBlank);
    DrawLevelStatus(picture, c.h);
    // Exactly the text "Level 0xNN - NAME" of the built level at (8, h - 18), and nothing else.
    char head[16];
    std::snprintf(head, sizeof head, "Level 0x%02X - ", c.id);
    BITMAP* want = SolidBitmap(kW, kH, kBlank);
    textout_ex(want, NMenuFont[2], (head + demo_.Level(c.id)->name).c_str(), 8, c.h - 18, -1, -1);
    int differing = 0, set = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        differing += getpixel(picture, x, y) != getpixel(want, x, y);
        set += getpixel(want, x, y) != kBlank;
      }
    EXPECT_EQ(differing, 0) << std::hex << c.id;
    EXPECT_GT(set, 0) << std::hex << c.id;
    destroy_bitmap(want);
    destroy_bitmap(picture);
  }
  // Without a live camera there is nothing to print.
  BITMAP* picture = SolidBitmap(kW, kH, kBlank);
  DrawLevelStatus(picture, kH);
  for (int x = 0; x < 300; ++x) EXPECT_EQ(getpixel(picture, x, kH - 12), kBlank) << x;
  destroy_bitmap(picture);
}

}  // namespace
