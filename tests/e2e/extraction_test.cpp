#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <memory>
#include <unistd.h>

#include "e2e_support.h"
#include "shell/base/functions.h"
#include "view_support.h"

// The Extraction mode driven through the real program on the demo image:
// entered from the Mode menu, an entry of its Binary menu answered with a
// folder by the dialog script, and the files it writes there; its Import menu
// putting a folder back as the command without a window does.

namespace {

namespace fs = std::filesystem;

constexpr int kEditorW = 776, kEditorH = 604;
constexpr int kMenuY = 29;
// The "Mode" menu of the level editor and its "Extraction" entry (the second, 21 pixels below the first).
constexpr int kModeTitleX = 722, kEntryX = 40, kFirstEntryY = 47, kEntryStep = 21;
constexpr int kModeEntryX = 680;
// Entries of the extraction mode's "Binary" menu, from the top.
enum BinaryEntry { k8x8Tiles, kTileSets, kTileMaps };

class ExtractionEndToEnd : public e2e::EndToEndTest {
 protected:

  // Starts `qbrre --demo`; the script answers the alpha notice, then `answers`.
  void Launch(const std::vector<std::string>& answers) {
    e2e::LaunchOptions options;
    options.args = {"--demo"};
    options.configuration_ini = e2e::ConfigurationWith({});
    options.dialog_answers = {"ok"};
    options.dialog_answers.insert(options.dialog_answers.end(), answers.begin(), answers.end());
    LaunchEditor(options);
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

  // Chooses entry `entry` of the menu whose title starts at window x `title_x`.
  void ChooseFromMenu(int title_x, int entry_x, int entry) {
    ClickWindow(title_x, kMenuY);
    ClickWindow(entry_x, kFirstEntryY + kEntryStep * entry);
    e2e::MouseMove(wx + kEditorW + 40, wy + kEditorH + 40);
  }

  // The titles of the menu bar's left part as the screen shows them.
  std::vector<uint32_t> LeftTitles() const {
    std::vector<uint32_t> strip;
    e2e::Screenshot shot;
    if (!e2e::TakeScreenshot(shot)) return strip;
    for (int y = 24; y < 36; ++y)
      for (int x = 4; x < 300; ++x) strip.push_back(shot.Pixel(wx + x, wy + y));
    return strip;
  }

  // Mode > Extraction from the level editor; true once the mode's own menu titles show.
  bool EnterExtraction() {
    e2e::MouseMove(wx + kEditorW + 40, wy + kEditorH + 40);
    std::vector<uint32_t> editor_titles;
    if (!WaitFor([&] { return !(editor_titles = LeftTitles()).empty(); })) return false;
    ChooseFromMenu(kModeTitleX, kModeEntryX, 1);
    return WaitFor([&] {
      const std::vector<uint32_t> now = LeftTitles();
      return !now.empty() && now != editor_titles;
    });
  }

  // Window x of the extraction mode's menu title that follows `before` (File, Graphics, ...):
  // the titles are as wide as their text, 7 pixels apart, from x 4.
  static int TitleX(std::initializer_list<const char*> before) {
    int x = 4;
    for (const char* t : before) x += helio_stringlength(t) + 7;
    return x;
  }

  static bool WaitFor(const std::function<bool()>& done, double timeout_s = 30.0) {
    const auto start = std::chrono::steady_clock::now();
    while (!done()) {
      if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > timeout_s) return false;
      e2e::Hold(100);
    }
    return true;
  }

  // The folder the extraction is asked to write into; not there before.
  const fs::path folder_ = dir / "extracted";
};

TEST_F(ExtractionEndToEnd, BinaryTileMapsFromTheModeMenuWriteIntoTheScriptedFolder) {
  Launch({folder_.string(), "ok"});
  ASSERT_TRUE(EnterExtraction()) << app->Stderr();
  const int binary_x = TitleX({"File", "Graphics"});
  ChooseFromMenu(binary_x + 10, binary_x + kEntryX, kTileMaps);
  ASSERT_TRUE(app->WaitForDialog("folder", 20.0)) << app->Stderr();
  ASSERT_TRUE(app->WaitForDialogs(3, 30.0)) << app->Stderr();
  const auto log = app->DialogLog();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[1].kind, "folder");
  EXPECT_NE(log[1].title.find("Tile Maps"), std::string::npos) << log[1].title;
  EXPECT_EQ(log[1].answer, folder_.string());
  EXPECT_EQ(log[2].kind, "info");
  EXPECT_EQ(log[2].title, "Extraction");
  EXPECT_NE(log[2].text.find("228 files written"), std::string::npos) << log[2].text;

  // The maps are the demo builder's, column by column.
  for (const DemoLevel& level : e2e::Demo().levels) {
    SCOPED_TRACE(level.id);
    char name[32];
    std::snprintf(name, sizeof name, "tilemap-0x%02X.bin", level.id);
    std::ifstream in(folder_ / name, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_EQ(bytes.size(), 2u * level.tile_w * level.tile_h);
    int differing = 0;
    for (int c = 0; c < level.tile_w; ++c)
      for (int r = 0; r < level.tile_h; ++r) {
        const std::size_t at = 2u * (static_cast<std::size_t>(c) * level.tile_h + r);
        differing += (bytes[at] | bytes[at + 1] << 8) != level.MapAt(c, r);
      }
    EXPECT_EQ(differing, 0);
  }
  EXPECT_TRUE(app->Running());
  e2e::Key("Escape");
  EXPECT_EQ(app->WaitForExit(10.0), 0) << app->Stderr();
}

// A folder exported without a window, one tile map changed in it, put back with
// Import > Folder... and saved: the saved image is the one --import writes.
TEST_F(ExtractionEndToEnd, ImportFolderThenSaveWritesWhatTheImportCommandWrites) {
  e2e::ExportFolder demo;
  const fs::path work = demo.Rom().parent_path(), exchange = work / "out";
  const std::string qbrre = "cd '" + work.string() + "' && '" QBRRE_BINARY_PATH "' ";
  int status = -1;
  std::string printed = e2e::RunCommand(qbrre + "--extract tilemaps --output out demo.smc 2>&1", &status);
  ASSERT_EQ(status, 0) << printed;
  const fs::path map = exchange / "tilemap-0x16.bin";
  e2e::Bytes words = e2e::ReadBytes(map);
  ASSERT_GT(words.size(), 12u);
  words[10] ^= 0x01, words[11] ^= 0x40;
  std::ofstream(map, std::ios::binary).write(reinterpret_cast<const char*>(words.data()),
                                             static_cast<std::streamsize>(words.size()));
  printed = e2e::RunCommand(qbrre + "--import out --output cmd.smc demo.smc 2>&1", &status);
  ASSERT_EQ(status, 0) << printed;
  const e2e::Bytes want = e2e::ReadBytes(work / "cmd.smc");
  ASSERT_EQ(want.size(), e2e::Demo().rom.size());
  ASSERT_NE(want, e2e::Demo().rom);

  // The folder for Import > Folder..., then the path the first Save asks for.
  const fs::path saved = dir / "saved.smc";
  Launch({exchange.string(), saved.string()});
  ASSERT_TRUE(EnterExtraction()) << app->Stderr();
  ChooseFromMenu(TitleX({"File", "Graphics", "Binary"}) + 10, TitleX({"File", "Graphics", "Binary"}) + kEntryX, 0);
  ASSERT_TRUE(app->WaitForDialog("folder", 20.0)) << app->Stderr();
  // Back to the level editor, which saves the imported image.
  ChooseFromMenu(kModeTitleX, kModeEntryX, 0);
  ASSERT_TRUE(app->WaitForMode(1)) << app->Stderr();
  e2e::Chord("ctrl", "s");
  const e2e::Bytes written = e2e::WaitForFile(saved, want.size(), {});
  EXPECT_TRUE(written == want) << "the saved image differs from the --import output\n" << app->Stderr();
  const auto log = app->DialogLog();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[1].answer, exchange.string());
  EXPECT_EQ(log[2].answer, saved.string());
  e2e::Key("Escape");
  EXPECT_EQ(app->WaitForExit(10.0), 0) << app->Stderr();
}

}  // namespace
