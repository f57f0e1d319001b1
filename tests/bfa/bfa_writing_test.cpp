// Bit-stream writing: appending a byte at a time, overwriting in place, padding and texts read back.
#include "tests/bfa/bfa_fixture.h"

TEST_F(BfaTest, WritingAtTheEndAppendsAByteAtATime) {
  Channel(0x01, 1, {});
  EXPECT_TRUE(BFA_set_int(0xA, 4));
  EXPECT_EQ(BFA_FileBuffer[1], Bytes({0xA0}));
  EXPECT_EQ(BFA_GetWrte(), 4u);
  EXPECT_TRUE(BFA_set_int(0x5F, 8));
  EXPECT_EQ(BFA_FileBuffer[1], Bytes({0xA5, 0xF0}));
  EXPECT_EQ(BFA_GetWrte(), 12u);
  EXPECT_TRUE(BFA_set_last(true));
  EXPECT_EQ(BFA_FileBuffer[1], Bytes({0xA5, 0xFF}));
  EXPECT_EQ(BFA_GetWrte(), 16u);
  EXPECT_TRUE(BFA_set_last(true));
  EXPECT_EQ(BFA_FileBuffer[1].size(), 2u);
  EXPECT_EQ(BFA_GetWrte(), 16u);
  EXPECT_TRUE(BFA_set_int(0xFFFFFFFFul, 0));
  EXPECT_EQ(BFA_FileBuffer[1].size(), 2u);
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(BfaTest, WritingInsideOverwritesInPlaceAndNeverGrows) {
  Channel(0x01, 1, Bytes({0x00, 0xFF, 0x0F}));
  BFA_SetWrte(4);
  EXPECT_TRUE(BFA_set_bits(3, true));
  EXPECT_TRUE(BFA_set_bool(0));
  EXPECT_TRUE(BFA_set_bool(2));  // bit 0 of 2 is 0
  EXPECT_EQ(BFA_FileBuffer[1], Bytes({0x0E, 0x7F, 0x0F}));
  BFA_SetWrte(23);
  EXPECT_TRUE(BFA_set_bool(0));  // the last bit of the last byte: no byte appended
  EXPECT_EQ(BFA_FileBuffer[1], Bytes({0x0E, 0x7F, 0x0E}));
  EXPECT_EQ(BFA_GetWrte(), 24u);
  EXPECT_TRUE(BFA_set_int(0x1234, 16));  // at the end: appends
  EXPECT_EQ(BFA_FileBuffer[1], Bytes({0x0E, 0x7F, 0x0E, 0x12, 0x34}));
}

TEST_F(BfaTest, TextsWrittenInSixAndEightBitCodesReadBack) {
  Channel(0x01, 1, {});
  EXPECT_TRUE(BFA_set_str("Aa 0", 6));
  EXPECT_EQ(BFA_GetWrte(), 30u);
  EXPECT_EQ(BFA_FileBuffer[1], Bytes({0x32, 0x62, 0xC1, 0x00}));
  EXPECT_TRUE(BFA_set_last(false));
  EXPECT_TRUE(BFA_set_str("a-b", 6));
  EXPECT_TRUE(BFA_set_str("AB", 8));
  EXPECT_EQ(BFA_GetRead(), 0u);
  EXPECT_EQ(BFA_get_str(6), "Aa 0");
  BFA_SetRead(32);
  EXPECT_EQ(BFA_get_str(6), "a b");
  EXPECT_EQ(BFA_get_str(8), "AB");
  const std::vector<char>& buffer = BFA_FileBuffer[1];
  EXPECT_EQ(std::vector<char>(buffer.end() - 3, buffer.end()), Bytes({0x41, 0x42, 0x00}));
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(BfaTest, EveryByteValueSurvivesTheSixBitTable) {
  for (int byte = 1; byte < 256; ++byte) {
    const unsigned code = BFA_8to6_bitstr_conversion_table[byte];
    const char expected = std::isalnum(byte) ? static_cast<char>(byte) : ' ';
    EXPECT_EQ(BFA_6to8_bitstr_conversion_table[code], expected) << byte;
  }
  EXPECT_EQ(BFA_8to6_bitstr_conversion_table[0], 0);
}

TEST_F(BfaTest, RefusedWritesChangeNeitherBufferNorPosition) {
  const std::vector<char> original = Bytes({0x12, 0x34});
  struct Case {
    const char* what;
    int mode;
    bool (*write)();
    bool message;
  };
  const Case cases[] = {
      {"mode 0", 0, [] { return BFA_set_int(1, 4); }, true},
      {"6-bit text in mode 0", 0, [] { return BFA_set_str("x", 6); }, true},
      {"bad char size", 1, [] { return BFA_set_str("x", 7); }, true},
      {"null text", 1, [] { return BFA_set_str(nullptr, 8); }, false},
      {"negative count", 1, [] { return BFA_set_bits(-1, true); }, false},
      {"count above 32", 1, [] { return BFA_set_int(1, 33); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    boxes_.clear();
    Channel(0x01, c.mode, original);
    BFA_WrtePos[1] = 16;
    EXPECT_FALSE(c.write());
    EXPECT_EQ(BFA_FileBuffer[1], original);
    EXPECT_EQ(BFA_GetWrte(), 16u);
    EXPECT_EQ(boxes_.size(), c.message ? 1u : 0u);
  }
}

// Loading keeps the positions, so a shorter file can leave the write position past the end: refused.
TEST_F(BfaTest, WritePositionLeftPastTheEndByALoadIsRefused) {
  const std::string path = Scratch("short.bin");
  WriteFileBytes(path, Bytes({0x01}));
  Channel(0x01, 1, std::vector<char>(16));
  BFA_SetWrte(128);
  ASSERT_TRUE(BFA_Load(path.c_str()));
  EXPECT_FALSE(BFA_set_bool(1));
  EXPECT_FALSE(BFA_set_last(true));
  EXPECT_EQ(BFA_FileBuffer[1], Bytes({0x01}));
  EXPECT_EQ(BFA_GetWrte(), 128u);
}
