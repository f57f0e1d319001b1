#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "e2e_support.h"
#include "level/leveldata.h"
#include "platform/config_lock.h"
#include "rom/globaldata.h"
#include "platform/allegro_include.h"
#include "tests/common/headless_allegro.h"
#include "view_support.h"

namespace fs = std::filesystem;

// The edit modes driven like a user: an object dragged in the Objects mode and
// a tile painted in the Tile Map mode, saved, and undone again, on the demo
// image and on the same image opened from a file. The saved files are compared
// with the image as built.

namespace {

using e2e::Chord;
using e2e::ReadBytes;
using e2e::WaitForFile;
using e2e::WordAt;

constexpr int kLevel = 0x16;
constexpr int kEditorW = 776;
constexpr int kEditorH = 604;
constexpr int kViewX = 4;
constexpr int kViewY = 60;
constexpr int kDrag = 24;
// The tile picker: at the right of the view, cells of 36 x 46 pixels under a 48-pixel brush preview.
constexpr int kPickerX = kEditorW - 16 - (4 * 36 + 8);

// Offsets at which two files of one size differ.
std::vector<long long> Differences(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
  std::vector<long long> at;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i] != b[i]) at.push_back(static_cast<long long>(i));
  }
  return at;
}

// Where level 0x16 keeps its object list and tile map in the demo image, read
// through the level tables with the demo's game configuration.
leveldata DemoLevelRecord() {
  EXPECT_TRUE(StartHeadlessAllegro());
  const std::string& config = e2e::Demo().config;
  {
    ConfigGuard guard;
    set_config_data(config.data(), static_cast<int>(config.size()));
    ReadGlobalOffsets(qbr1gbl);
  }
  QBR1.assign(e2e::Demo().rom.begin(), e2e::Demo().rom.end());
  leveldata lvl;
  Get_QBR1_LevelDataStruct(kLevel, lvl);
  QBR1.clear();
  {
    ConfigGuard guard;
    set_config_data("", 0);
  }
  return lvl;
}

class EditModesEndToEnd : public e2e::EndToEndTest {
 protected:
  void SetUp() override {
    e2e::EndToEndTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    original = e2e::Demo().rom;
    lvl = DemoLevelRecord();
  }

  // Starts the program and waits for the editor, with the cursor over the view.
  void StartEditor(const e2e::LaunchOptions& options) {
    LaunchEditor(options);
    if (HasFatalFailure()) return;
    e2e::MouseMove(wx + kEditorW / 2, wy + kEditorH / 2);
  }

  // Drags the first object of the level that stands alone in the first screen
  // 24 pixels to the right in the Objects mode; its index in the list.
  int DragAnObject() {
    const std::vector<DemoObject>& objects = e2e::Demo().Level(kLevel)->objects;
    int chosen = -1;
    for (std::size_t k = 0; k < objects.size() && chosen < 0; ++k) {
      const DemoObject& o = objects[k];
      if (o.x < 40 || o.x > 500 || o.y < 64 || o.y > 480) continue;
      bool alone = true;
      for (std::size_t j = 0; j < objects.size(); ++j) {
        if (j == k) continue;
        // No other hover square holds the press point, and nobody stands in the way of the drag.
        const bool holds = objects[j].x - 16 <= o.x && o.x < objects[j].x + 16 && objects[j].y - 32 <= o.y - 16 &&
                           o.y - 16 < objects[j].y;
        const bool between = objects[j].x >= o.x && objects[j].x <= o.x + kDrag;
        alone = alone && !holds && !between;
      }
      if (alone) chosen = static_cast<int>(k);
    }
    EXPECT_GE(chosen, 0) << "no object to drag in the first screen";
    if (chosen < 0) return -1;
    const DemoObject& o = objects[static_cast<std::size_t>(chosen)];
    Chord("ctrl", "3");
    const int x = wx + kViewX + o.x, y = wy + kViewY + o.y - 16;
    e2e::MouseMove(x, y);
    e2e::Hold(100);
    e2e::MouseDown();
    e2e::Hold(100);
    for (int step = 1; step <= 4; ++step) {
      e2e::MouseMove(x + step * kDrag / 4, y);
      e2e::Hold(40);
    }
    e2e::Hold(100);
    e2e::MouseUp();
    e2e::Hold(100);
    return chosen;
  }

  // Paints tile `tile` (chosen in the picker) into cell (col, row) in the Tile Map mode.
  void PaintATile(int tile, int col, int row) {
    Chord("ctrl", "1");
    e2e::Key("Tab");
    e2e::Click(wx + kPickerX + 4 + (tile % 4) * 36 + 18, wy + kViewY + 48 + (tile / 4) * 46 + 16);
    e2e::Hold(100);
    e2e::Key("Tab");
    e2e::Click(wx + kViewX + 32 * col + 16, wy + kViewY + 32 * row + 16);
    e2e::Hold(100);
  }

  // The scenario on an image saved first to `first` by `save` (Ctrl+S, which asks
  // for a path when the image has none), then undone and saved as `final_path`.
  void DragPaintUndo(const fs::path& first, const fs::path& final_path) {
    const DemoLevel& level = *e2e::Demo().Level(kLevel);
    const int k = DragAnObject();
    ASSERT_GE(k, 0);
    Chord("ctrl", "s");
    const std::vector<unsigned char> moved = WaitForFile(first, original.size(), original);
    ASSERT_EQ(moved.size(), original.size()) << app->Stderr();
    // Only the level's object list changed, and in it the dragged record's x word by the drag.
    const long long list = lvl.objects;
    const long long end = list + 8LL * static_cast<long long>(level.objects.size()) + 1;
    const std::vector<long long> diff = Differences(original, moved);
    ASSERT_FALSE(diff.empty());
    for (long long at : diff) {
      EXPECT_GE(at, list);
      EXPECT_LT(at, end);
    }
    const long long record = list + 8LL * k;
    EXPECT_EQ(WordAt(moved, record + 2), WordAt(original, record + 2) + kDrag);
    EXPECT_EQ(WordAt(moved, record + 4), WordAt(original, record + 4));
    EXPECT_EQ(WordAt(moved, record + 6), WordAt(original, record + 6));

    // A tile: exactly that map word changes.
    const int col = 2, row = 3;
    const unsigned before = level.MapAt(col, row);
    const int tile = (before & 0x3FFF) == 5 ? 6 : 5;
    PaintATile(tile, col, row);
    Chord("ctrl", "s");
    const std::vector<unsigned char> painted = WaitForFile(first, original.size(), moved);
    ASSERT_EQ(painted.size(), original.size()) << app->Stderr();
    const long long word = lvl.tilemap + 2LL * (16 * col + row);
    EXPECT_EQ(WordAt(painted, word), static_cast<unsigned>(tile));
    for (long long at : Differences(moved, painted)) EXPECT_TRUE(at == word || at == word + 1) << at;

    // Undo both gestures and save as: the original file.
    Chord("ctrl", "z");
    Chord("ctrl", "z");
    e2e::KeyDown("ctrl");
    e2e::KeyDown("shift");
    e2e::Key("s");
    e2e::KeyUp("shift");
    e2e::KeyUp("ctrl");
    const std::vector<unsigned char> restored = WaitForFile(final_path, original.size(), {});
    ASSERT_EQ(restored.size(), original.size()) << app->Stderr();
    EXPECT_TRUE(restored == original) << Differences(original, restored).size() << " bytes differ";
  }

  std::vector<unsigned char> original;
  leveldata lvl;
};

}  // namespace

TEST_F(EditModesEndToEnd, DemoImageDragPaintSaveAndUndo) {
  e2e::LaunchOptions options;
  options.args = {"--demo"};
  options.configuration_ini = e2e::ConfigurationWith({});
  // The alpha notice, the path for the first Save (the demo image has none), the path for Save As.
  options.dialog_answers = {"ok", (dir / "first.smc").string(), (dir / "final.smc").string()};
  StartEditor(options);
  if (HasFatalFailure()) return;
  DragPaintUndo(dir / "first.smc", dir / "final.smc");
}

TEST_F(EditModesEndToEnd, GeneratedImageFromAFile) {
  const fs::path rom = dir / "game.smc";
  {
    std::ofstream out(rom, std::ios::binary);
    out.write(reinterpret_cast<const char*>(original.data()), static_cast<std::streamsize>(original.size()));
  }
  e2e::LaunchOptions options;
  // The demo's game configuration laid over the shipped one through Configuration.INI.
  options.configuration_ini = e2e::ConfigurationWith({}, e2e::Demo().config);
  // The file, yes to the unknown image, the alpha notice, the path for Save As.
  options.dialog_answers = {rom.string(), "yes", "ok", (dir / "final.smc").string()};
  StartEditor(options);
  if (HasFatalFailure()) return;
  DragPaintUndo(rom, dir / "final.smc");
  // The first Save kept the file as it was.
  EXPECT_TRUE(ReadBytes(dir / "game.smc.bak") == original);
}

// Tile Map like a user: a right drag takes a 3 x 2 stamp, Ctrl+drag fills a
// 5 x 3 rectangle with it, and a Shift+click flood-fills a region; each save
// holds exactly the words the gesture should have written.
TEST_F(EditModesEndToEnd, StampFillAndFloodFillWriteExactlyTheirWords) {
  e2e::LaunchOptions options;
  options.args = {"--demo"};
  options.configuration_ini = e2e::ConfigurationWith({});
  options.dialog_answers = {"ok", (dir / "tiles.smc").string()};
  StartEditor(options);
  if (HasFatalFailure()) return;
  const DemoLevel& level = *e2e::Demo().Level(kLevel);
  auto cell = [&](int col, int row, int& x, int& y) {
    x = wx + kViewX + 32 * col + 16;
    y = wy + kViewY + 32 * row + 16;
  };
  auto word_of = [&](const std::vector<unsigned char>& bytes, int col, int row) {
    return WordAt(bytes, lvl.tilemap + 2LL * (16 * col + row));
  };
  int x = 0, y = 0;
  // Each step is seen by the program's next updates before the next one comes, so
  // a slow update never sees a press only where the mouse went after it.
  auto step = [] { e2e::Hold(50); };
  Chord("ctrl", "1");
  cell(2, 12, x, y);
  e2e::MouseMove(x, y);
  step();
  e2e::MouseDown(3);
  step();
  cell(4, 13, x, y);
  e2e::MouseMove(x - 8, y);
  step();
  e2e::MouseMove(x, y);
  step();
  e2e::MouseUp(3);
  step();
  e2e::KeyDown("ctrl");
  cell(10, 2, x, y);
  e2e::MouseMove(x, y);
  step();
  e2e::MouseDown(1);
  step();
  cell(14, 4, x, y);
  e2e::MouseMove(x - 8, y);
  step();
  e2e::MouseMove(x, y);
  step();
  e2e::MouseUp(1);
  step();
  e2e::KeyUp("ctrl");
  Chord("ctrl", "s");
  const std::vector<unsigned char> stamped = WaitForFile(dir / "tiles.smc", original.size(), original);
  ASSERT_EQ(stamped.size(), original.size()) << app->Stderr();
  std::vector<long long> expected;
  for (int col = 10; col <= 14; ++col) {
    for (int row = 2; row <= 4; ++row) {
      const unsigned want = level.MapAt(2 + (col - 10) % 3, 12 + (row - 2) % 2);
      EXPECT_EQ(word_of(stamped, col, row), want) << col << "," << row;
      const long long at = lvl.tilemap + 2LL * (16 * col + row);
      for (long long b : {at, at + 1}) {
        if (stamped[b] != original[b]) expected.push_back(b);
      }
    }
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_FALSE(expected.empty());
  EXPECT_EQ(Differences(original, stamped), expected);

  // Shift+click on cell (5, 3): the 4-connected cells of its entry, found here in the saved file.
  const int c0 = 5, r0 = 3;
  std::vector<std::vector<bool>> in(level.tile_w, std::vector<bool>(level.tile_h, false));
  std::vector<std::pair<int, int>> todo{{c0, r0}};
  in[c0][r0] = true;
  while (!todo.empty()) {
    const auto [c, r] = todo.back();
    todo.pop_back();
    for (const auto& [nc, nr] : {std::pair{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}}) {
      if (nc < 0 || nr < 0 || nc >= level.tile_w || nr >= level.tile_h || in[nc][nr]) continue;
      if (word_of(stamped, nc, nr) != word_of(stamped, c0, r0)) continue;
      in[nc][nr] = true;
      todo.push_back({nc, nr});
    }
  }
  e2e::KeyDown("shift");
  cell(c0, r0, x, y);
  e2e::MouseMove(x, y);
  step();
  e2e::Click(x, y);
  step();
  e2e::KeyUp("shift");
  Chord("ctrl", "s");
  const std::vector<unsigned char> flooded = WaitForFile(dir / "tiles.smc", original.size(), stamped);
  ASSERT_EQ(flooded.size(), original.size()) << app->Stderr();
  for (int col = 0; col < level.tile_w; ++col) {
    for (int row = 0; row < level.tile_h; ++row) {
      // The stamp repeats from the clicked cell.
      const unsigned want = in[col][row] ? level.MapAt(2 + ((col - c0) % 3 + 3) % 3, 12 + ((row - r0) % 2 + 2) % 2)
                                         : word_of(stamped, col, row);
      ASSERT_EQ(word_of(flooded, col, row), want) << col << "," << row;
    }
  }
}
