#include <gtest/gtest.h>

#include <array>

#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

namespace {

using Rect = std::array<int, 4>;  // left, top, right, bottom

std::vector<Rect> Rects(const std::vector<PlatformRect>& rects) {
  std::vector<Rect> out;
  for (const PlatformRect& r : rects) out.push_back({r.left, r.top, r.right, r.bottom});
  return out;
}

// The headless window and an in-process dialog script stand in for the desktop.
class WindowFunctionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformUseHeadlessWindow(window_);
    PlatformClearMessages();
    PlatformUseScriptedDialogs([this](const DialogRecord& record) {
      boxes_.push_back(record);
      return answer_;
    });
  }
  void TearDown() override {
    PlatformUseDesktopDialogs();
    PlatformUseX11Window();
    PlatformClearMessages();
  }

  HeadlessWindow window_;
  std::vector<DialogRecord> boxes_;
  std::string answer_ = "ok";
};

TEST(HelioRegion, CutsTheFourCornersOfTheOutline) {
  const std::vector<Rect> expected = {{0, 0, 4, 1}, {96, 0, 100, 1}, {0, 1, 2, 2},   {98, 1, 100, 2},
                                      {0, 2, 1, 4}, {99, 2, 100, 4}, {0, 49, 1, 50}, {99, 49, 100, 50}};
  EXPECT_EQ(Rects(HelioRegionCutouts(100, 50)), expected);
}

TEST(HelioRegion, TinyWindowsKeepOnlyCutsInsideThem) {
  const std::vector<Rect> expected = {{0, 0, 3, 1}, {0, 0, 3, 1}, {0, 0, 1, 1}, {2, 0, 3, 1}};
  EXPECT_EQ(Rects(HelioRegionCutouts(3, 1)), expected);
  EXPECT_TRUE(HelioRegionCutouts(0, 10).empty());
  EXPECT_TRUE(HelioRegionCutouts(10, -1).empty());
}

TEST_F(WindowFunctionsTest, SetRegionHelioShapesTheWindow) {
  SetRegionHelio(520, 176);
  EXPECT_EQ(window_.shape_w, 520);
  EXPECT_EQ(window_.shape_h, 176);
  EXPECT_EQ(Rects(window_.shape_removed), Rects(HelioRegionCutouts(520, 176)));
}

TEST_F(WindowFunctionsTest, TaskBarHeightComesFromTheDesktop) {
  EXPECT_EQ(GetTaskBarHeight(), 0);
  window_.taskbar_h = 32;
  EXPECT_EQ(GetTaskBarHeight(), 32);
}

TEST_F(WindowFunctionsTest, CaptionButtonsCloseMinimiseOrReportMissing) {
  CaptionButtonFunction(0);
  PlatformMessage message;
  ASSERT_TRUE(PlatformPeekMessage(message));
  EXPECT_EQ(message.message, PLATFORM_MSG_CLOSE);
  EXPECT_FALSE(window_.minimised);

  CaptionButtonFunction(3);
  EXPECT_TRUE(window_.minimised);
  EXPECT_TRUE(boxes_.empty());

  for (int button : {1, 2, 4, -1}) {
    CaptionButtonFunction(button);
    ASSERT_EQ(boxes_.size(), 1u) << button;
    EXPECT_EQ(boxes_[0].kind, BoxKind::Error);
    EXPECT_EQ(boxes_[0].title, "MISSING FUNCTION");
    EXPECT_EQ(boxes_[0].text, "Whatever you just tried to do is not implemented.");
    boxes_.clear();
  }
  EXPECT_FALSE(PlatformPeekMessage(message));
}

TEST_F(WindowFunctionsTest, MessageBoxesPassTextAndTitleInTheirOrder) {
  ErrorBox("e-text", "e-title");
  InfoBox("i-text", "i-title");
  WarnBox("w-text", "w-title");
  answer_ = "yes";
  EXPECT_TRUE(YesNoBox("q-text", "q-title"));
  answer_ = "no";
  EXPECT_FALSE(YesNoBox("q-text", "q-title"));
  answer_ = "ok";
  EXPECT_FALSE(YesNoBox("q-text", "q-title"));
  const BoxKind kinds[] = {BoxKind::Error, BoxKind::Info, BoxKind::Warning, BoxKind::Question};
  const char* names[] = {"e", "i", "w", "q"};
  ASSERT_EQ(boxes_.size(), 6u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(boxes_[i].kind, kinds[i]);
    EXPECT_EQ(boxes_[i].text, std::string(names[i]) + "-text");
    EXPECT_EQ(boxes_[i].title, std::string(names[i]) + "-title");
  }
}

TEST(Mouse, HoverIsHalfOpenOnBothAxes) {
  struct Case {
    int mx, my;
    bool inside;
  };
  const Case cases[] = {
      {10, 10, true}, {14, 14, true}, {15, 10, false}, {10, 15, false}, {9, 10, false}, {10, 9, false}, {12, 12, true},
  };
  for (const Case& c : cases) {
    mouse_x = c.mx;
    mouse_y = c.my;
    EXPECT_EQ(IsMouseHover(10, 10, 5, 5), c.inside) << c.mx << "," << c.my;
  }
  mouse_x = 10;
  mouse_y = 10;
  EXPECT_FALSE(IsMouseHover(10, 10, 0, 5));  // an empty area holds nothing
  mouse_x = 0;
  mouse_y = 0;
}

TEST(Objects, NullifyDestroysAndClears) {
  BITMAP* bmp = create_bitmap(4, 4);
  ASSERT_NE(bmp, nullptr);
  Nullify(bmp);
  EXPECT_EQ(bmp, nullptr);
  Nullify(bmp);  // a null pointer stays null
  EXPECT_EQ(bmp, nullptr);
  SAMPLE* sample = create_sample(8, 0, 8000, 16);
  ASSERT_NE(sample, nullptr);
  Nullify(sample);
  EXPECT_EQ(sample, nullptr);
  FONT* none = nullptr;
  Nullify(none);
  EXPECT_EQ(none, nullptr);
}

TEST(Cursor, IndexIsKeptEvenWithoutSuchACursor) {
  // Without a mouse driver Allegro keeps no sprite; the index is still recorded.
  for (int index : {2, 0, 7, -1}) {
    SetMouseCursorBitmap(index);
    EXPECT_EQ(MC_CURRENT, index);
  }
  MC_CURRENT = 0;
}

TEST(Objects, ScanRegionListsTheMagentaPixelsRowByRow) {
  BITMAP* bmp = create_bitmap(3, 2);
  ASSERT_NE(bmp, nullptr);
  clear_to_color(bmp, 0x00000000);
  putpixel(bmp, 2, 0, 0x00FF00FF);
  putpixel(bmp, 0, 1, static_cast<int>(0xFFFF00FFu));  // alpha does not matter
  putpixel(bmp, 1, 1, 0x00FF00FE);                     // near magenta is kept
  const std::vector<Rect> expected = {{2, 0, 3, 1}, {0, 1, 1, 2}};
  EXPECT_EQ(Rects(ScanRegion(bmp)), expected);
  EXPECT_TRUE(ScanRegion(nullptr).empty());
  destroy_bitmap(bmp);
}

}  // namespace
