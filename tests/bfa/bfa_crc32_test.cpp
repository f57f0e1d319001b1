// The library's own CRC-32 against zlib's on fixed vectors and random buffers of odd sizes.
#include "tests/bfa/bfa_fixture.h"

#include <random>

TEST_F(BfaTest, FixedVectorsMatchThePublishedChecksum) {
  struct Case {
    std::string bytes;
    std::uint32_t crc;
  };
  const Case cases[] = {{"", 0x00000000u},
                        {"a", 0xE8B7BE43u},
                        {"123456789", 0xCBF43926u},
                        {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
                        {std::string(32, '\xFF'), 0xFF6CAB0Bu}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(CharArray_Get_CRC32(c.bytes.data(), static_cast<int>(c.bytes.size())), c.crc);
    EXPECT_EQ(Vector_Get_CRC32(std::vector<char>(c.bytes.begin(), c.bytes.end())), c.crc);
    EXPECT_EQ(ZlibCrc32(c.bytes.data(), c.bytes.size()), c.crc);
  }
  EXPECT_EQ(CharArray_Get_CRC32(nullptr, 5), 0u);
  EXPECT_EQ(CharArray_Get_CRC32("abc", -1), 0u);
}

TEST_F(BfaTest, RandomBuffersOfOddSizesMatchZlib) {
  std::mt19937 rng(20261210);
  std::vector<char> data(4u << 20);
  for (char& c : data) c = static_cast<char>(rng());
  const std::size_t sizes[] = {1, 7, 8, 9, 15, 63, 255, 1021, 4097, 65537, 999999, (4u << 20) - 3, 4u << 20};
  for (std::size_t size : sizes) {
    // Unaligned starts too: the eight-byte steps must not depend on alignment.
    for (std::size_t offset : {std::size_t{0}, std::size_t{1}, std::size_t{3}}) {
      if (offset + size > data.size()) continue;
      SCOPED_TRACE(testing::Message() << size << " at +" << offset);
      EXPECT_EQ(CharArray_Get_CRC32(data.data() + offset, static_cast<int>(size)),
                ZlibCrc32(data.data() + offset, size));
    }
  }
}

TEST_F(BfaTest, ChannelCrcFollowsTheBufferAsItIsNow) {
  Channel(0x05, 1, {'1', '2', '3', '4', '5', '6', '7', '8', '9'});
  EXPECT_EQ(BFA_GetCRC32(), 0xCBF43926u);
  BFA_SetWrte(0);
  BFA_set_int('0', 8);
  EXPECT_EQ(BFA_GetCRC32(), ZlibCrc32("023456789", 9));
  EXPECT_EQ(BFA_OpenedCRC32[0x05], 0u);  // nothing was loaded
}

TEST_F(BfaTest, BitReversal) {
  struct Case {
    unsigned long data;
    int bits;
    unsigned long result;
  };
  const Case cases[] = {{0x1, 8, 0x80},        {0x3, 4, 0xC},    {0xFF, 0, 0},
                        {0x1, 32, 0x80000000}, {0xF0F0, 4, 0x0}, {0x12345678, 32, 0x1E6A2C48},
                        {0xFFFFFFFF, 3, 0x7},  {0x6, 3, 0x3}};
  for (const Case& c : cases) EXPECT_EQ(bitwise_rotafilp_int(c.data, c.bits), c.result) << c.data << "/" << c.bits;
}
