#include <gtest/gtest.h>
#include <stdlib.h>

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

// A list that grows, driven like a user on the demo image (which declares free
// space): one object copied and pasted five times, saved, read back by a
// reader of its own, then undone and saved again as the original bytes.

namespace {

using e2e::Bytes;
using e2e::Chord;
using e2e::ReadBytes;
using e2e::WaitForFile;
using e2e::WordAt;

constexpr int kLevel = 0x16;
constexpr int kEditorW = 776;
constexpr int kEditorH = 604;
constexpr int kViewX = 4;
constexpr int kViewY = 60;
constexpr int kPastes = 5;


// The object records of the list at `at`, up to its end record (kind 0), as 8-byte strings.
std::vector<Bytes> ObjectRecords(const Bytes& b, long long at) {
  std::vector<Bytes> records;
  while (at + 8 <= static_cast<long long>(b.size()) && b[static_cast<std::size_t>(at)] != 0 && records.size() < 8192) {
    records.emplace_back(b.begin() + at, b.begin() + at + 8);
    at += 8;
  }
  return records;
}

class ListGrowthEndToEnd : public e2e::EndToEndTest {
 protected:
  void SetUp() override {
    e2e::EndToEndTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // The table offsets of the demo's game configuration.
    ASSERT_TRUE(StartHeadlessAllegro());
    const std::string& config = e2e::Demo().config;
    ConfigGuard guard;
    set_config_data(config.data(), static_cast<int>(config.size()));
    ReadGlobalOffsets(gbl);
    set_config_data("", 0);
  }
  // File offset of the pointer word of level `id`'s object list.
  long long Pointer(int id) const { return static_cast<long long>(gbl.LvlOBJMapBank | gbl.LvlOBJMapTable) + 2LL * id; }
  long long ListAt(const Bytes& b, int id) const {
    return static_cast<long long>(WordAt(b, Pointer(id)) | gbl.LvlOBJMapBank);
  }

  globaldata gbl;
};

}  // namespace

TEST_F(ListGrowthEndToEnd, FivePastesMoveTheListAndUndoGivesTheOriginalBytes) {
  const Bytes& original = e2e::Demo().rom;
  const DemoLevel& level = *e2e::Demo().Level(kLevel);
  // An object of the first screen whose hover square holds no other object.
  const DemoObject* chosen = nullptr;
  for (const DemoObject& o : level.objects) {
    if (chosen != nullptr || o.x < 40 || o.x > 600 || o.y < 64 || o.y > 480) continue;
    const bool alone = std::none_of(level.objects.begin(), level.objects.end(), [&](const DemoObject& p) {
      return &p != &o && p.x - 16 <= o.x && o.x < p.x + 16 && p.y - 32 <= o.y - 16 && o.y - 16 < p.y;
    });
    if (alone) chosen = &o;
  }
  ASSERT_NE(chosen, nullptr) << "no object to copy in the first screen";
  const long long home = ListAt(original, kLevel);
  const std::vector<Bytes> before = ObjectRecords(original, home);
  ASSERT_EQ(before.size(), level.objects.size());

  e2e::LaunchOptions options;
  options.args = {"--demo"};
  options.configuration_ini = e2e::ConfigurationWith({});
  // The alpha notice, the path for the first Save (the demo image has none), the path for Save As.
  options.dialog_answers = {"ok", (dir / "grown.smc").string(), (dir / "undone.smc").string()};
  LaunchEditor(options);
  if (HasFatalFailure()) return;
  e2e::MouseMove(wx + kEditorW / 2, wy + kEditorH / 2);

  Chord("ctrl", "3");
  e2e::Click(wx + kViewX + chosen->x, wy + kViewY + chosen->y - 16);
  e2e::Hold(100);
  Chord("ctrl", "c");
  e2e::MouseMove(wx + kViewX + 320, wy + kViewY + 200);
  e2e::Hold(100);
  for (int i = 0; i < kPastes; ++i) Chord("ctrl", "v");
  Chord("ctrl", "s");
  const Bytes grown = WaitForFile(dir / "grown.smc", original.size(), {});
  ASSERT_EQ(grown.size(), original.size()) << app->Stderr();

  // The level's pointer names a new place inside the declared free space.
  const long long moved = ListAt(grown, kLevel);
  EXPECT_NE(moved, home);
  const std::vector<DemoRange>& free = e2e::Demo().freeObjects;
  EXPECT_TRUE(std::any_of(free.begin(), free.end(), [&](const DemoRange& r) { return moved >= r.first && moved <= r.last; }))
      << std::hex << moved;
  // There: the records of before and five copies of the chosen object (kind, byte 1, definition kept).
  std::vector<Bytes> after = ObjectRecords(grown, moved);
  ASSERT_EQ(after.size(), before.size() + kPastes);
  const long long end = moved + 8LL * static_cast<long long>(after.size());
  for (const Bytes& r : before) {
    const auto found = std::find(after.begin(), after.end(), r);
    ASSERT_NE(found, after.end()) << "a record of the list was lost";
    after.erase(found);
  }
  const Bytes& copied = before[static_cast<std::size_t>(
      std::find_if(level.objects.begin(), level.objects.end(), [&](const DemoObject& o) { return &o == chosen; }) -
      level.objects.begin())];
  for (const Bytes& r : after) {
    EXPECT_EQ(r[0], copied[0]);
    EXPECT_EQ(r[1], copied[1]);
    EXPECT_EQ(WordAt(r, 6), WordAt(copied, 6));
  }
  // Nothing else changed: only the level's pointer word and the new place differ from the image as built.
  for (std::size_t at = 0; at < original.size(); ++at) {
    if (original[at] == grown[at]) continue;
    const long long o = static_cast<long long>(at);
    EXPECT_TRUE((o >= Pointer(kLevel) && o < Pointer(kLevel) + 2) || (o >= moved && o <= end)) << std::hex << o;
  }

  // Undo the five pastes and save as: the image as built.
  for (int i = 0; i < kPastes; ++i) Chord("ctrl", "z");
  e2e::KeyDown("ctrl");
  e2e::KeyDown("shift");
  e2e::Key("s");
  e2e::KeyUp("shift");
  e2e::KeyUp("ctrl");
  const Bytes undone = WaitForFile(dir / "undone.smc", original.size(), {});
  ASSERT_EQ(undone.size(), original.size()) << app->Stderr();
  EXPECT_TRUE(undone == original);
}
