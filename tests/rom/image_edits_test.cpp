#include "rom/image_edits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "rom/image_transaction.h"

namespace {

using Bytes = std::vector<unsigned char>;

// An image in channel 0x10 whose edit history starts from `file` (with a copier header of `header`
// bytes); the channel holds the file without its header. Restores the empty state afterwards.
class ImageEdits : public ::testing::Test {
 protected:
  void Install(const Bytes& file, std::size_t header) {
    BFA_Activate(0x10, 1);
    QBR1.assign(file.begin() + static_cast<std::ptrdiff_t>(header), file.end());
    QBR1_ResetEdits(file, header);
  }
  void TearDown() override {
    QBR1_ResetEdits({}, 0);
    BFA_ResetAll();
  }
  static Bytes Image() { return Bytes(QBR1.begin(), QBR1.end()); }
  static Bytes Pattern(std::size_t n, unsigned seed) {
    Bytes b(n);
    std::mt19937 rng(seed);
    for (auto& v : b) v = static_cast<unsigned char>(rng());
    return b;
  }
};

TEST_F(ImageEdits, WritesOutsideTheImageAreRefusedWhole) {
  Install(Bytes(64, 0x11), 0);
  const unsigned char two[2] = {0xA1, 0xA2};
  struct Case {
    std::size_t offset;
    std::size_t n;
    bool ok;
  };
  const Case cases[] = {
      {0, 2, true},
      {62, 2, true},   // the last two bytes
      {63, 2, false},  // the second byte is one past the end
      {63, 1, true},
      {64, 1, false},
      {64, 0, true},  // nothing to write
      {65, 0, false},
      {std::numeric_limits<std::size_t>::max(), 2, false},  // offset + n wraps
  };
  for (const Case& c : cases) {
    QBR1.assign(64, 0x11);
    QBR1_ResetEdits(Bytes(64, 0x11), 0);
    const unsigned long long before = QBR1_EditGeneration();
    EXPECT_EQ(QBR1_WriteBytes(c.offset, two, c.n), c.ok) << c.offset << "+" << c.n;
    if (!c.ok) {
      EXPECT_EQ(Image(), Bytes(64, 0x11)) << c.offset;
      EXPECT_EQ(QBR1_EditGeneration(), before);
      EXPECT_EQ(QBR1_UndoCount(), 0u);
    }
  }
  EXPECT_TRUE(QBR1_WriteWord(62, 0xBEEF));
  EXPECT_EQ(QBR1[62], static_cast<char>(0xEF));
  EXPECT_EQ(QBR1[63], static_cast<char>(0xBE));
  EXPECT_FALSE(QBR1_WriteWord(63, 0x1234));
  EXPECT_EQ(QBR1[63], static_cast<char>(0xBE));
}

TEST_F(ImageEdits, OneGestureIsOneStepAndUndoRestoresItsLevel) {
  const Bytes original = Pattern(256, 1);
  Install(original, 0);
  {
    ImageTransaction edit(QBR1_Document(), ImageDocument::kDefaultLabel, 0x16);
    for (std::size_t i = 0; i < 40; i += 2) EXPECT_TRUE(QBR1_WriteWord(i, static_cast<unsigned short>(0x1000 + i)));
    EXPECT_TRUE(QBR1_WriteByte(0, 0x77));  // the same byte again: undo still restores the first value
    edit.Commit();
  }
  {
    ImageTransaction edit(QBR1_Document(), ImageDocument::kDefaultLabel, 0x2A);
    EXPECT_TRUE(QBR1_WriteByte(200, static_cast<unsigned char>(original[200] ^ 0xFF)));
    edit.Commit();
  }
  ASSERT_EQ(QBR1_UndoCount(), 2u);
  const Bytes edited = Image();

  int level = -2;
  ASSERT_TRUE(QBR1_Undo(&level));
  EXPECT_EQ(level, 0x2A);
  ASSERT_TRUE(QBR1_Undo(&level));
  EXPECT_EQ(level, 0x16);
  EXPECT_EQ(Image(), original);
  EXPECT_FALSE(QBR1_HasUnsavedEdits());
  EXPECT_FALSE(QBR1_Undo(&level));

  ASSERT_TRUE(QBR1_Redo(&level));
  EXPECT_EQ(level, 0x16);
  ASSERT_TRUE(QBR1_Redo(&level));
  EXPECT_EQ(level, 0x2A);
  EXPECT_FALSE(QBR1_Redo(&level));
  EXPECT_EQ(Image(), edited);
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
}

TEST_F(ImageEdits, EditsThatChangeNoByteLeaveNoStep) {
  const Bytes original = Pattern(32, 2);
  Install(original, 0);
  {
    ImageTransaction edit(QBR1_Document(), ImageDocument::kDefaultLabel, 1);
    QBR1_WriteByte(5, original[5]);  // the value already there
    edit.Commit();
  }
  {
    ImageTransaction edit(QBR1_Document(), ImageDocument::kDefaultLabel, 1);
    QBR1_WriteByte(6, static_cast<unsigned char>(original[6] + 1));
    QBR1_WriteByte(6, original[6]);  // and back within the same gesture
    edit.Commit();
  }
  QBR1_WriteByte(7, original[7]);  // a write of its own
  ImageTransaction(QBR1_Document(), ImageDocument::kDefaultLabel, 1).Commit();
  EXPECT_EQ(QBR1_UndoCount(), 0u);
  EXPECT_FALSE(QBR1_HasUnsavedEdits());
  EXPECT_EQ(Image(), original);
}

TEST_F(ImageEdits, NestedGesturesJoinTheOutermost) {
  const Bytes original = Pattern(32, 3);
  Install(original, 0);
  ImageTransaction outer(QBR1_Document(), ImageDocument::kDefaultLabel, 3);
  QBR1_WriteByte(1, static_cast<unsigned char>(~original[1]));
  {
    ImageTransaction inner(QBR1_Document(), ImageDocument::kDefaultLabel, 9);
    QBR1_WriteByte(2, static_cast<unsigned char>(~original[2]));
    inner.Commit();
  }
  EXPECT_EQ(QBR1_UndoCount(), 0u);  // still open
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
  outer.Commit();
  outer.Commit();  // one too many: ignored
  ASSERT_EQ(QBR1_UndoCount(), 1u);
  int level = 0;
  ASSERT_TRUE(QBR1_Undo(&level));
  EXPECT_EQ(level, 3);
  EXPECT_EQ(Image(), original);
}

TEST_F(ImageEdits, GenerationChangesOnEveryWriteUndoAndRedo) {
  Install(Bytes(16, 0), 0);
  unsigned long long g = QBR1_EditGeneration();
  const auto changed = [&g] {
    const unsigned long long now = QBR1_EditGeneration();
    const bool moved = now != g;
    g = now;
    return moved;
  };
  {
    ImageTransaction edit(QBR1_Document(), ImageDocument::kDefaultLabel);
    QBR1_WriteByte(0, 1);
    EXPECT_TRUE(changed());
    QBR1_WriteByte(1, 0);  // even a write of the same value
    EXPECT_TRUE(changed());
    edit.Commit();
  }
  EXPECT_TRUE(QBR1_Undo(nullptr));
  EXPECT_TRUE(changed());
  EXPECT_TRUE(QBR1_Redo(nullptr));
  EXPECT_TRUE(changed());
  EXPECT_FALSE(QBR1_Redo(nullptr));
  EXPECT_FALSE(changed());
}

// Random gestures, undos and redos against a model that keeps a snapshot of every state: each step must
// land on exactly the model's bytes, and undoing everything ends on the original.
TEST_F(ImageEdits, RandomSequencesMatchSnapshotsAndEndOnTheOriginal) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    const Bytes original = Pattern(512, seed);
    Install(original, 0);
    std::vector<Bytes> states{original};
    std::size_t at = 0;
    std::mt19937 rng(seed * 7919);
    for (int step = 0; step < 200; ++step) {
      const unsigned op = rng() % 4;
      if (op == 0) {
        const bool ok = QBR1_Undo(nullptr);
        EXPECT_EQ(ok, at > 0);
        if (ok) --at;
      } else if (op == 1) {
        const bool ok = QBR1_Redo(nullptr);
        EXPECT_EQ(ok, at + 1 < states.size());
        if (ok) ++at;
      } else {
        ImageTransaction edit(QBR1_Document(), ImageDocument::kDefaultLabel, static_cast<int>(step));
        const int writes = 1 + static_cast<int>(rng() % 6);
        for (int w = 0; w < writes; ++w) {
          const std::size_t off = rng() % 500;
          const std::size_t n = 1 + rng() % 12;
          const Bytes data = Pattern(n, rng());
          EXPECT_TRUE(QBR1_WriteBytes(off, data.data(), n));
        }
        edit.Commit();
        if (Image() != states[at]) {
          states.resize(at + 1);
          states.push_back(Image());
          ++at;
        }
      }
      ASSERT_EQ(Image(), states[at]) << "seed " << seed << " step " << step;
      ASSERT_EQ(QBR1_UndoCount(), at);
      ASSERT_EQ(QBR1_RedoCount(), states.size() - 1 - at);
      ASSERT_EQ(QBR1_SavedFileBytes(), states[at]);
    }
    while (QBR1_Undo(nullptr)) {
    }
    EXPECT_EQ(Image(), original) << seed;
    EXPECT_FALSE(QBR1_HasUnsavedEdits());
  }
}

TEST_F(ImageEdits, SavedBytesKeepTheHeaderAndLeaveCorrectionsOut) {
  Bytes file = Pattern(512 + 4096, 4);
  Install(file, 512);
  ASSERT_EQ(QBR1.size(), 4096u);
  EXPECT_EQ(QBR1_HeaderSize(), 512u);
  EXPECT_EQ(QBR1_OpenedFile(), file);
  // Display-only corrections, made straight in the channel as Open makes them.
  QBR1[100] = static_cast<char>(file[512 + 100] ^ 0x5A);
  QBR1[101] = static_cast<char>(file[512 + 101] ^ 0x5A);
  EXPECT_EQ(QBR1_SavedFileBytes(), file);
  EXPECT_FALSE(QBR1_HasUnsavedEdits());

  // An edit over the second corrected byte takes it into the file; the first stays as opened.
  {
    ImageTransaction edit(QBR1_Document(), ImageDocument::kDefaultLabel, 0);
    QBR1_WriteBytes(101, Bytes{0xC1, 0xC2}.data(), 2);
    edit.Commit();
  }
  Bytes expected = file;
  expected[512 + 101] = 0xC1;
  expected[512 + 102] = 0xC2;
  EXPECT_EQ(QBR1_SavedFileBytes(), expected);

  // Writing the value the corrected byte already shows still covers it.
  const unsigned char shown = static_cast<unsigned char>(QBR1[100]);
  {
    ImageTransaction edit(QBR1_Document(), ImageDocument::kDefaultLabel, 0);
    QBR1_WriteByte(100, shown);
    QBR1_WriteByte(101, 0x01);
    edit.Commit();
  }
  expected[512 + 100] = shown;
  expected[512 + 101] = 0x01;
  EXPECT_EQ(QBR1_SavedFileBytes(), expected);
  EXPECT_EQ(QBR1_OpenedFile(), file);  // the baseline of patches never moves
}

TEST_F(ImageEdits, SavedStateFollowsUndoAndIsLostWithItsBranch) {
  Install(Bytes(16, 0), 0);
  QBR1_WriteByte(0, 1);
  QBR1_WriteByte(1, 1);
  QBR1_MarkSaved();
  EXPECT_FALSE(QBR1_HasUnsavedEdits());
  QBR1_Undo(nullptr);
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
  QBR1_Redo(nullptr);
  EXPECT_FALSE(QBR1_HasUnsavedEdits());
  QBR1_Undo(nullptr);
  QBR1_WriteByte(2, 1);  // a new branch: the saved state can no longer be reached
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
  QBR1_Undo(nullptr);
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
  EXPECT_TRUE(QBR1_Redo(nullptr));
  EXPECT_FALSE(QBR1_Redo(nullptr));
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
}

TEST_F(ImageEdits, StepsKeepTheirLabelsAndTheSelectionsAroundThem) {
  Install(Bytes(64, 0), 0);
  const EditSelection picked{0x20, {1, 2}}, moved{0x20, {0, 1}};
  {
    ImageTransaction edit(QBR1_Document(), "Move 2 objects", 3, picked);
    QBR1_WriteWord(0x20, 0x1234);
    edit.SetSelectionAfter(moved);
    edit.Commit();
  }
  {
    ImageTransaction edit(QBR1_Document(), "Paint", 3);
    QBR1_WriteWord(0x02, 0x0005);
    QBR1_WriteWord(0x04, 0x0005);
    edit.SetLabel("Paint 2 tiles");  // a stroke names its size at the end
    edit.Commit();
  }
  QBR1_WriteByte(0x30, 9);  // a write of its own
  EXPECT_EQ(QBR1_Document().UndoLabel(), "Edit");
  EXPECT_EQ(QBR1_Document().RedoLabel(), "");

  struct Expected {
    bool undo;
    const char* label;
    int level;
    EditSelection selection;
  };
  const Expected steps[] = {
      {true, "Edit", -1, {}},           {true, "Paint 2 tiles", 3, {}}, {true, "Move 2 objects", 3, picked},
      {false, "Move 2 objects", 3, moved}, {false, "Paint 2 tiles", 3, {}}, {false, "Edit", -1, {}},
  };
  for (const Expected& e : steps) {
    EditStepInfo step;
    ASSERT_TRUE(e.undo ? QBR1_UndoStep(&step) : QBR1_RedoStep(&step)) << e.label;
    EXPECT_EQ(step.label, e.label);
    EXPECT_EQ(step.level, e.level) << e.label;
    EXPECT_EQ(step.selection, e.selection) << e.label;
    const EditSelection* restored = QBR1_Document().RestoredSelection();
    if (e.selection.list < 0) {
      EXPECT_EQ(restored, nullptr) << e.label;
    } else {
      ASSERT_NE(restored, nullptr) << e.label;
      EXPECT_EQ(*restored, e.selection) << e.label;
    }
  }
  // The restored selection holds only until the image changes again.
  ASSERT_TRUE(QBR1_UndoStep(nullptr));
  ASSERT_TRUE(QBR1_UndoStep(nullptr));
  ASSERT_TRUE(QBR1_UndoStep(nullptr));
  ASSERT_NE(QBR1_Document().RestoredSelection(), nullptr);
  EXPECT_EQ(QBR1_Document().RedoLabel(), "Move 2 objects");
  QBR1_WriteByte(0x31, 1);
  EXPECT_EQ(QBR1_Document().RestoredSelection(), nullptr);
}

TEST_F(ImageEdits, ASaveDuringAGestureSplitsItAndLeavesTheRestUnsaved) {
  Install(Bytes(32, 0), 0);
  ImageTransaction stroke(QBR1_Document(), "Paint 1 tile", 7);
  QBR1_WriteByte(1, 0x11);
  EXPECT_EQ(QBR1_SavedFileBytes()[1], 0x11);  // what Save writes includes the stroke so far
  QBR1_MarkSaved();
  EXPECT_FALSE(QBR1_HasUnsavedEdits());
  stroke.SetLabel("Paint 2 tiles");
  QBR1_WriteByte(2, 0x22);
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
  stroke.Commit();
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
  ASSERT_EQ(QBR1_UndoCount(), 2u);
  EditStepInfo step;
  ASSERT_TRUE(QBR1_UndoStep(&step));
  EXPECT_EQ(step.level, 7);
  EXPECT_EQ(step.label, "Paint 2 tiles");
  EXPECT_EQ(Image()[2], 0);
  EXPECT_EQ(Image()[1], 0x11);
  EXPECT_FALSE(QBR1_HasUnsavedEdits());  // back at the saved position
}

TEST(CopierHeader, SizeIsWholeBlocksPlus512) {
  struct Case {
    std::size_t size;
    std::size_t header;
  };
  const Case cases[] = {
      {0, 0},          {512, 0},       {513, 0},       {0x8000, 0},   {0x8200, 512},   {0x81FF, 0},
      {0x8201, 0},     {0x400000, 0},  {0x400200, 512}, {0x300200, 512}, {0x3CA800 + 512, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(QBR1_CopierHeaderSize(c.size), c.header) << std::hex << c.size;
}

}  // namespace
