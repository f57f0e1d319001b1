#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "bfa/bfa.h"
#include "editor/edit_lists.h"
#include "level/level_objects.h"
#include "rom/image_edits.h"
#include "tests/editor/editor_support.h"

// Editing a level's object and banana lists: moves re-sort the records and
// keep their other bytes, a list without free space to move to keeps the place it held when opened,
// and every gesture is one undo step that ends on the original bytes.

namespace {

constexpr long kObjects = 0x1000;
constexpr long kBananas = 0x2000;
constexpr long kShape = kQBR1BananaShapeTable + 0x100;  // shape 2: 2 columns x 3 rows
constexpr int kStart = 0x400;

struct Obj {
  int kind, extra, x, y, zo;
};

void PutObject(std::vector<unsigned char>& img, long at, const Obj& o) {
  img[at] = static_cast<unsigned char>(o.kind);
  img[at + 1] = static_cast<unsigned char>(o.extra);
  editor_test::PutWord(img, at + 2, static_cast<unsigned>(o.x + kStart) & 0xFFFF);
  editor_test::PutWord(img, at + 4, static_cast<unsigned>(0x200 - o.y) & 0xFFFF);
  editor_test::PutWord(img, at + 6, static_cast<unsigned>(o.zo));
}

class EditListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    editor_test::InitAllegro();
    editor_test::UseConfig("");
    image = editor_test::BlankImage();
    PutObject(image, kObjects, {1, 0x55, 100, 400, 0x1000});
    PutObject(image, kObjects + 8, {2, 0x66, 200, 300, 0x1010});
    PutObject(image, kObjects + 16, {3, 0x77, 300, 480, 0x1020});
    // The end record, and bytes the walk never reads after its kind byte.
    std::fill(image.begin() + kObjects + 25, image.begin() + kObjects + 40, 0xEE);
    // Banana groups: bit 0 of word 0 and bits 0-1 of word 2 set, which no move may touch.
    editor_test::PutWord(image, kBananas, 0x0003 | (10 << 10));
    editor_test::PutWord(image, kBananas + 2, (64 << 2) | 2);
    editor_test::PutWord(image, kBananas + 4, 0x0002 | (20 << 10));
    editor_test::PutWord(image, kBananas + 6, (128 << 2) | 1);
    editor_test::PutWord(image, kQBR1BananaShapeTable + 2, 0x100);
    image[kShape] = 2;
    image[kShape + 1] = 3;
    editor_test::UseImage(image);
    QBR1_ResetEdits(image, 0);
    lvl.ID = 5;
    lvl.x = kStart;
    lvl.tile_w = 24;
    lvl.tile_h = 16;
    lvl.objects = kObjects;
    lvl.bananas = kBananas;
    RecordListEditor<QBR1RawObject>::Clipboard().clear();
    RecordListEditor<QBR1RawBanana>::Clipboard().clear();
    objects.Sync(lvl, QBR1_EditGeneration(), false);
    bananas.Sync(lvl, QBR1_EditGeneration(), false);
  }

  void TearDown() override {
    RecordListEditor<QBR1RawObject>::Clipboard().clear();
    RecordListEditor<QBR1RawBanana>::Clipboard().clear();
    QBR1_ResetEdits({}, 0);
    QBR1.clear();
  }

  std::vector<unsigned char> Current() const { return {QBR1.begin(), QBR1.end()}; }

  // The level x of every object, in list order.
  std::vector<int> Xs() const {
    std::vector<int> xs;
    for (const QBR1ObjectRecord& r : QBR1_ReadObjectMap(lvl)) xs.push_back(r.x);
    return xs;
  }

  // Offsets at which the image differs from the original.
  std::vector<long> Changed() const {
    std::vector<long> at;
    for (std::size_t i = 0; i < image.size(); ++i) {
      if (static_cast<unsigned char>(QBR1[i]) != image[i]) at.push_back(static_cast<long>(i));
    }
    return at;
  }

  void UndoAll() {
    int level = -1;
    while (QBR1_Undo(&level)) EXPECT_EQ(level, 5);
  }

  std::vector<unsigned char> image;
  leveldata lvl;
  RecordListEditor<QBR1RawObject> objects;
  RecordListEditor<QBR1RawBanana> bananas;
};

}  // namespace

TEST_F(EditListsTest, ClicksShiftClicksAndRectanglesSelect) {
  // The hover square of the object at (200, 300): x 184-215, y 268-299.
  objects.Click(184, 268, false);
  EXPECT_TRUE(objects.Selected(1));
  EXPECT_EQ(objects.SelectedCount(), 1u);
  objects.Click(216, 268, false);  // just right of it: empty ground
  EXPECT_EQ(objects.SelectedCount(), 0u);
  objects.Click(215, 299, false);
  objects.Click(100, 399, true);
  EXPECT_TRUE(objects.Selected(0));
  EXPECT_TRUE(objects.Selected(1));
  objects.Click(100, 399, true);
  EXPECT_FALSE(objects.Selected(0));
  objects.SelectBox({250, 0, 320, 460}, false);  // meets only the object at 300
  EXPECT_EQ(objects.SelectedCount(), 1u);
  EXPECT_TRUE(objects.Selected(2));
  objects.SelectBox({90, 390, 91, 391}, true);
  EXPECT_EQ(objects.SelectedCount(), 2u);
  objects.SelectAll();
  EXPECT_EQ(objects.SelectedCount(), 3u);
  EXPECT_EQ(Current(), image);  // selecting writes nothing
}

TEST_F(EditListsTest, MoveChangesOnlyThePositionWordsAndSortsByX) {
  objects.Click(200, 290, false);
  objects.BeginMove(200, 290);
  objects.MoveTo(250, 285);
  // Not yet past its neighbour: only its x and height words change.
  EXPECT_EQ(Xs(), (std::vector<int>{100, 250, 300}));
  std::vector<long> expected = {kObjects + 10, kObjects + 12};  // x word low byte, height word low byte
  EXPECT_EQ(Changed(), expected);
  objects.MoveTo(451, 290);
  objects.EndMove();
  EXPECT_EQ(Xs(), (std::vector<int>{100, 300, 451}));
  EXPECT_TRUE(objects.Selected(2));
  EXPECT_EQ(objects.SelectedCount(), 1u);
  const QBR1RawObject moved = objects.Records()[2];
  EXPECT_EQ(moved.Kind(), 2);
  EXPECT_EQ(moved.bytes[1], 0x66);
  EXPECT_EQ(moved.Definition(), 0x1010u);
  EXPECT_EQ(moved.XWord(), static_cast<unsigned>(451 + kStart));
  EXPECT_EQ(moved.Y(), 300);
  // Everything the gesture changed lies inside the list's records.
  for (long at : Changed()) {
    EXPECT_GE(at, kObjects);
    EXPECT_LT(at, kObjects + 24);
  }
  // One gesture, one undo step, back to the original bytes.
  int level = -1;
  ASSERT_TRUE(QBR1_Undo(&level));
  EXPECT_EQ(level, 5);
  EXPECT_EQ(Current(), image);
  EXPECT_FALSE(QBR1_Undo(&level));
  ASSERT_TRUE(QBR1_Redo(&level));
  EXPECT_EQ(Xs(), (std::vector<int>{100, 300, 451}));
}

// Records at one x keep their order and their bytes when another record moves
// past them (enough of them that an unstable sort would mix them).
TEST_F(EditListsTest, RecordsWithEqualXKeepTheirOrderWhenAnotherMoves) {
  constexpr int kSame = 40;
  PutObject(image, kObjects, {1, 0x01, 100, 480, 0x1000});
  for (int i = 0; i < kSame; ++i) {
    PutObject(image, kObjects + 8 * (i + 1), {1 + i % 5, 0x40 + i, 200, 100 + 8 * i, 0x1100 + i});
  }
  image[kObjects + 8 * (kSame + 1)] = 0;
  editor_test::UseImage(image);
  QBR1_ResetEdits(image, 0);
  objects = {};
  objects.Sync(lvl, QBR1_EditGeneration(), false);
  ASSERT_EQ(objects.Records().size(), static_cast<std::size_t>(kSame + 1));
  objects.Click(100, 479, false);
  ASSERT_TRUE(objects.Selected(0));
  objects.BeginMove(100, 479);
  objects.MoveTo(300, 479);
  objects.EndMove();
  // The same records, one place up, byte for byte; the moved one last.
  for (int i = 0; i < kSame; ++i) {
    const long from = kObjects + 8 * (i + 1), to = kObjects + 8 * i;
    EXPECT_TRUE(std::equal(image.begin() + from, image.begin() + from + 8, QBR1.begin() + to,
                           [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); }))
        << "record " << i;
  }
  EXPECT_EQ(objects.Records()[kSame].X(kStart), 300);
  EXPECT_TRUE(objects.Selected(kSame));
}

TEST_F(EditListsTest, AMoveStopsWhereARecordCannotStoreItsPosition) {
  bananas.SelectAll();
  bananas.BeginMove(100, 100);
  bananas.MoveTo(-1000, -1000);  // the group at x 64, y 80 reaches the corner first
  bananas.EndMove();
  ASSERT_EQ(bananas.Records().size(), 2u);
  EXPECT_EQ(bananas.Records()[0].X(), 0);
  EXPECT_EQ(bananas.Records()[0].Y(), 0);
  EXPECT_EQ(bananas.Records()[1].X(), 64);
  EXPECT_EQ(bananas.Records()[1].Y(), 80);
}

TEST_F(EditListsTest, BananaGroupsMoveByPixelsAcrossAndEightPixelStepsDown) {
  struct Case {
    int dx, dy;
    int x, y;  // of the first group (64, 80) afterwards
  };
  const Case cases[] = {{5, 11, 69, 88}, {-3, 3, 61, 80}, {0, 4, 64, 88}, {0, -4, 64, 80}, {0, -5, 64, 72}};
  for (const Case& c : cases) {
    bananas.Click(64, 80, false);
    ASSERT_EQ(bananas.SelectedCount(), 1u);
    bananas.BeginMove(70, 90);
    bananas.MoveTo(70 + c.dx, 90 + c.dy);
    bananas.EndMove();
    const QBR1RawBanana& g = bananas.Records()[0];
    EXPECT_EQ(g.X(), c.x) << c.dx << "," << c.dy;
    EXPECT_EQ(g.Y(), c.y) << c.dx << "," << c.dy;
    EXPECT_EQ(g.Word0() & 0x3FF, 0x003u);  // bit 0 and the shape
    EXPECT_EQ(g.Word2() & 0x3, 2u);
    UndoAll();
    bananas.Sync(lvl, QBR1_EditGeneration(), false);
    EXPECT_EQ(Current(), image);
  }
}

TEST_F(EditListsTest, BananaGroupsSortByXAfterAMove) {
  bananas.Click(70, 90, false);  // the group at (64, 80): 2 x 3 cells, 24 x 32 pixels
  bananas.BeginMove(70, 90);
  bananas.MoveTo(270, 90);
  bananas.EndMove();
  ASSERT_EQ(bananas.Records().size(), 2u);
  EXPECT_EQ(bananas.Records()[0].X(), 128);
  EXPECT_EQ(bananas.Records()[1].X(), 264);
  EXPECT_EQ(bananas.Records()[1].Word2() & 0x3, 2u);
  EXPECT_TRUE(bananas.Selected(1));
  EXPECT_FALSE(bananas.Selected(0));
}

TEST_F(EditListsTest, WithoutFreeSpaceAListKeepsThePlaceItHeldWhenOpened) {
  EXPECT_EQ(objects.Capacity(), 3u);
  objects.Click(100, 399, false);
  ASSERT_TRUE(objects.CopySelection());
  std::string why;
  const unsigned long long before = QBR1_EditGeneration();
  EXPECT_FALSE(objects.Paste(500, 300, why));
  EXPECT_NE(why, "");
  EXPECT_FALSE(objects.Duplicate(why));
  EXPECT_EQ(QBR1_EditGeneration(), before);
  EXPECT_EQ(Current(), image);

  // Room made by a delete takes one paste, and only one.
  objects.Click(300, 479, false);
  ASSERT_TRUE(objects.DeleteSelection());
  EXPECT_EQ(Xs(), (std::vector<int>{100, 200}));
  ASSERT_TRUE(objects.Paste(150, 200, why));
  EXPECT_EQ(Xs(), (std::vector<int>{100, 150, 200}));
  EXPECT_TRUE(objects.Selected(1));
  const QBR1RawObject pasted = objects.Records()[1];
  EXPECT_EQ(pasted.Kind(), 1);
  EXPECT_EQ(pasted.Y(), 200);
  EXPECT_EQ(pasted.Definition(), 0x1000u);
  const std::vector<unsigned char> full = Current();
  EXPECT_FALSE(objects.Paste(150, 200, why));
  EXPECT_EQ(Current(), full);
  // Nothing outside the list's records and end record was written.
  for (long at : Changed()) {
    EXPECT_GE(at, kObjects);
    EXPECT_LE(at, kObjects + 24);
  }
  UndoAll();
  EXPECT_EQ(Current(), image);
}

TEST_F(EditListsTest, DeleteEndsTheListEarlierAndCutPasteMovesRecords) {
  objects.SelectAll();
  ASSERT_TRUE(objects.CopySelection());
  ASSERT_TRUE(objects.DeleteSelection());
  EXPECT_TRUE(Xs().empty());
  EXPECT_EQ(QBR1[kObjects], 0);
  std::string why;
  // Pasted with their top-left (100, 300) at the given point, in the same arrangement.
  ASSERT_TRUE(objects.Paste(1100, 100, why)) << why;
  EXPECT_EQ(Xs(), (std::vector<int>{1100, 1200, 1300}));
  std::vector<int> ys;
  for (const QBR1ObjectRecord& r : QBR1_ReadObjectMap(lvl)) ys.push_back(r.y);
  EXPECT_EQ(ys, (std::vector<int>{200, 100, 280}));
  EXPECT_EQ(objects.SelectedCount(), 3u);
  EXPECT_EQ(static_cast<unsigned char>(QBR1[kObjects + 24]), 0);  // the end record is where it was
  UndoAll();
  EXPECT_EQ(Current(), image);
}

TEST_F(EditListsTest, DuplicateAddsCopiesSixteenPixelsRightAndDown) {
  objects.Click(100, 399, false);
  ASSERT_TRUE(objects.DeleteSelection());
  objects.Click(200, 299, false);
  std::string why;
  ASSERT_TRUE(objects.Duplicate(why)) << why;
  const std::vector<QBR1ObjectRecord> read = QBR1_ReadObjectMap(lvl);
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[1].x, 216);
  EXPECT_EQ(read[1].y, 316);
  EXPECT_EQ(read[1].zo, 0x1010);
  EXPECT_TRUE(objects.Selected(1));
  EXPECT_FALSE(objects.Selected(0));
}

TEST_F(EditListsTest, ANewDefinitionChangesOnlyTheDefinitionWords) {
  objects.Click(100, 399, false);
  objects.Click(300, 479, true);
  ASSERT_TRUE(objects.SetSelectedDefinition(0x1060));
  EXPECT_EQ(Changed(), (std::vector<long>{kObjects + 6, kObjects + 22}));  // the high bytes stay 0x10
  EXPECT_EQ(objects.Records()[0].Definition(), 0x1060u);
  EXPECT_EQ(objects.Records()[1].Definition(), 0x1010u);
  EXPECT_EQ(objects.Records()[2].Definition(), 0x1060u);
}

TEST_F(EditListsTest, UndoElsewhereForgetsTheSelection) {
  objects.SelectAll();
  ASSERT_TRUE(objects.DeleteSelection());
  // A step that keeps no selection of this list: undoing it forgets the selection.
  QBR1_WriteByte(0x10, 1);
  objects.SelectAll();
  int level = -1;
  ASSERT_TRUE(QBR1_Undo(&level));
  objects.Sync(lvl, QBR1_EditGeneration(), false);
  EXPECT_EQ(objects.Records().size(), 0u);
  EXPECT_EQ(objects.SelectedCount(), 0u);
}

// Undo brings back the selection in force before the step, redo the one after
// it, as record indexes of the list on that side of the step.
TEST_F(EditListsTest, UndoAndRedoRestoreTheSelectionAroundTheStep) {
  objects.Click(300, 479, false);  // the last record (x 300) ...
  objects.BeginMove(300, 479);
  objects.MoveTo(50, 479);  // ... becomes the first
  objects.EndMove();
  ASSERT_EQ(Xs(), (std::vector<int>{50, 100, 200}));
  ASSERT_TRUE(objects.Selected(0));
  objects.Click(200, 299, false);  // another selection before the undo
  EditStepInfo step;
  ASSERT_TRUE(QBR1_UndoStep(&step));
  EXPECT_EQ(step.label, "Move 1 object");
  objects.Follow(lvl);
  EXPECT_EQ(Xs(), (std::vector<int>{100, 200, 300}));
  EXPECT_EQ(objects.SelectedCount(), 1u);
  EXPECT_TRUE(objects.Selected(2));
  ASSERT_TRUE(QBR1_RedoStep(&step));
  objects.Follow(lvl);
  EXPECT_EQ(objects.SelectedCount(), 1u);
  EXPECT_TRUE(objects.Selected(0));
  // The list's own next change keeps what is selected now.
  objects.Click(100, 399, true);
  ASSERT_TRUE(objects.SetSelectedDefinition(0x1060));
  objects.Follow(lvl);
  EXPECT_EQ(objects.SelectedCount(), 2u);
}

TEST_F(EditListsTest, APressWithoutMovementWritesNothingEvenOnAnUnsortedList) {
  // The image stores the list out of order: 300, 100, 200.
  PutObject(image, kObjects, {3, 0x77, 300, 480, 0x1020});
  PutObject(image, kObjects + 8, {1, 0x55, 100, 400, 0x1000});
  PutObject(image, kObjects + 16, {2, 0x66, 200, 300, 0x1010});
  editor_test::UseImage(image);
  QBR1_ResetEdits(image, 0);
  objects = {};
  objects.Sync(lvl, QBR1_EditGeneration(), false);
  objects.Click(100, 399, false);
  objects.BeginMove(100, 399);
  objects.MoveTo(100, 399);
  objects.EndMove();
  EXPECT_EQ(Current(), image);
  int level = -1;
  EXPECT_FALSE(QBR1_Undo(&level));
  // A real move stores the list sorted.
  objects.BeginMove(100, 399);
  objects.MoveTo(101, 399);
  objects.EndMove();
  EXPECT_EQ(Xs(), (std::vector<int>{101, 200, 300}));
}
