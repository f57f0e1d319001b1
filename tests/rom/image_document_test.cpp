#include "rom/image_document.h"

#include <gtest/gtest.h>

#include <vector>

#include "rom/image_transaction.h"

// The document holds all its state itself: two documents over two images keep
// their files, histories, saved positions and generations apart.

namespace {

using Bytes = std::vector<unsigned char>;

Bytes AsBytes(const std::vector<char>& image) { return Bytes(image.begin(), image.end()); }

TEST(ImageDocument, TwoDocumentsKeepTheirHistoriesApart) {
  std::vector<char> image_a(16, 0), image_b(8, 5);
  ImageDocument a(image_a), b(image_b);
  Bytes file_a(512 + 16, 0);
  file_a[0] = 0x77;  // the copier header
  a.Reset(file_a, 512);
  b.Reset(Bytes(8, 5), 0);

  const unsigned char one = 1, two = 2;
  {
    ImageTransaction paint(a, "Paint 1 tile", 4);
    ASSERT_TRUE(a.Write(3, &one, 1));
    paint.Commit();
  }
  EXPECT_FALSE(b.Write(8, &two, 1)) << "outside b's 8 bytes, though inside a's";
  ASSERT_TRUE(b.Write(7, &two, 1));
  b.MarkSaved();

  EXPECT_EQ(a.UndoLabel(), "Paint 1 tile");
  EXPECT_EQ(b.UndoLabel(), ImageDocument::kDefaultLabel);
  EXPECT_TRUE(a.HasUnsavedEdits());
  EXPECT_FALSE(b.HasUnsavedEdits());
  EXPECT_EQ(a.SavedFileBytes()[0], 0x77);
  EXPECT_EQ(a.SavedFileBytes()[512 + 3], 1);
  EXPECT_EQ(b.SavedFileBytes(), (Bytes{5, 5, 5, 5, 5, 5, 5, 2}));

  const unsigned long long b_generation = b.Generation();
  EditStepInfo step;
  ASSERT_TRUE(a.Undo(&step));
  EXPECT_EQ(step.level, 4);
  EXPECT_EQ(AsBytes(image_a), Bytes(16, 0));
  EXPECT_EQ(AsBytes(image_b), (Bytes{5, 5, 5, 5, 5, 5, 5, 2}));
  EXPECT_EQ(b.Generation(), b_generation);
  EXPECT_EQ(b.UndoCount(), 1u);
  EXPECT_EQ(a.RedoCount(), 1u);
}

}  // namespace
