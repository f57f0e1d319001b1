#include "rom/image_install.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The end of the bank that holds every correction: one past the highest offset.
constexpr std::size_t kFullSize = 0x3CA7E6;

TEST(Corrections, FullImageGetsAllSeventeenAndNothingElse) {
  std::vector<unsigned char> image(kFullSize + 16, 0xEE);
  EXPECT_EQ(ApplyQBR1Corrections(image), 17u);
  EXPECT_EQ(image[0x3C983B], 0xAB);
  EXPECT_EQ(image[0x3C95F2], 0x40);
  EXPECT_EQ(image[0x3CA7E5], 0x31);
  EXPECT_EQ(image[0x3CA7E4], 0xEE);  // between two corrected bytes

  std::set<unsigned long> offsets;
  for (const QBR1Correction& c : QBR1Corrections) offsets.insert(c.offset);
  std::size_t changed = 0;
  for (std::size_t i = 0; i < image.size(); ++i) {
    if (image[i] != 0xEE) {
      ++changed;
      EXPECT_TRUE(offsets.count(i)) << std::hex << i;
    }
  }
  // 0x3C9C62 and four others store 0x00; every correction differs from the filler.
  EXPECT_EQ(changed, 17u);
  EXPECT_EQ(offsets.size(), 17u);
}

TEST(Corrections, ShortImagesAreNeverWrittenPastTheirEnd) {
  struct Case {
    std::size_t size;
    std::size_t stored;
  };
  const Case cases[] = {
      {0, 0},          // empty channel
      {0x3C95F2, 0},   // ends right before the first correction
      {0x3C95F3, 1},   // holds exactly the first one
      {0x3C983B, 2},   // splits a pair of neighbouring bytes
      {0x3CA7E5, 16},  // all but the last
      {kFullSize, 17},
  };
  for (const Case& c : cases) {
    // Exactly sized: AddressSanitizer reports any store past the end.
    std::vector<unsigned char> image(c.size, 0x11);
    EXPECT_EQ(ApplyQBR1Corrections(image), c.stored) << std::hex << c.size;
  }
}

TEST(Corrections, CharBufferOverloadWritesTheSameBytes) {
  std::vector<char> image(kFullSize, 0);
  EXPECT_EQ(ApplyQBR1Corrections(image), 17u);
  EXPECT_EQ(static_cast<unsigned char>(image[0x3C983A]), 0x80);
  EXPECT_EQ(static_cast<unsigned char>(image[0x3CA209]), 0x96);
}

}  // namespace
