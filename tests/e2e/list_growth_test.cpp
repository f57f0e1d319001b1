#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
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
// reader of its own, then undone and saved again as the original bytes; and a
// list that grows over three sessions, each opening what the last one saved.

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

  // An object of level kLevel's first screen whose hover square holds no other object.
  static const DemoObject* ChosenObject() {
    const DemoLevel& level = *e2e::Demo().Level(kLevel);
    for (const DemoObject& o : level.objects) {
      if (o.x < 40 || o.x > 600 || o.y < 64 || o.y > 480) continue;
      const bool alone = std::none_of(level.objects.begin(), level.objects.end(), [&](const DemoObject& p) {
        return &p != &o && p.x - 16 <= o.x && o.x < p.x + 16 && p.y - 32 <= o.y - 16 && o.y - 16 < p.y;
      });
      if (alone) return &o;
    }
    return nullptr;
  }

  // In the Objects tool: selects `chosen`, copies it and pastes it `times` times at one point.
  void PasteCopies(const DemoObject& chosen, int times) {
    e2e::MouseMove(wx + kEditorW / 2, wy + kEditorH / 2);
    Chord("ctrl", "3");
    e2e::Click(wx + kViewX + chosen.x, wy + kViewY + chosen.y - 16);
    e2e::Hold(100);
    Chord("ctrl", "c");
    e2e::MouseMove(wx + kViewX + 320, wy + kViewY + 200);
    e2e::Hold(100);
    for (int i = 0; i < times; ++i) Chord("ctrl", "v");
  }

  globaldata gbl;
};

}  // namespace

TEST_F(ListGrowthEndToEnd, FivePastesMoveTheListAndUndoGivesTheOriginalBytes) {
  const Bytes& original = e2e::Demo().rom;
  const DemoLevel& level = *e2e::Demo().Level(kLevel);
  const DemoObject* chosen = ChosenObject();
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
  PasteCopies(*chosen, kPastes);
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

namespace {

// Settings that name the demo's game configuration for the image `bytes`, as
// the program remembers a saved image's configuration.
std::string SettingsKnowing(const Bytes& bytes) {
  char crc[16];
  std::snprintf(crc, sizeof crc, "%08X",
                static_cast<unsigned>(CharArray_Get_CRC32(reinterpret_cast<const char*>(bytes.data()),
                                                          static_cast<int>(bytes.size()))));
  return e2e::ConfigurationWith({}, std::string("\n[EditedImages]\n") + crc + " = QBR Demo.INI\n");
}

// The figures `--free-space` prints for the file `image`, run in `folder` (made
// a portable folder whose settings know the image); "Objects", "  pool: N
// bytes", ... in the order printed, the candidates left out.
std::vector<std::string> FreeSpaceFigures(const fs::path& folder, const fs::path& image) {
  std::error_code ignored;
  fs::create_directories(folder);
  fs::copy(fs::path(QBRRE_SOURCE_DIR) / "GameConfig", folder / "GameConfig",
           fs::copy_options::recursive | fs::copy_options::skip_existing, ignored);
  std::ofstream(folder / "Configuration.INI") << SettingsKnowing(ReadBytes(image));
  int status = -1;
  const std::string out =
      e2e::RunCommand("cd '" + folder.string() + "' && '" QBRRE_BINARY_PATH "' --free-space '" + image.string() + "' 2>&1", &status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(out.find("refused"), std::string::npos) << out;
  std::vector<std::string> figures;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("  candidate", 0) != 0) figures.push_back(line);
  }
  return figures;
}

// The number after "LABEL: " in `figures` of section `section`, or -1.
long long Figure(const std::vector<std::string>& figures, const std::string& section, const std::string& label) {
  bool in = false;
  for (const std::string& line : figures) {
    if (!line.empty() && line[0] != ' ') in = line == section;
    if (in && line.rfind("  " + label + ": ", 0) == 0) return std::stoll(line.substr(label.size() + 4));
  }
  return -1;
}

}  // namespace

TEST_F(ListGrowthEndToEnd, ListsGrowOverSessionsIntoTheSpaceEarlierSessionsUsed) {
  const Bytes& original = e2e::Demo().rom;
  const DemoObject* chosen = ChosenObject();
  ASSERT_NE(chosen, nullptr) << "no object to copy in the first screen";
  const long long home = ListAt(original, kLevel);
  const std::size_t records = ObjectRecords(original, home).size();
  const fs::path image = dir / "hack.smc";

  // Session 1 on the demo image: five pastes move the list into the declared space; Save names the file.
  e2e::LaunchOptions options;
  options.args = {"--demo"};
  options.configuration_ini = e2e::ConfigurationWith({});
  options.dialog_answers = {"ok", image.string()};
  LaunchEditor(options);
  if (HasFatalFailure()) return;
  PasteCopies(*chosen, kPastes);
  Chord("ctrl", "s");
  const Bytes first = WaitForFile(image, original.size(), {});
  ASSERT_EQ(first.size(), original.size()) << app->Stderr();
  app.reset();
  const std::vector<std::string> after_first = FreeSpaceFigures(dir / "figures", image);

  const long long moved = ListAt(first, kLevel);
  ASSERT_NE(moved, home);
  const long long grown_bytes = 8LL * static_cast<long long>(records + kPastes) + 1;
  ASSERT_EQ(ObjectRecords(first, moved).size(), records + kPastes);
  // The figures from the demo's description: the pool is the declared space and the places the
  // lists use (the list left its old place, which left the pool); the grown list lies in the declared space.
  for (const char* section : {"Objects", "Bananas"}) {
    SCOPED_TRACE(section);
    const bool objects = std::string(section) == "Objects";
    const long long record = objects ? 8 : 4, end = objects ? 1 : 2;
    long long in_use = end, declared = 0;  // the empty list of the unbuilt levels
    for (const DemoLevel& l : e2e::Demo().levels) {
      in_use += record * static_cast<long long>(objects ? l.objects.size() : l.bananas.size()) + end;
    }
    for (const DemoRange& r : objects ? e2e::Demo().freeObjects : e2e::Demo().freeBananas) declared += r.last - r.first + 1;
    if (objects) in_use += grown_bytes - (8LL * static_cast<long long>(records) + 1);
    EXPECT_EQ(Figure(after_first, section, "in use"), in_use);
    EXPECT_EQ(Figure(after_first, section, "pool"), declared + in_use - (objects ? grown_bytes : 0));
  }

  // Sessions 2 and 3 open the saved file: no refusal, the same figures; session 2 grows the list again.
  Bytes second;
  std::vector<std::string> after_second;
  for (int session = 2; session <= 3; ++session) {
    SCOPED_TRACE("session " + std::to_string(session));
    e2e::LaunchOptions again;
    again.args = {image.string()};
    again.configuration_ini = SettingsKnowing(ReadBytes(image));
    again.dialog_answers = {"ok"};
    LaunchEditor(again);
    if (HasFatalFailure()) return;
    if (session == 2) {
      EXPECT_EQ(FreeSpaceFigures(dir / "figures", image), after_first);
      PasteCopies(*chosen, kPastes);
      Chord("ctrl", "s");
      second = WaitForFile(image, original.size(), first);
      ASSERT_EQ(second.size(), original.size()) << app->Stderr();
    }
    for (const e2e::DialogLogEntry& box : app->DialogLog()) {
      EXPECT_NE(box.kind, "error") << box.title << ": " << box.text;
    }
    app.reset();
    const std::vector<std::string> figures = FreeSpaceFigures(dir / "figures", image);
    if (session == 3) {
      EXPECT_EQ(figures, after_second);
    }
    after_second = figures;
  }

  // The independent reader: both growths are there, in the declared space, and nothing else changed.
  const long long last = ListAt(second, kLevel);
  const std::vector<DemoRange>& free = e2e::Demo().freeObjects;
  EXPECT_TRUE(std::any_of(free.begin(), free.end(), [&](const DemoRange& r) { return last >= r.first && last <= r.last; }))
      << std::hex << last;
  const std::vector<Bytes> grown = ObjectRecords(second, last);
  ASSERT_EQ(grown.size(), records + 2 * kPastes);
  const std::vector<Bytes> once = ObjectRecords(first, moved);
  for (const Bytes& r : once) EXPECT_NE(std::find(grown.begin(), grown.end(), r), grown.end());
  const long long end = last + 8LL * static_cast<long long>(grown.size());
  for (std::size_t at = 0; at < original.size(); ++at) {
    if (original[at] == second[at]) continue;
    const long long o = static_cast<long long>(at);
    EXPECT_TRUE((o >= Pointer(kLevel) && o < Pointer(kLevel) + 2) || (o >= std::min(moved, last) && o <= std::max(end, moved + grown_bytes - 1)))
        << std::hex << o;
  }
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    if (id != kLevel) {
      EXPECT_EQ(WordAt(second, Pointer(id)), WordAt(original, Pointer(id))) << id;
    }
  }
  EXPECT_EQ(Figure(after_second, "Objects", "in use"),
            Figure(after_first, "Objects", "in use") - grown_bytes + (end - last + 1));
}
