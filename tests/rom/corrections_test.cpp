#include "rom/image_install.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <utility>

namespace {

// The end of the bank that holds every correction: one past the highest offset.
constexpr std::size_t kFullSize = 0x3CA7E6;

// The seventeen display corrections, written out as the program must store them.
struct Row {
  std::size_t offset;
  unsigned char value;
};
constexpr Row kCorrections[] = {
    {0x3C95F2, 0x40}, {0x3C983A, 0x80}, {0x3C983B, 0xAB}, {0x3C9A17, 0x48}, {0x3C9C62, 0x00}, {0x3C9C63, 0x39},
    {0x3C9DE8, 0x80}, {0x3C9EF6, 0x80}, {0x3CA00C, 0x00}, {0x3CA00D, 0x5A}, {0x3CA10A, 0x00}, {0x3CA10B, 0x90},
    {0x3CA208, 0x00}, {0x3CA209, 0x96}, {0x3CA61A, 0x00}, {0x3CA7E3, 0x04}, {0x3CA7E5, 0x31},
};

TEST(Corrections, FullImageGetsAllSeventeenAndNothingElse) {
  // Two fillers, so that a correction storing either value still shows as written.
  for (unsigned char filler : {0x00, 0xEE}) {
    std::vector<unsigned char> image(kFullSize + 16, filler);
    EXPECT_EQ(ApplyQBR1Corrections(image), 17u);
    std::vector<unsigned char> want(kFullSize + 16, filler);
    for (const Row& r : kCorrections) want[r.offset] = r.value;
    for (std::size_t i = 0; i < image.size(); ++i)
      if (image[i] != want[i])
        ADD_FAILURE() << std::hex << "byte " << i << " is " << int(image[i]) << ", not " << int(want[i]);
  }
  // The program's own table holds the same rows (Open and the demo apply it).
  ASSERT_EQ(std::size(QBR1Corrections), std::size(kCorrections));
  std::set<std::pair<unsigned long, unsigned>> table, rows;
  for (const QBR1Correction& c : QBR1Corrections) table.insert({c.offset, c.value});
  for (const Row& r : kCorrections) rows.insert({r.offset, r.value});
  EXPECT_EQ(table, rows);
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
