#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "rom/bps_patch.h"
#include "tests/common/temp_folder.h"
#include "view_support.h"

namespace fs = std::filesystem;

// A hack kept as a BPS patch, edited through the program's own keys and menus: `qbrre game.smc
// --patch hack.bps` opens the image with the patch applied under a title naming both, the first Save
// asks where to write, and File > Save BPS... updates the patch itself; the clean image is never
// written, and the updated patch applied to it gives the file Save wrote.

namespace {

using Bytes = std::vector<unsigned char>;

// A level point in the view of the first level, away from the view's edges and panels.
constexpr int kPaintX = 150, kPaintY = 170;
// The editor's menu bar row, the File title, and the centre of File > Save BPS... (the sixth entry
// of 21-pixel rows from y 38: Open..., Open Patch..., Save, Save As..., Save IPS..., Save BPS...).
constexpr int kBarY = 29, kFileX = 10, kSaveBpsY = 38 + 5 * 21 + 10;


void Write(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(PatchSessionEndToEnd, EditSaveBpsOverThePatchAndSaveAs) {
  if (!e2e::HaveDisplay()) GTEST_SKIP() << "DISPLAY is not set";
  TempFolder dir;
  const fs::path rom = dir / "game.smc", patch = dir / "hack.bps", saved = dir / "saved.smc";
  const Bytes clean = e2e::Demo().rom;
  // The hack changes bytes at the end of the image, which no level reads.
  Bytes hack = clean;
  for (std::size_t i = hack.size() - 64; i < hack.size(); ++i) hack[i] = static_cast<unsigned char>(i * 3);
  Write(rom, clean);
  Write(patch, MakeBpsPatch(clean, hack));

  e2e::LaunchOptions options;
  options.args = {rom.string(), "--patch", patch.string()};
  // The identification question, the notice, the first Save's path, Save BPS's path, and No should
  // closing ask about unsaved edits.
  options.dialog_answers = {"yes", "ok", saved.string(), patch.string(), "no"};
  e2e::App app(options);
  ASSERT_TRUE(app.WaitForWindow(30.0)) << app.Stderr();
  ASSERT_TRUE(app.WaitForDialog("info", 30.0)) << app.Stderr();
  ASSERT_TRUE(app.WaitForSize(776, 604, 15.0)) << app.Stderr();
  int wx = 0, wy = 0, ww = 0, wh = 0;
  ASSERT_TRUE(app.Geometry(wx, wy, ww, wh));
  EXPECT_TRUE(WaitUntil([&] {
    return e2e::RunCommand("xdotool getwindowname " + std::to_string(app.window()) + " 2>/dev/null") ==
           "QBRRE - hack.bps on game.smc\n";
  }));
  // The status line shows the level's name once the editor's frames are on the screen.
  ASSERT_TRUE(WaitUntil([&] {
    e2e::Screenshot shot;
    if (!e2e::TakeScreenshot(shot)) return false;
    const uint32_t first = shot.Pixel(wx + 8, wy + wh - 18);
    for (int y = wh - 18; y < wh - 6; ++y)
      for (int x = 8; x < 120; ++x)
        if (shot.Pixel(wx + x, wy + y) != first) return true;
    return false;
  })) << app.Stderr();

  // Take the map entry under the view point as the brush, mirror it and paint it back.
  e2e::Click(wx + kPaintX, wy + kPaintY, 3);
  e2e::Sleep(150);
  e2e::Key("h");
  e2e::Click(wx + kPaintX, wy + kPaintY, 1);

  // The first Save asks for a path (the clean image has none to be saved over).
  e2e::MouseMove(wx + ww / 2, wy + wh / 2);
  e2e::Key("ctrl+s");
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(saved) && e2e::ReadBytes(saved).size() == hack.size(); })) << app.Stderr();
  const Bytes written = e2e::ReadBytes(saved);
  EXPECT_TRUE(e2e::ReadBytes(rom) == clean);
  EXPECT_FALSE(written == hack);  // the paint is in it
  EXPECT_TRUE(std::equal(hack.end() - 64, hack.end(), written.end() - 64));

  // File > Save BPS...: the patch itself, now from the clean image to the one just saved.
  const Bytes first_patch = e2e::ReadBytes(patch);
  e2e::Click(wx + kFileX, wy + kBarY);
  e2e::Sleep(300);
  e2e::MouseMove(wx + 50, wy + kSaveBpsY);
  e2e::Sleep(300);
  e2e::Click(wx + 50, wy + kSaveBpsY);
  ASSERT_TRUE(WaitUntil([&] { return e2e::ReadBytes(patch) != first_patch; })) << app.Stderr();
  Bytes applied;
  std::string error;
  ASSERT_TRUE(ApplyBpsPatch(e2e::ReadBytes(patch), clean, applied, error)) << error;
  EXPECT_TRUE(applied == written);
  EXPECT_TRUE(e2e::ReadBytes(rom) == clean);
  const std::vector<e2e::DialogLogEntry> log = app.DialogLog();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[2].title, "Save QBR image as...");
  EXPECT_EQ(log[3].title, "Save BPS patch...");

  // Escape closes (declining to save, should the menu's click have reached the view too).
  e2e::MouseMove(wx + ww / 2, wy + wh / 2);
  e2e::Key("Escape", 300);
  EXPECT_EQ(app.WaitForExit(15.0), 0) << app.Stderr();
}

}  // namespace
