#include <gtest/gtest.h>

#include "e2e_support.h"

namespace {

constexpr int kStartW = 520;
constexpr int kStartH = 176;

// The program on the start-up screen, its automatic Open cancelled.
class StartupWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!e2e::HaveDisplay()) GTEST_SKIP() << "DISPLAY is not set";
    e2e::LaunchOptions options;
    options.dialog_answers = {"cancel"};
    options.configuration_ini = configuration;
    app = std::make_unique<e2e::App>(options);
    ASSERT_TRUE(app->WaitForWindow()) << app->Stderr();
    ASSERT_TRUE(app->WaitForSize(kStartW, kStartH)) << app->Stderr();
    // The first pass has run once the automatic Open was answered.
    ASSERT_TRUE(app->WaitForDialogs(1)) << app->Stderr();
    ScreenSize();
  }
  void ScreenSize() {
    std::string geometry = e2e::RunCommand("xdotool getdisplaygeometry");
    sscanf(geometry.c_str(), "%d %d", &screen_w, &screen_h);
  }
  void Where(int& x, int& y) {
    int w = 0, h = 0;
    ASSERT_TRUE(app->Geometry(x, y, w, h));
  }

  std::string configuration = "";
  std::unique_ptr<e2e::App> app;
  int screen_w = 0, screen_h = 0;
};

TEST_F(StartupWindowTest, AppearsCentredWithCutCornersAndAsksForARomImage) {
  int x = 0, y = 0, w = 0, h = 0;
  ASSERT_TRUE(app->Geometry(x, y, w, h));
  EXPECT_EQ(w, kStartW);
  EXPECT_EQ(h, kStartH);
  EXPECT_EQ(x, (screen_w - kStartW) / 2);
  EXPECT_EQ(y, (screen_h - kStartH) / 3);
  const std::string shape = app->ShapeInfo();
  EXPECT_NE(shape.find("Bounding shape extents:"), std::string::npos) << shape;
  EXPECT_NE(shape.find("Window is shaped") == std::string::npos ? shape.find("bounding shape") : 0, std::string::npos)
      << shape;
  const auto log = app->DialogLog();
  ASSERT_GE(log.size(), 1u);
  EXPECT_EQ(log[0].kind, "open");
  EXPECT_EQ(log[0].answer, "cancel");
  // Cancelling leaves the start-up screen running without asking again.
  e2e::Sleep(500);
  EXPECT_TRUE(app->Running());
  EXPECT_EQ(app->DialogLog().size(), 1u);
}

TEST_F(StartupWindowTest, ShowsTheBannerAndTheFrame) {
  int x = 0, y = 0;
  Where(x, y);
  e2e::Screenshot shot;
  ASSERT_TRUE(e2e::TakeScreenshot(shot));
  // Cut corners: the top-left pixel of the window is not the window's.
  const uint32_t background = 0x0F3F7F;
  // Between the banner and the caption: the frame buffer's background colour.
  EXPECT_EQ(shot.Pixel(x + 100, y + 60 - 1), background);
  // The margins left and right of the banner are background too.
  EXPECT_EQ(shot.Pixel(x + 4 + 512 - 1 + 1, y + 100), background);
  // The banner covers (4, 60)-(515, 155): no background pixel inside a sample row.
  int banner_pixels = 0;
  for (int bx = 4; bx < 4 + 512; bx += 8) banner_pixels += shot.Pixel(x + bx, y + 100) != background;
  EXPECT_EQ(banner_pixels, 64);
  // The caption band, the borders and the status bar are drawn (not background).
  EXPECT_NE(shot.Pixel(x + 200, y + 12), background);
  EXPECT_NE(shot.Pixel(x + 1, y + 100), background);
  EXPECT_NE(shot.Pixel(x + kStartW - 2, y + 100), background);
  EXPECT_NE(shot.Pixel(x + 200, y + kStartH - 2), background);
  EXPECT_NE(shot.Pixel(x + 200, y + kStartH - 12), background);
}

TEST_F(StartupWindowTest, EscapeEndsTheProgram) {
  e2e::Key("Escape", 100);
  EXPECT_EQ(app->WaitForExit(2.0), 0) << app->Stderr();
}

TEST_F(StartupWindowTest, CloseButtonEndsTheProgram) {
  int x = 0, y = 0;
  Where(x, y);
  e2e::Click(x + kStartW - 6 - 10, y + 12);
  EXPECT_EQ(app->WaitForExit(2.0), 0) << app->Stderr();
}

TEST_F(StartupWindowTest, MinimiseButtonIconifies) {
  int x = 0, y = 0;
  Where(x, y);
  // close at w-26, maximise (disabled) 21 further left, minimise 21 further again.
  e2e::Click(x + kStartW - 6 - 20 - 42 + 10, y + 12);
  e2e::Sleep(300);
  EXPECT_EQ(app->MapState(), "IsUnMapped");
  EXPECT_TRUE(app->Running());
}

TEST_F(StartupWindowTest, CaptionDragMovesTheWindowAndStopsAtTheScreenEdges) {
  int x = 0, y = 0;
  Where(x, y);
  const int grab_x = x + 200, grab_y = y + 12;
  e2e::MouseMove(grab_x, grab_y);
  e2e::Sleep(80);
  e2e::MouseDown();
  e2e::Sleep(80);
  e2e::MouseMove(grab_x + 40, grab_y + 30);
  e2e::Sleep(150);
  int nx = 0, ny = 0;
  Where(nx, ny);
  EXPECT_EQ(nx, x + 40);
  EXPECT_EQ(ny, y + 30);
  e2e::MouseMove(grab_x + 5000 > screen_w - 1 ? screen_w - 1 : grab_x + 5000, screen_h - 1);
  e2e::Sleep(150);
  Where(nx, ny);
  EXPECT_EQ(nx, screen_w - kStartW < x + (screen_w - 1 - grab_x) ? screen_w - kStartW : x + (screen_w - 1 - grab_x));
  EXPECT_EQ(ny, screen_h - kStartH);
  e2e::MouseMove(0, 0);
  e2e::Sleep(150);
  Where(nx, ny);
  EXPECT_EQ(nx, 0);
  EXPECT_EQ(ny, 0);
  e2e::MouseUp();
  e2e::Sleep(100);
  e2e::MouseMove(300, 300);
  e2e::Sleep(150);
  Where(nx, ny);
  EXPECT_EQ(nx, 0);
  EXPECT_EQ(ny, 0);
}

// Without an Engine section the program runs at 60 Hz with method 2, which falls back
// (X11 has one video bitmap) and still shows its frames.
class NoEngineSectionTest : public StartupWindowTest {
 protected:
  NoEngineSectionTest() { configuration = "[Window]\n"; }
};

TEST_F(NoEngineSectionTest, RunsAndClosesNormally) {
  e2e::Screenshot shot;
  ASSERT_TRUE(e2e::TakeScreenshot(shot));
  int x = 0, y = 0;
  Where(x, y);
  EXPECT_EQ(shot.Pixel(x + 100, y + 59), 0x0F3F7Fu);
  e2e::Key("Escape", 100);
  EXPECT_EQ(app->WaitForExit(2.0), 0) << app->Stderr();
}

TEST(CommandLineE2E, VersionAndUsageErrors) {
  int status = 0;
  std::string out = e2e::RunCommand(std::string(QBRRE_BINARY_PATH) + " --version", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out, "QBR Resource Editor v0.0.6.0    [Debug]\n");
  out = e2e::RunCommand(std::string(QBRRE_BINARY_PATH) + " --no-such-option 2>&1", &status);
  EXPECT_EQ(status, 2);
  EXPECT_NE(out.find("Usage: qbrre [ROM]"), std::string::npos);
}

}  // namespace
