#include "rom/image_transaction.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

// Transactions over a document of their own: what an uncommitted one leaves (every byte and the history
// as they were), what a committed one makes (one step), and how they nest and meet undo and save.

namespace {

using Bytes = std::vector<unsigned char>;

class ImageTransactionTest : public ::testing::Test {
 protected:
  ImageTransactionTest() : image_(256), document_(image_) {
    std::mt19937 rng(26);
    for (char& c : image_) c = static_cast<char>(rng());
    document_.Reset(Image(), 0);
  }
  Bytes Image() const { return Bytes(image_.begin(), image_.end()); }
  void Write(std::size_t offset, Bytes bytes) { ASSERT_TRUE(document_.Write(offset, bytes.data(), bytes.size())); }

  // What a transaction must leave as it found: the bytes, the steps on both sides with their labels,
  // the saved position and the bytes Save would write.
  struct State {
    Bytes image;
    std::size_t undo, redo;
    std::string undo_label, redo_label;
    bool unsaved;
    Bytes saved;
    bool operator==(const State&) const = default;
  };
  State Snapshot() const {
    return {Image(),
            document_.UndoCount(),
            document_.RedoCount(),
            document_.UndoLabel(),
            document_.RedoLabel(),
            document_.HasUnsavedEdits(),
            document_.SavedFileBytes()};
  }

  std::vector<char> image_;
  ImageDocument document_;
};

TEST_F(ImageTransactionTest, AnUncommittedTransactionLeavesEveryByteAndTheHistoryAsTheyWere) {
  // A history on both sides of the position (a step redo may bring back) and unsaved edits.
  {
    ImageTransaction t(document_, "Move 1 object", 2);
    Write(10, {1, 2, 3});
    t.Commit();
  }
  document_.MarkSaved();
  {
    ImageTransaction t(document_, "Paint 2 tiles", 2);
    Write(40, {4, 5, 6, 7});
    t.Commit();
  }
  ImageTransaction(document_, "Delete 1 object", 2).Commit();  // changes nothing: no step
  Write(100, {9});
  ASSERT_TRUE(document_.Undo(nullptr));
  const State before = Snapshot();
  ASSERT_EQ(before.undo, 2u);
  ASSERT_EQ(before.redo, 1u);
  ASSERT_TRUE(before.unsaved);

  {
    ImageTransaction t(document_, "Paste 3 objects", 5, EditSelection{0x20, {1}});
    Write(0, {0xAA, 0xBB});
    Write(11, {0xCC, 0xDD, 0xEE});  // over the bytes of a step in force
    Write(12, {0x01});              // the same byte twice
    Write(100, {0x77});             // where the step redo would bring back wrote
    Write(255, {0xFF});
    t.SetLabel("Paste 4 objects");
    t.SetSelectionAfter(EditSelection{0x20, {1, 2}});
    EXPECT_NE(Image(), before.image);
  }
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(document_.RedoLabel(), "Edit");  // the step undone is still there to redo
  ASSERT_TRUE(document_.Redo(nullptr));
  EXPECT_EQ(Image()[100], 9);
}

TEST_F(ImageTransactionTest, ACommittedTransactionIsOneUndoStep) {
  const Bytes original = Image();
  const EditSelection picked{0x40, {0, 3}}, moved{0x40, {1, 3}};
  {
    ImageTransaction t(document_, "Move 2 objects", 7, picked);
    Write(3, {1});
    Write(200, {2, 3});
    {
      ImageTransaction inner(document_, "ignored", 9);  // joins the outer step
      Write(3, {4});
      inner.Commit();
    }
    EXPECT_EQ(document_.UndoCount(), 0u);
    t.SetSelectionAfter(moved);
    t.Commit();
  }
  const Bytes edited = Image();
  ASSERT_EQ(document_.UndoCount(), 1u);
  EXPECT_EQ(document_.UndoLabel(), "Move 2 objects");
  EditStepInfo step;
  ASSERT_TRUE(document_.Undo(&step));
  EXPECT_EQ(step.level, 7);
  EXPECT_EQ(step.selection, picked);
  EXPECT_EQ(Image(), original);
  ASSERT_TRUE(document_.Redo(&step));
  EXPECT_EQ(step.selection, moved);
  EXPECT_EQ(Image(), edited);
  EXPECT_EQ(edited[3], 4);
}

TEST_F(ImageTransactionTest, AnUncommittedInnerTransactionPutsBackOnlyItsOwnWrites) {
  const Bytes original = Image();
  ImageTransaction outer(document_, "Import");
  Write(5, {0x11, 0x12});
  {
    ImageTransaction inner(document_, "Import");
    Write(6, {0x21, 0x22});  // over a byte the outer one wrote, and one it did not
    Write(50, {0x23});
  }
  Bytes expected = original;
  expected[5] = 0x11;
  expected[6] = 0x12;
  EXPECT_EQ(Image(), expected);
  EXPECT_EQ(document_.UndoCount(), 0u);
  outer.Commit();
  ASSERT_EQ(document_.UndoCount(), 1u);
  EXPECT_EQ(document_.SavedFileBytes(), expected);
  ASSERT_TRUE(document_.Undo(nullptr));
  EXPECT_EQ(Image(), original);

  // An inner transaction whose writes are all put back leaves the outer one without a step.
  {
    ImageTransaction empty(document_, "Paint");
    {
      ImageTransaction inner(document_, "Paint");
      Write(1, {static_cast<unsigned char>(original[1] ^ 0xFF)});
    }
    EXPECT_FALSE(document_.HasUnsavedEdits());
    empty.Commit();
  }
  EXPECT_EQ(document_.UndoCount(), 0u);
  EXPECT_EQ(document_.RedoCount(), 1u);
}

TEST_F(ImageTransactionTest, AnUndoInTheMiddleEndsTheTransaction) {
  const Bytes original = Image();
  {
    ImageTransaction stroke(document_, "Paint 1 tile", 3);
    Write(8, {0x42});
    EditStepInfo step;
    ASSERT_TRUE(document_.Undo(&step));  // the stroke so far is the step undone
    EXPECT_EQ(step.label, "Paint 1 tile");
    EXPECT_EQ(Image(), original);
    Write(9, {0x43});  // an edit of its own now, not the stroke's
    stroke.SetLabel("Paint 2 tiles");
  }  // ends uncommitted, and puts back nothing
  EXPECT_EQ(Image()[9], 0x43);
  EXPECT_EQ(document_.UndoLabel(), "Edit");
  EXPECT_EQ(document_.UndoCount(), 1u);
  EXPECT_EQ(document_.RedoCount(), 0u);
}

TEST_F(ImageTransactionTest, ASaveInTheMiddleKeepsWhatWasSavedWhenTheRestIsPutBack) {
  const Bytes original = Image();
  {
    ImageTransaction stroke(document_, "Paint", 3);
    Write(20, {0x01});
    document_.MarkSaved();
    Write(21, {0x02});
    EXPECT_TRUE(document_.HasUnsavedEdits());
  }
  Bytes saved = original;
  saved[20] = 0x01;
  EXPECT_EQ(Image(), saved);
  EXPECT_FALSE(document_.HasUnsavedEdits());
  EXPECT_EQ(document_.UndoCount(), 1u);
  EXPECT_EQ(document_.UndoLabel(), "Paint");
}

}  // namespace
