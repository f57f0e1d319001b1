#include <gtest/gtest.h>

#include <set>

#include "platform/allegro_include.h"
#include "shell/runtime/screen.h"
#include "tests/common/headless_allegro.h"

namespace {

// A graphics driver with a fixed room for video bitmaps and switchable abilities.
struct FakeDriver {
  int video_room = 0;       // video bitmaps that can still be made
  bool can_triple = false;  // triple buffering is available
  bool system_ok = true;    // system bitmaps can be made
  bool memory_ok = true;    // memory bitmaps can be made
  int live = 0;             // bitmaps made and not yet destroyed
  std::set<BITMAP*> video;  // live video bitmaps
  BITMAP* screen_page = nullptr;
  BITMAP* shown = nullptr;  // last page shown or requested
  int vsyncs = 0;
};

FakeDriver driver;
constexpr int kModeW = 64;
constexpr int kModeH = 48;

BITMAP* Make(int w, int h) {
  BITMAP* bmp = create_bitmap_ex(32, w, h);
  if (bmp) ++driver.live;
  return bmp;
}

const VideoBitmapProvider fake_provider = {
    [](int& w, int& h) {
      w = kModeW;
      h = kModeH;
    },
    [] { return driver.can_triple; },
    [](int w, int h) -> BITMAP* {
      if (driver.video_room <= 0) return nullptr;
      --driver.video_room;
      BITMAP* bmp = Make(w, h);
      driver.video.insert(bmp);
      return bmp;
    },
    [](int w, int h) -> BITMAP* { return driver.system_ok ? Make(w, h) : nullptr; },
    [](int w, int h) -> BITMAP* { return driver.memory_ok ? Make(w, h) : nullptr; },
    [] { return driver.screen_page; },
    [](BITMAP* bmp) {
      if (driver.video.erase(bmp)) ++driver.video_room;
      --driver.live;
      destroy_bitmap(bmp);
    },
    [](BITMAP* page) { driver.shown = page; },
    [](BITMAP* page) { driver.shown = page; },
    [] { return false; },
    [] { ++driver.vsyncs; },
};

class ScreenUpdateTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(StartHeadlessAllegro()); }
  void SetUp() override {
    driver = FakeDriver{};
    driver.screen_page = create_bitmap_ex(32, kModeW, kModeH);
    SetVideoBitmapProvider(&fake_provider);
  }
  void TearDown() override {
    ShutDownScreenUpdate();
    EXPECT_EQ(driver.live, 0) << "a page was not released";
    destroy_bitmap(driver.screen_page);
    SetVideoBitmapProvider(nullptr);
  }
};

struct MethodCase {
  const char* name;
  int requested;
  int video_room;
  bool can_triple;
  bool system_ok;
  int expected;
};

TEST_F(ScreenUpdateTest, MethodAndFallBacks) {
  const MethodCase cases[] = {
      {"triple buffering available", 1, 3, true, true, 1},
      {"triple buffering unavailable", 1, 3, false, true, 2},
      {"third page missing", 1, 2, true, true, 2},
      {"page flipping", 2, 2, false, true, 2},
      {"one video bitmap only (X11)", 2, 1, false, true, 4},
      {"Draw = 0", 0, 1, false, true, 4},
      {"Draw = 5", 5, 1, false, true, 4},
      {"Draw = -1", -1, 1, false, true, 4},
      {"Draw = 0 with triple buffering", 0, 3, true, true, 1},
      {"system buffer", 3, 1, false, true, 3},
      {"system buffer without system bitmaps", 3, 1, false, false, 4},
      {"double buffer", 4, 1, false, true, 4},
      {"double buffer without video bitmaps", 4, 0, false, true, 4},
  };
  for (const MethodCase& c : cases) {
    SCOPED_TRACE(c.name);
    ShutDownScreenUpdate();
    driver.video_room = c.video_room;
    driver.can_triple = c.can_triple;
    driver.system_ok = c.system_ok;
    InitializeScreenUpdate(c.requested);
    EXPECT_EQ(GetScreenUpdateMethod(), c.expected);
    ASSERT_NE(GetBuffer(), nullptr);
    ASSERT_NE(GetScreen(), nullptr);
    EXPECT_NE(GetBuffer(), GetScreen());
    EXPECT_EQ(GetBuffer()->w, kModeW);
    EXPECT_EQ(GetBuffer()->h, kModeH);
  }
}

TEST_F(ScreenUpdateTest, NoMemoryLeavesNoMethodAndNoPage) {
  driver.video_room = 0;
  driver.memory_ok = false;
  InitializeScreenUpdate(2);
  EXPECT_EQ(GetScreenUpdateMethod(), 0);
  EXPECT_EQ(GetBuffer(), nullptr);
  SwapBuffers();  // no method: nothing happens
}

TEST_F(ScreenUpdateTest, PageFlippingAlternatesTwoPages) {
  driver.video_room = 2;
  InitializeScreenUpdate(2);
  ASSERT_EQ(GetScreenUpdateMethod(), 2);
  BITMAP* first = GetBuffer();
  BITMAP* second = GetScreen();
  EXPECT_EQ(driver.shown, second);
  for (int i = 0; i < 4; ++i) {
    BITMAP* drawn = GetBuffer();
    EXPECT_EQ(drawn, i % 2 == 0 ? first : second);
    SwapBuffers();
    EXPECT_EQ(GetScreen(), drawn);
    EXPECT_EQ(driver.shown, drawn);
  }
}

TEST_F(ScreenUpdateTest, TripleBufferingCyclesThreePages) {
  driver.video_room = 3;
  driver.can_triple = true;
  InitializeScreenUpdate(1);
  ASSERT_EQ(GetScreenUpdateMethod(), 1);
  BITMAP* seen[6];
  for (BITMAP*& page : seen) {
    page = GetBuffer();
    SwapBuffers();
    EXPECT_EQ(driver.shown, page);
  }
  EXPECT_NE(seen[0], seen[1]);
  EXPECT_NE(seen[1], seen[2]);
  EXPECT_NE(seen[0], seen[2]);
  EXPECT_EQ(seen[3], seen[0]);
  EXPECT_EQ(seen[4], seen[1]);
  EXPECT_EQ(seen[5], seen[2]);
}

TEST_F(ScreenUpdateTest, DoubleBufferCopiesTheSamePageEveryFrame) {
  driver.video_room = 1;
  InitializeScreenUpdate(4);
  ASSERT_EQ(GetScreenUpdateMethod(), 4);
  BITMAP* page = GetBuffer();
  for (int frame = 1; frame <= 3; ++frame) {
    ASSERT_EQ(GetBuffer(), page);
    putpixel(page, kModeW - 1, kModeH - 1, 0x112200 + frame);
    putpixel(page, 0, 0, 0x330000 + frame);
    SwapBuffers();
    EXPECT_EQ(getpixel(GetScreen(), kModeW - 1, kModeH - 1), 0x112200 + frame);
    EXPECT_EQ(getpixel(GetScreen(), 0, 0), 0x330000 + frame);
  }
  EXPECT_EQ(driver.vsyncs, 0);
  EnableVSync();
  SwapBuffers();
  DisableVSync();
  EXPECT_EQ(driver.vsyncs, 1);
}

TEST_F(ScreenUpdateTest, AreaSwapCopiesOnlyTheWindowArea) {
  driver.video_room = 1;
  InitializeScreenUpdate(4);
  ASSERT_EQ(GetScreenUpdateMethod(), 4);
  clear_to_color(GetBuffer(), 0x445566);
  SwapBuffersArea(20, 10);
  EXPECT_EQ(getpixel(GetScreen(), 19, 9), 0x445566);
  EXPECT_EQ(getpixel(GetScreen(), 20, 9), 0);
  EXPECT_EQ(getpixel(GetScreen(), 19, 10), 0);
  SwapBuffersArea(kModeW + 100, kModeH + 100);  // larger than the mode: the whole page
  EXPECT_EQ(getpixel(GetScreen(), kModeW - 1, kModeH - 1), 0x445566);
}

TEST_F(ScreenUpdateTest, LastResortCopiesToTheScreen) {
  driver.video_room = 0;
  InitializeScreenUpdate(4);
  ASSERT_EQ(GetScreenUpdateMethod(), 4);
  EXPECT_EQ(GetScreen(), driver.screen_page);
  putpixel(GetBuffer(), 3, 4, 0xABCDEF);
  SwapBuffers();
  EXPECT_EQ(getpixel(driver.screen_page, 3, 4), 0xABCDEF);
}

}  // namespace
