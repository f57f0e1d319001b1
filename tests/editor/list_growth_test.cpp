#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "editor/edit_lists.h"
#include "editor/shared_lists.h"
#include "level/free_space_config.h"
#include "level/level_objects.h"
#include "level/leveldata.h"
#include "platform/dialogs.h"
#include "rom/image_edits.h"
#include "tests/editor/editor_support.h"

// Lists that grow: a list that needs more records than its place holds moves
// to the lowest place of the pool where it fits, its pointer words follow, its
// old place leaves the pool (as it would after a save), and undo restores
// every byte.

namespace {

constexpr long kObjTable = 0x3D8000;
constexpr long kBnaIndex = 0x38B41D, kBnaTable = 0x38C0E1;
constexpr long kA = 0x3D9000, kB = 0x3D9100, kC = 0x38C300;
constexpr long kFreeObjects = 0x3DA000, kFreeBananas = 0x38E000;

class ListGrowthTest : public ::testing::Test {
 protected:
  void SetUp() override {
    editor_test::InitAllegro();
    image = editor_test::BlankImage();
    // Object list A (3 records) shared by levels 1 and 2, list B (1 record) of level 3.
    for (int i = 0; i < 3; ++i) {
      image[kA + 8 * i] = static_cast<unsigned char>(1 + i);
      image[kA + 8 * i + 1] = 0x40;
      editor_test::PutWord(image, kA + 8 * i + 2, 0x100 * (i + 1));
      editor_test::PutWord(image, kA + 8 * i + 4, 0x40);
      editor_test::PutWord(image, kA + 8 * i + 6, 0x1000 + i);
    }
    std::fill(image.begin() + kA + 25, image.begin() + kA + 32, 0xEE);  // bytes past the end record
    image[kB] = 9;
    editor_test::PutWord(image, kB + 2, 0x80);
    editor_test::PutWord(image, kB + 4, 0x40);
    for (int id : {1, 2}) editor_test::PutWord(image, kObjTable + 2 * id, kA & 0xFFFF);
    editor_test::PutWord(image, kObjTable + 2 * 3, kB & 0xFFFF);
    // Banana list C (2 groups) of level 1.
    for (int i = 0; i < 2; ++i) {
      editor_test::PutWord(image, kC + 4 * i, 0x0002 | ((4 + i) << 10));
      editor_test::PutWord(image, kC + 4 * i + 2, (0x40 * (i + 1)) << 2);
    }
    image[kBnaIndex + 1] = 1;
    editor_test::PutWord(image, kBnaTable + 2, static_cast<unsigned>(kC - kBnaTable));
    editor_test::UseImage(image);
    QBR1_ResetEdits(image, 0);
    editor_test::UseConfig("[FreeSpace]\nObjects = 3DA000-3DA03F\nBananas = 38E000-38E00F\n");
    ASSERT_TRUE(QBR1_LoadFreeSpace().empty());
    // List A is shared: its changes are for both levels.
    PlatformUseScriptedDialogs([](const DialogRecord&) { return std::string("All"); });
    ForgetSharedListAnswers();
    RecordListEditor<QBR1RawObject>::Clipboard().clear();
    RecordListEditor<QBR1RawBanana>::Clipboard().clear();
  }

  void TearDown() override {
    PlatformUseScriptedDialogs(nullptr);
    ForgetSharedListAnswers();
    RecordListEditor<QBR1RawObject>::Clipboard().clear();
    RecordListEditor<QBR1RawBanana>::Clipboard().clear();
    editor_test::UseConfig("");
    QBR1_LoadFreeSpace();
    QBR1_ResetEdits({}, 0);
    QBR1.clear();
  }

  static leveldata Level(int id) {
    leveldata lvl;
    Get_QBR1_LevelDataStruct(id, lvl);
    return lvl;
  }

  template <class R>
  static void Open(RecordListEditor<R>& list, int id) {
    list.Sync(Level(id), QBR1_EditGeneration(), false);
  }

  // Puts record `i` of the list on the clipboard and pastes it `times` times;
  // false at the first paste that fails.
  template <class R>
  static bool PasteCopies(RecordListEditor<R>& list, std::size_t i, int times, std::string& why) {
    RecordListEditor<R>::Clipboard() = {list.Records()[i]};
    for (int n = 0; n < times; ++n) {
      if (!list.Paste(200 + 40 * n, 200, why)) return false;
    }
    return true;
  }

  std::vector<unsigned char> Current() const { return {QBR1.begin(), QBR1.end()}; }
  unsigned Word(long at) const { return static_cast<unsigned char>(QBR1[at]) | static_cast<unsigned char>(QBR1[at + 1]) << 8; }

  void UndoAll() {
    int level = -1;
    while (QBR1_Undo(&level)) {
    }
  }

  std::vector<unsigned char> image;
};

TEST_F(ListGrowthTest, ObjectListsMoveFirstFitUntilThePoolIsFull) {
  RecordListEditor<QBR1RawObject> a, b;
  Open(a, 1);
  EXPECT_EQ(a.Capacity(), 3u);
  std::string why;

  // A needs 33 bytes: its own 25 do not hold them, B is taken, the declared range does.
  ASSERT_TRUE(PasteCopies(a, 0, 1, why)) << why;
  EXPECT_EQ(a.Offset(), kFreeObjects);
  EXPECT_EQ(a.Note(), "Object list of level 0x01 moved to 0x3DA000 (4 records)");
  for (int id : {1, 2}) {
    EXPECT_EQ(Word(kObjTable + 2 * id), kFreeObjects & 0xFFFF) << "level " << id;
    const leveldata lvl = Level(id);
    EXPECT_EQ(lvl.objects, kFreeObjects);
    const std::vector<QBR1ObjectRecord> read = QBR1_ReadObjectMap(lvl);
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(read[3].zo, 0x1002);
  }
  EXPECT_EQ(Word(kObjTable + 6), kB & 0xFFFF);
  // The freed place keeps its bytes until a list is written there.
  const std::vector<unsigned char> now = Current();
  EXPECT_TRUE(std::equal(image.begin() + kA, image.begin() + kA + 32, now.begin() + kA));

  // B needs 17 bytes: A's old place left the pool, so they go right after A.
  Open(b, 3);
  ASSERT_TRUE(PasteCopies(b, 0, 1, why)) << why;
  EXPECT_EQ(b.Offset(), kFreeObjects + 33);
  EXPECT_EQ(b.Note(), "Object list of level 0x03 moved to 0x3DA021 (2 records)");
  EXPECT_EQ(Word(kObjTable + 6), (kFreeObjects + 33) & 0xFFFF);
  EXPECT_EQ(QBR1_ReadObjectMap(Level(3)).size(), 2u);
  // 25 bytes still fit there: no move.
  ASSERT_TRUE(PasteCopies(b, 0, 1, why)) << why;
  EXPECT_EQ(b.Offset(), kFreeObjects + 33);
  EXPECT_EQ(b.Note(), "");
  // 33 do not fit anywhere: 31 bytes are left after A in the declared range.
  const std::vector<unsigned char> before = Current();
  EXPECT_FALSE(PasteCopies(b, 0, 1, why));
  EXPECT_NE(why.find("2 bytes missing"), std::string::npos) << why;
  EXPECT_EQ(Current(), before);

  // A cannot grow: B follows it, and its 33 bytes are the largest place free for it.
  EXPECT_FALSE(PasteCopies(a, 1, 1, why));
  EXPECT_NE(why.find("8 bytes missing"), std::string::npos) << why;
  EXPECT_EQ(Current(), before);

  // Nothing was written outside the pool and the pointer words.
  for (std::size_t at = 0; at < image.size(); ++at) {
    if (static_cast<unsigned char>(QBR1[at]) == image[at]) continue;
    const long o = static_cast<long>(at);
    const bool pointer = o >= kObjTable && o < kObjTable + 8;
    const bool pool = (o >= kA && o < kA + 25) || (o >= kB && o < kB + 9) || (o >= kFreeObjects && o < kFreeObjects + 64);
    EXPECT_TRUE(pointer || pool) << std::hex << o;
  }
  UndoAll();
  EXPECT_EQ(Current(), image);
}

TEST_F(ListGrowthTest, BananaListsMoveAndTheDecoderFollows) {
  RecordListEditor<QBR1RawBanana> c;
  Open(c, 1);
  std::string why;
  c.SelectAll();
  c.Click(0x40, 32, false);  // the first group alone
  ASSERT_EQ(c.SelectedCount(), 1u);
  ASSERT_TRUE(c.Duplicate(why)) << why;
  EXPECT_EQ(c.Offset(), kFreeBananas);
  EXPECT_EQ(c.Note(), "Banana list of level 0x01 moved to 0x38E000 (3 records)");
  EXPECT_EQ(Word(kBnaTable + 2), static_cast<unsigned>(kFreeBananas - kBnaTable));
  const leveldata lvl = Level(1);
  EXPECT_EQ(lvl.bananas, kFreeBananas);
  const std::vector<QBR1BananaGroup> groups = QBR1_ReadBananaMap(lvl);
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[1].x, 0x40 + 16);
  // 18 bytes do not fit in 16.
  EXPECT_FALSE(c.Duplicate(why));
  EXPECT_NE(why.find("2 bytes missing"), std::string::npos) << why;
  // One step: undo puts back the list and the pointer word together.
  int level = -1;
  ASSERT_TRUE(QBR1_Undo(&level));
  EXPECT_EQ(Current(), image);
}

}  // namespace
