#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "demo/demo_image.h"
#include "e2e_support.h"
#include "view_support.h"
#include "level/ex_gfx_QBR1.h"

namespace fs = std::filesystem;

// The sprite viewer, palette editor and hex editor driven through the real
// program: entered from the Mode menu and from the start-up toolbar, and
// edits that reach the saved file.

namespace {

using e2e::ReadBytes;
using e2e::WordAt;

constexpr int kLevel = 0x16;
constexpr int kEditorW = 776, kEditorH = 604;
// The "Mode" menu: its title, and its entries from the top, 21 pixels apart.
constexpr int kModeTitleX = 722, kMenuY = 29;
constexpr int kModeEntryX = 680, kModeFirstEntryY = 47, kModeEntryStep = 21;
enum ModeEntry { kLevelEditor, kExtraction, kSpriteViewer, kPaletteEditor, kPhysmapEditor, kHexEditor };
// The engine mode each entry enters (the physmap editor has none).
constexpr int kModeOfEntry[6] = {1, 2, 3, 4, -1, 5};
// Start-up toolbar: "Open" and the six mode buttons (22 x 24 from y 36).
constexpr int kOpenButtonX = 6;
constexpr int kStartupModeButtonX[6] = {378, 401, 424, 447, 470, 493};
constexpr int kToolY = 36;
// The view area starts here in every mode.
constexpr int kViewX = 4, kViewY = 60;
// Colours the modes draw (see the modes' own sources).
constexpr uint32_t kHexCursorShade = 0x606060;
constexpr uint32_t kGridDark = 0x020202, kGridLight = 0x0A0A0A;
// Palette editor geometry: label column, row height, first swatch row.
constexpr int kPaletteLabelW = 112, kPaletteRowH = 30;

using e2e::Demo;
using e2e::Picture;
using e2e::ReadPng;

class ResourceModes : public e2e::EndToEndTest {
 protected:

  // Starts the program, cancels its automatic Open, puts the demo's game
  // configuration in place and opens the demo image file with the start-up
  // toolbar's "Open", after choosing `startup_mode` there when >= 0. `more`
  // answers the dialogs after the alpha notice.
  void OpenDemo(int startup_mode, const std::vector<std::string>& more = {}) {
    e2e::LaunchOptions options;
    options.dialog_answers = {"cancel", "ok", rom.Rom().string(), "yes", "ok"};
    options.dialog_answers.insert(options.dialog_answers.end(), more.begin(), more.end());
    options.configuration_ini = "[LevelDisplay]\nEnable = Yes\n";
    Launch(options);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(app->WaitForDialogs(2)) << app->Stderr();
    {
      std::ofstream config(fs::path(app->workdir()) / "GameConfig" / "QBR v10U.INI", std::ios::binary);
      config << Demo().config;
    }
    int w = 0, h = 0;
    ASSERT_TRUE(app->Geometry(wx, wy, w, h));
    if (startup_mode >= 0) ClickWindow(kStartupModeButtonX[startup_mode] + 11, kToolY + 11);
    ClickWindow(kOpenButtonX + 11, kToolY + 11);
    ASSERT_TRUE(app->WaitForDialog("info", 20.0)) << app->Stderr();
    ASSERT_TRUE(app->WaitForSize(kEditorW, kEditorH, 15.0)) << app->Stderr();
    ASSERT_TRUE(app->WaitForMode(kModeOfEntry[startup_mode >= 0 ? startup_mode : kLevelEditor])) << app->Stderr();
    ASSERT_TRUE(app->Geometry(wx, wy, w, h));
    ParkMouse();
  }

  // A click held long enough for a logic update of an idle program to see it.
  void ClickWindow(int x, int y) {
    e2e::MouseMove(wx + x, wy + y);
    e2e::Hold(150);
    e2e::MouseDown();
    e2e::Hold(120);
    e2e::MouseUp();
    e2e::Hold(150);
  }
  void ParkMouse() { e2e::MouseMove(wx + kEditorW + 40, wy + kEditorH + 40); }

  // Opens the "Mode" menu and chooses an entry.
  void ChooseMode(ModeEntry entry) {
    ClickWindow(kModeTitleX, kMenuY);
    ClickWindow(kModeEntryX, kModeFirstEntryY + kModeEntryStep * entry);
    ParkMouse();
  }

  // Waits until the window pixel (x, y) satisfies `want`; false on timeout.
  bool WaitForPixel(int x, int y, const std::function<bool(uint32_t)>& want, uint32_t* last = nullptr,
                    double timeout_s = 15.0) const {
    const auto start = std::chrono::steady_clock::now();
    do {
      e2e::Screenshot shot;
      if (e2e::TakeScreenshot(shot)) {
        const uint32_t pixel = shot.Pixel(wx + x, wy + y);
        if (last) *last = pixel;
        if (want(pixel)) return true;
      }
      e2e::Hold(100);
    } while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < timeout_s);
    return false;
  }

  // The mode shown, told by what each draws at fixed places of its view.
  bool ShowsHexEditor(uint32_t* last = nullptr) const {
    // The cursor stands on offset 0 on entry: its cell is shaded.
    return WaitForPixel(
        kViewX + 63, kViewY + 3, [](uint32_t p) { return p == kHexCursorShade; }, last);
  }
  bool ShowsSpriteViewer(uint32_t* last = nullptr) const {
    return WaitForPixel(
        kViewX + 1, kViewY + 1, [](uint32_t p) { return p == kGridDark || p == kGridLight; }, last);
  }
  bool ShowsPaletteEditor(uint32_t* last = nullptr) const {
    // Swatch 1 of the first row: colour 1 of the level palette.
    const DemoLevel* level = Demo().Level(kLevel);
    const unsigned word = WordAt(Demo().rom, level->paletteOffset + 2);
    const uint32_t colour = QBR1_Colour(word) & 0xFFFFFF;
    return WaitForPixel(
        SwatchX(1) + 4, kViewY + 2 + 4, [colour](uint32_t p) { return p == colour; }, last);
  }
  bool ShowsLevelEditor(uint32_t* last = nullptr) {
    // The view's top-left corner shows the level at camera (0, 0), as the export does.
    if (level_picture.w == 0 && !rom.Export(kLevel, level_picture)) return false;
    const uint32_t a = level_picture.At(1, 1), b = level_picture.At(63, 3);
    return WaitForPixel(
               kViewX + 1, kViewY + 1, [a](uint32_t p) { return p == a; }, last) &&
           WaitForPixel(
               kViewX + 63, kViewY + 3, [b](uint32_t p) { return p == b; }, last);
  }
  // Saves with Ctrl+S and waits until the file on disk satisfies `done`.
  bool SaveAndWait(const std::function<bool(const std::vector<unsigned char>&)>& done) {
    e2e::KeyDown("ctrl");
    e2e::Key("s");
    e2e::KeyUp("ctrl");
    const auto start = std::chrono::steady_clock::now();
    do {
      if (done(ReadBytes(rom.Rom()))) return true;
      e2e::Hold(100);
    } while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < 15.0);
    return false;
  }
  static int SwatchX(int swatch) {
    const int cell = (kEditorW - 8 - kPaletteLabelW - 4) / 16;
    return kViewX + kPaletteLabelW + swatch * cell;
  }

  // The demo image as a file, opened and saved by the tests.
  e2e::ExportFolder rom;
  Picture level_picture;
};

TEST_F(ResourceModes, TheModeMenuEntersEachModeAndReturnsToTheLevelEditor) {
  OpenDemo(-1);
  ASSERT_TRUE(ShowsLevelEditor());
  uint32_t last = 0;
  ChooseMode(kHexEditor);
  EXPECT_TRUE(ShowsHexEditor(&last)) << std::hex << last;
  ChooseMode(kSpriteViewer);
  EXPECT_TRUE(ShowsSpriteViewer(&last)) << std::hex << last;
  ChooseMode(kPaletteEditor);
  EXPECT_TRUE(ShowsPaletteEditor(&last)) << std::hex << last;
  // The physmap editor does not exist: its entry is unavailable, the menu stays
  // open (a click on the title closes it) and the palette editor stays.
  ChooseMode(kPhysmapEditor);
  ClickWindow(kModeTitleX, kMenuY);
  ParkMouse();
  e2e::Hold(400);
  EXPECT_TRUE(ShowsPaletteEditor(&last)) << std::hex << last;
  ChooseMode(kLevelEditor);
  EXPECT_TRUE(ShowsLevelEditor(&last)) << std::hex << last;
  e2e::Key("Escape");
  EXPECT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
}

TEST_F(ResourceModes, TheStartupToolbarChoosesTheModeTheOpenEnters) {
  OpenDemo(kHexEditor);
  uint32_t last = 0;
  EXPECT_TRUE(ShowsHexEditor(&last)) << std::hex << last;
  ChooseMode(kLevelEditor);
  EXPECT_TRUE(ShowsLevelEditor(&last)) << std::hex << last;
  e2e::Key("Escape");
  EXPECT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
}

// A palette colour answered #FF0000 in the colour dialog: the saved file
// differs in that palette word alone, and the level's export shows red exactly
// where it showed that colour's tiles.
TEST_F(ResourceModes, APaletteEditReachesTheSavedFileAndTheExport) {
  const DemoLevel* level = Demo().Level(kLevel);
  ASSERT_NE(level, nullptr);
  Picture before;
  ASSERT_TRUE(rom.Export(kLevel, before));
  // A colour of the level palette that no other entry shares and that the
  // picture shows (colours 16p are transparent and never shown).
  int index = -1;
  for (int i = 1; i < 128 && index < 0; ++i) {
    if (i % 16 == 0) continue;
    const uint32_t colour = QBR1_Colour(WordAt(Demo().rom, level->paletteOffset + 2 * i)) & 0xFFFFFF;
    bool unique = colour != 0xF80000;
    for (int j = 1; j < 128 && unique; ++j)
      if (j != i && j % 16 != 0 && (QBR1_Colour(WordAt(Demo().rom, level->paletteOffset + 2 * j)) & 0xFFFFFF) == colour)
        unique = false;
    if (unique && std::find(before.pixels.begin(), before.pixels.end(), colour) != before.pixels.end()) index = i;
  }
  ASSERT_GE(index, 0) << "the demo level shows no colour of its own";
  const long at = level->paletteOffset + 2 * index;
  const unsigned old = WordAt(Demo().rom, at);
  const uint32_t old_colour = QBR1_Colour(old) & 0xFFFFFF;

  OpenDemo(kPaletteEditor, {"#FF0000"});
  uint32_t last = 0;
  ASSERT_TRUE(ShowsPaletteEditor(&last)) << std::hex << last;
  const int row = index / 16, swatch = index % 16;
  ClickWindow(SwatchX(swatch) + 6, kViewY + 2 + row * kPaletteRowH + 8);
  ParkMouse();
  ASSERT_TRUE(app->WaitForDialog("colour")) << app->Stderr();
  EXPECT_TRUE(WaitForPixel(
      SwatchX(swatch) + 4, kViewY + 2 + row * kPaletteRowH + 4, [](uint32_t p) { return p == 0xF80000; }, &last))
      << std::hex << last;

  const std::vector<unsigned char>& original = Demo().rom;
  ASSERT_TRUE(SaveAndWait([&](const std::vector<unsigned char>& file) { return file != original; })) << app->Stderr();
  const std::vector<unsigned char> saved = ReadBytes(rom.Rom());
  ASSERT_EQ(saved.size(), original.size());
  for (size_t i = 0; i < saved.size(); ++i)
    if (static_cast<long>(i) != at && static_cast<long>(i) != at + 1) {
      ASSERT_EQ(saved[i], original[i]) << i;
    }
  EXPECT_EQ(WordAt(saved, at), (old & 0x8000) | 0x001Fu);

  Picture after;
  ASSERT_TRUE(rom.Export(kLevel, after));
  ASSERT_EQ(after.pixels.size(), before.pixels.size());
  int turned_red = 0;
  for (size_t i = 0; i < after.pixels.size(); ++i) {
    if (after.pixels[i] == before.pixels[i]) continue;
    ++turned_red;
    ASSERT_EQ(before.pixels[i], old_colour) << i;
    ASSERT_EQ(after.pixels[i], 0xF80000u) << i;
  }
  EXPECT_GT(turned_red, 0);

  // Back in the level editor (camera at the level's corner) the colour shows at once.
  int shown_x = -1, shown_y = -1;
  for (int y = 0; y < 512 && shown_x < 0; ++y)
    for (int x = 0; x < kEditorW - 8 - 12 && shown_x < 0; ++x)
      if (after.At(x, y) != before.At(x, y)) shown_x = x, shown_y = y;
  ASSERT_GE(shown_x, 0) << "no changed pixel in the first screen of the level";
  ChooseMode(kLevelEditor);
  EXPECT_TRUE(WaitForPixel(kViewX + shown_x, kViewY + shown_y, [](uint32_t p) { return p == 0xF80000; }, &last))
      << std::hex << last;
  e2e::Key("Escape");
  EXPECT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
}

// Two hex digits typed on a byte: saved at its offset; undo and a second
// save bring the file back whole.
TEST_F(ResourceModes, AHexEditIsSavedAtItsOffsetAndUndoRestoresIt) {
  OpenDemo(kHexEditor);
  uint32_t last = 0;
  ASSERT_TRUE(ShowsHexEditor(&last)) << std::hex << last;
  // Row 1, column 3 of the first screen: offset 0x13.
  constexpr long kOffset = 0x13;
  ClickWindow(kViewX + 64 + 3 * 24 + 4, kViewY + 2 + 1 * 12 + 5);
  ParkMouse();
  const std::vector<unsigned char>& original = Demo().rom;
  const unsigned value = original[kOffset] ^ 0x5A;
  const char* digits = "0123456789abcdef";
  e2e::Key(std::string(1, digits[value >> 4]));
  e2e::Key(std::string(1, digits[value & 15]));
  ASSERT_TRUE(SaveAndWait([&](const std::vector<unsigned char>& file) {
    return file.size() > kOffset && file[kOffset] == value;
  })) << app->Stderr();
  std::vector<unsigned char> saved = ReadBytes(rom.Rom());
  ASSERT_EQ(saved.size(), original.size());
  saved[kOffset] = original[kOffset];
  EXPECT_TRUE(saved == original) << "bytes other than the typed one changed";

  e2e::KeyDown("ctrl");
  e2e::Key("z");
  e2e::KeyUp("ctrl");
  // Still the hex editor, its cursor on the byte after the typed one (0x14).
  EXPECT_TRUE(WaitForPixel(
      kViewX + 64 + 4 * 24 - 1, kViewY + 2 + 12 + 1, [](uint32_t p) { return p == kHexCursorShade; }, &last))
      << "undo left the hex editor " << std::hex << last;
  EXPECT_TRUE(SaveAndWait([&](const std::vector<unsigned char>& file) { return file == original; })) << app->Stderr();
  e2e::Key("Escape");
  EXPECT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
}

}  // namespace
