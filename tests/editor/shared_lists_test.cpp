#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "editor/edit_lists.h"
#include "editor/list_tools.h"
#include "editor/shared_lists.h"
#include "level/free_space_config.h"
#include "level/level_objects.h"
#include "level/leveldata.h"
#include "platform/dialogs.h"
#include "rom/image_edits.h"
#include "tests/editor/editor_support.h"

// A change of a list that several levels show asks once per list whether to
// change it for all of them or to give this level its own copy; the copy and
// the change are one undo step, and no other level's pointer moves.

namespace {

constexpr long kObjTable = 0x3D8000;
constexpr long kBnaIndex = 0x38B41D, kBnaTable = 0x38C0E1;
constexpr long kA = 0x3D9000, kC = 0x38C300;
constexpr long kFreeObjects = 0x3DA000, kFreeBananas = 0x38E000;

class SharedListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    editor_test::InitAllegro();
    image = editor_test::BlankImage();
    // Object list A (2 records) shown by levels 1, 2 and 0x27 (whose list is stored under 0x2E).
    for (int i = 0; i < 2; ++i) {
      image[kA + 8 * i] = static_cast<unsigned char>(1 + i);
      editor_test::PutWord(image, kA + 8 * i + 2, 0x100 * (i + 1));
      editor_test::PutWord(image, kA + 8 * i + 4, 0x40);
      editor_test::PutWord(image, kA + 8 * i + 6, 0x1000 + i);
    }
    for (int id : {1, 2, 0x2E}) editor_test::PutWord(image, kObjTable + 2 * id, kA & 0xFFFF);
    // Banana list C (1 group) shown by levels 1 and 4 through index 1; index 2 is used by no level, index 3 by level 5.
    editor_test::PutWord(image, kC, 0x0002 | (4 << 10));
    editor_test::PutWord(image, kC + 2, 0x40 << 2);
    image[kBnaIndex + 1] = 1;
    image[kBnaIndex + 4] = 1;
    image[kBnaIndex + 5] = 3;
    editor_test::PutWord(image, kBnaTable + 2, static_cast<unsigned>(kC - kBnaTable));
    editor_test::UseImage(image);
    QBR1_ResetEdits(image, 0);
    editor_test::UseConfig("[FreeSpace]\nObjects = 3DA000-3DA03F\nBananas = 38E000-38E00F\n");
    ASSERT_TRUE(QBR1_LoadFreeSpace().empty());
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

  // Answers every box with `answer` and keeps what it was asked.
  void Answer(const std::string& answer) {
    asked.clear();
    PlatformUseScriptedDialogs([this, answer](const DialogRecord& r) {
      asked.push_back(r);
      return answer;
    });
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

  std::vector<unsigned char> Current() const { return {QBR1.begin(), QBR1.end()}; }
  unsigned Word(long at) const {
    return static_cast<unsigned char>(QBR1[at]) | static_cast<unsigned char>(QBR1[at + 1]) << 8;
  }
  // Offsets whose byte differs from the image as built.
  std::vector<long> Changed() const {
    std::vector<long> out;
    for (std::size_t at = 0; at < image.size(); ++at) {
      if (static_cast<unsigned char>(QBR1[at]) != image[at]) out.push_back(static_cast<long>(at));
    }
    return out;
  }
  void UndoAll() {
    int level = -1;
    while (QBR1_Undo(&level)) {
    }
  }

  std::vector<unsigned char> image;
  std::vector<DialogRecord> asked;
};

TEST_F(SharedListsTest, ThisLevelGivesOnlyThatLevelACopyInTheSameUndoStep) {
  ObjectsTool tool;
  RecordListEditor<QBR1RawObject>& list = tool.list;
  Open(list, 0x27);
  EXPECT_EQ(list.SharedBy(), 3u);
  EXPECT_EQ(tool.StatusText(), "shared by 3 levels");
  Answer("This level");
  std::string why;
  list.SelectAll();
  ASSERT_TRUE(list.Duplicate(why)) << why;
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].kind, BoxKind::Choice);
  EXPECT_EQ(asked[0].text,
            "The object list of level 0x27 is shared by 3 levels (0x01, 0x02, ...). Change it for all of them, or give "
            "level 0x27 its own copy?\nButtons: All / This level / Cancel");
  // Level 0x27 reads its list through the pointer of 0x2E: only that word moved.
  EXPECT_EQ(list.Offset(), kFreeObjects);
  EXPECT_EQ(list.SharedBy(), 1u);
  EXPECT_EQ(tool.StatusText(), "");
  EXPECT_EQ(Word(kObjTable + 2 * 0x2E), kFreeObjects & 0xFFFF);
  for (int id : {1, 2}) EXPECT_EQ(Word(kObjTable + 2 * id), kA & 0xFFFF) << id;
  EXPECT_EQ(QBR1_ReadObjectMap(Level(0x27)).size(), 4u);
  for (int id : {1, 2}) EXPECT_EQ(QBR1_ReadObjectMap(Level(id)).size(), 2u) << id;
  EXPECT_NE(list.Note().find("copied to 0x3DA000"), std::string::npos) << list.Note();
  for (long at : Changed()) {
    const bool pointer = at == kObjTable + 2 * 0x2E || at == kObjTable + 2 * 0x2E + 1;
    EXPECT_TRUE(pointer || (at >= kFreeObjects && at < kFreeObjects + 33)) << std::hex << at;
  }
  // The list is its own now: further edits ask nothing.
  ASSERT_TRUE(list.DeleteSelection());
  EXPECT_EQ(asked.size(), 1u);
  // One undo takes back the delete, the next the copy with its pointer.
  int level = -1;
  ASSERT_TRUE(QBR1_Undo(&level));
  ASSERT_TRUE(QBR1_Undo(&level));
  EXPECT_EQ(level, 0x27);
  EXPECT_EQ(Current(), image);
}

TEST_F(SharedListsTest, AllChangesEveryLevelAndIsAskedOncePerList) {
  RecordListEditor<QBR1RawObject> list;
  Open(list, 2);
  Answer("all");
  std::string why;
  list.SelectAll();
  // Four records do not fit in A's place: the list moves with every pointer that names it.
  ASSERT_TRUE(list.Duplicate(why)) << why;
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(list.Offset(), kFreeObjects);
  for (int id : {1, 2, 0x27}) EXPECT_EQ(QBR1_ReadObjectMap(Level(id)).size(), 4u) << id;
  // Another edit of the same list, from another level's view, asks nothing more.
  RecordListEditor<QBR1RawObject> other;
  Open(other, 1);
  other.SelectAll();
  ASSERT_TRUE(other.DeleteSelection());
  EXPECT_EQ(asked.size(), 1u);
  for (int id : {1, 2, 0x27}) EXPECT_TRUE(QBR1_ReadObjectMap(Level(id)).empty()) << id;
  UndoAll();
  EXPECT_EQ(Current(), image);
  // Another image (or the same one opened again) asks again.
  ForgetSharedListAnswers();
  Open(list, 2);
  list.SelectAll();
  ASSERT_TRUE(list.DeleteSelection());
  EXPECT_EQ(asked.size(), 2u);
  UndoAll();
  EXPECT_EQ(Current(), image);
}

TEST_F(SharedListsTest, CancelChangesNothingAndEndsAMove) {
  RecordListEditor<QBR1RawObject> list;
  Open(list, 1);
  Answer("cancel");
  list.SelectAll();
  EXPECT_FALSE(list.DeleteSelection());
  EXPECT_EQ(list.Note(), "Cancelled: the list stays shared");
  list.BeginMove(0x100, 0x1B0);
  list.MoveTo(0x180, 0x1B0);
  EXPECT_FALSE(list.Moving());
  list.MoveTo(0x200, 0x1B0);  // after the cancel, the drag asks nothing more
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(Current(), image);
  EXPECT_EQ(QBR1_Document().UndoCount(), 0u);
}

TEST_F(SharedListsTest, ABananaListSharedThroughOneIndexGetsAnIndexNoLevelUses) {
  RecordListEditor<QBR1RawBanana> list;
  Open(list, 4);
  EXPECT_EQ(list.SharedBy(), 2u);
  Answer("This level");
  std::string why;
  list.SelectAll();
  ASSERT_TRUE(list.Duplicate(why)) << why;
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NE(asked[0].text.find("The banana list of level 0x04 is shared by 2 levels (0x01, 0x04)."), std::string::npos);
  EXPECT_EQ(list.Offset(), kFreeBananas);
  EXPECT_EQ(QBR1[kBnaIndex + 4], 2);  // the index nobody used
  EXPECT_EQ(Word(kBnaTable + 4), static_cast<unsigned>(kFreeBananas - kBnaTable));
  EXPECT_EQ(QBR1[kBnaIndex + 1], 1);
  EXPECT_EQ(Word(kBnaTable + 2), static_cast<unsigned>(kC - kBnaTable));
  EXPECT_EQ(QBR1_ReadBananaMap(Level(4)).size(), 2u);
  EXPECT_EQ(QBR1_ReadBananaMap(Level(1)).size(), 1u);
  int level = -1;
  ASSERT_TRUE(QBR1_Undo(&level));
  EXPECT_EQ(Current(), image);

  // With every index in use, the copy is refused and nothing changes.
  image[kBnaIndex + 6] = 2;
  editor_test::UseImage(image);
  QBR1_ResetEdits(image, 0);
  Open(list, 4);
  list.SelectAll();
  EXPECT_FALSE(list.Duplicate(why));
  EXPECT_NE(why.find("every banana pointer is in use"), std::string::npos) << why;
  EXPECT_EQ(Current(), image);
}

}  // namespace
