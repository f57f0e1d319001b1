#include "platform/allegro_include.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "tests/common/headless_allegro.h"
#include "tests/common/temp_folder.h"
#include "resources/skin.h"

namespace {

constexpr int kStartW = 520;
constexpr int kStartH = 176;

// The built-in pictures, loaded in this process to compare the screen against.
class BuiltinPictures : public HeadlessAllegroEnvironment {
 public:
  void SetUp() override {
    HeadlessAllegroEnvironment::SetUp();
    LoadBuiltinResources();
  }
  void TearDown() override { DestroyBuiltinResources(); }
};
const auto* const pictures = ::testing::AddGlobalTestEnvironment(new BuiltinPictures);

// The program on the start-up screen, its automatic Open cancelled.
class StartupWindowTest : public e2e::EndToEndTest {
 protected:
  void SetUp() override {
    e2e::EndToEndTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    e2e::LaunchOptions options;
    options.dialog_answers = {"cancel"};
    options.configuration_ini = configuration;
    Launch(options);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(app->WaitForSize(kStartW, kStartH)) << app->Stderr();
    // The first pass is on the screen once the automatic Open has been answered.
    ASSERT_TRUE(app->WaitForDialog("open")) << app->Stderr();
    std::string geometry = e2e::RunCommand("xdotool getdisplaygeometry");
    ASSERT_EQ(sscanf(geometry.c_str(), "%d %d", &screen_w, &screen_h), 2);
  }
  void Where(int& x, int& y) {
    int w = 0, h = 0;
    ASSERT_TRUE(app->Geometry(x, y, w, h));
  }
  // Where the window is once it stands at (want_x, want_y), polled over a generous deadline
  // (the program moves it at its own pace); else where it stood last.
  void WhereOnceAt(int want_x, int want_y, int& x, int& y) {
    WaitUntil([&] {
      int w = 0, h = 0;
      return app->Geometry(x, y, w, h) && x == want_x && y == want_y;
    });
  }
  int OpenDialogs() {
    int n = 0;
    for (const e2e::DialogLogEntry& entry : app->DialogLog()) n += entry.kind == "open";
    return n;
  }

  std::string configuration = "";
  int screen_w = 0, screen_h = 0;
};

// Counts the pixels of `piece` (mask colour skipped) that differ from the screen at (x, y).
int Mismatches(const e2e::Screenshot& shot, BITMAP* piece, int x, int y) {
  int wrong = 0;
  for (int py = 0; py < piece->h; ++py)
    for (int px = 0; px < piece->w; ++px) {
      const uint32_t colour = static_cast<uint32_t>(getpixel(piece, px, py)) & 0xFFFFFF;
      if (colour != 0xFF00FF && shot.Pixel(x + px, y + py) != colour) ++wrong;
    }
  return wrong;
}

TEST_F(StartupWindowTest, AppearsCentredWithCutCornersAndAsksOnce) {
  int x = 0, y = 0, w = 0, h = 0;
  ASSERT_TRUE(app->Geometry(x, y, w, h));
  EXPECT_EQ(w, kStartW);
  EXPECT_EQ(h, kStartH);
  EXPECT_EQ(x, (screen_w - kStartW) / 2);
  EXPECT_EQ(y, (screen_h - kStartH) / 3);
  const std::string shape = app->ShapeInfo();
  EXPECT_NE(shape.find("Window shape extents:  520x176+0+0"), std::string::npos) << shape;
  EXPECT_EQ(shape.find("No window shape defined"), std::string::npos) << shape;
  // Cut corners show what lies behind the window (here the root), like the pixels around it.
  e2e::Screenshot shot;
  ASSERT_TRUE(e2e::TakeScreenshot(shot));
  const uint32_t behind = shot.Pixel(x - 1, y - 1);
  const struct {
    int wx, wy;
    bool cut;
  } corners[] = {{0, 0, true},    {3, 0, true},     {4, 0, false},    {1, 1, true},    {2, 1, false},
                 {0, 3, true},    {1, 3, false},    {519, 0, true},   {515, 0, false}, {0, 175, true},
                 {1, 175, false}, {519, 175, true}, {518, 175, false}};
  for (const auto& c : corners) EXPECT_EQ(shot.Pixel(x + c.wx, y + c.wy) == behind, c.cut) << c.wx << "," << c.wy;
  // Cancelling leaves the start-up screen running without asking again.
  e2e::Hold(500);
  EXPECT_TRUE(app->Running());
  EXPECT_EQ(OpenDialogs(), 1);
}

TEST_F(StartupWindowTest, ShowsTheBannerAndTheFrame) {
  int x = 0, y = 0;
  Where(x, y);
  e2e::Screenshot shot;
  ASSERT_TRUE(e2e::TakeScreenshot(shot));
  ASSERT_NE(BMPBannerStartup, nullptr);
  EXPECT_EQ(Mismatches(shot, BMPBannerStartup, x + 4, y + 60), 0);
  // Frame pieces where the window layout puts them.
  EXPECT_EQ(Mismatches(shot, HelioBMP[2], x + kStartW - 6, y), 0);  // caption, right end
  for (int cx : {120, 300, 440})
    for (int row = 0; row < 24; ++row)
      EXPECT_EQ(shot.Pixel(x + cx, y + row), static_cast<uint32_t>(getpixel(HelioBMP[1], 0, row)) & 0xFFFFFF);
  for (int by : {24, 100, kStartH - 5}) {
    EXPECT_EQ(Mismatches(shot, HelioBMP[5], x, y + by), 0) << by;                // left border
    EXPECT_EQ(Mismatches(shot, HelioBMP[4], x + kStartW - 4, y + by), 0) << by;  // right border
  }
  EXPECT_EQ(Mismatches(shot, HelioBMP[6], x, y + kStartH - 4), 0);                   // bottom-left corner
  EXPECT_EQ(Mismatches(shot, HelioBMP[7], x + 250, y + kStartH - 4), 0);             // bottom border
  EXPECT_EQ(Mismatches(shot, HelioBMP[21], x + 250, y + kStartH - 20), 0);           // status bar
  EXPECT_EQ(Mismatches(shot, HelioBMP[23], x + kStartW - 20, y + kStartH - 20), 0);  // grip
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
  WaitUntil([&] { return app->MapState() == "IsUnMapped"; });
  EXPECT_EQ(app->MapState(), "IsUnMapped");
  EXPECT_TRUE(app->Running());
}

TEST_F(StartupWindowTest, CaptionDragMovesTheWindowAndStopsAtTheScreenEdges) {
  int x = 0, y = 0;
  Where(x, y);
  const int grab_x = x + 200, grab_y = y + 12;
  e2e::MouseMove(grab_x, grab_y);
  e2e::Hold(80);
  e2e::MouseDown();
  e2e::Hold(80);
  e2e::MouseMove(grab_x + 40, grab_y + 30);
  int nx = 0, ny = 0;
  WhereOnceAt(x + 40, y + 30, nx, ny);
  EXPECT_EQ(nx, x + 40);
  EXPECT_EQ(ny, y + 30);
  e2e::MouseMove(screen_w - 1, screen_h - 1);
  WhereOnceAt(screen_w - kStartW, screen_h - kStartH, nx, ny);
  EXPECT_EQ(nx, screen_w - kStartW);
  EXPECT_EQ(ny, screen_h - kStartH);
  e2e::MouseMove(0, 0);
  WhereOnceAt(0, 0, nx, ny);
  EXPECT_EQ(nx, 0);
  EXPECT_EQ(ny, 0);
  e2e::MouseUp();
  e2e::Hold(100);
  e2e::MouseMove(300, 300);
  e2e::Hold(150);
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
  EXPECT_EQ(Mismatches(shot, BMPBannerStartup, x + 4, y + 60), 0);
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

// The frame log tells a driving program when each mode reads input: the start-up
// screen, then the level editor the demo's Open enters, each entered before its
// first frame; and the count of passes grows while the editor runs.
using FrameLogEndToEnd = e2e::EndToEndTest;

TEST_F(FrameLogEndToEnd, NamesEachModeEnteredAndItsFirstFrameInOrder) {
  e2e::LaunchOptions options;
  options.args = {"--demo"};
  LaunchEditor(options);
  if (HasFatalFailure()) return;
  std::vector<std::string> events;
  std::ifstream log(std::filesystem::path(app->workdir()) / "frame_log.txt");
  for (std::string line; std::getline(log, line);) events.push_back(line);
  const std::vector<std::string> expected = {"enter 0", "ready 0", "enter 1", "ready 1"};
  EXPECT_EQ(events, expected);
  const unsigned long long passes = app->Passes();
  EXPECT_GT(passes, 0u);
  EXPECT_TRUE(WaitUntil([&] { return app->Passes() > passes + 2; })) << "the passes stopped at " << passes;
  e2e::Key("Escape");
  EXPECT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
}

}  // namespace
