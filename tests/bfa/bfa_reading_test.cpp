// Bit-stream reading: bit order, byte orders, texts, skips, and what a read running off the buffer yields.
#include "tests/bfa/bfa_fixture.h"

TEST_F(BfaTest, IntegersReadMostSignificantBitFirst) {
  Channel(0x01, 0, Bytes({0xA5, 0x0F}));
  EXPECT_EQ(BFA_get_int(4), 0xAu);
  EXPECT_EQ(BFA_get_int(8), 0x50u);
  EXPECT_EQ(BFA_get_int(4), 0xFu);
  EXPECT_EQ(BFA_GetRead(), 16u);
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(BFA_get_int(1), 0u);
  EXPECT_EQ(OnlyBox().title, "Read Operation Failed");
  EXPECT_EQ(BFA_GetRead(), 16u);
}

TEST_F(BfaTest, IntegerWidthIsClampedToOneThroughThirtyTwo) {
  Channel(0x01, 0, Bytes({0xDE, 0xAD, 0xBE, 0xEF, 0x99}));
  EXPECT_EQ(BFA_get_int(0), 1u);
  EXPECT_EQ(BFA_GetRead(), 1u);
  BFA_SetRead(0);
  EXPECT_EQ(BFA_get_int(40), 0xDEADBEEFu);
  EXPECT_EQ(BFA_GetRead(), 32u);
  BFA_SetRead(0);
  EXPECT_EQ(BFA_get_int(16), 0xDEADu);
  EXPECT_TRUE(BFA_get_bool());
  EXPECT_FALSE(BFA_get_bool());
}

TEST_F(BfaTest, BytesReadInBothOrdersWithoutSignSpill) {
  Channel(0x01, 0, Bytes({0x12, 0x80, 0xFF, 0x01}));
  EXPECT_EQ(BFA_get_bytes(2), 0x1280u);
  BFA_SetRead(0);
  EXPECT_EQ(BFA_get_Zbytes(2), 0x8012u);
  BFA_SetRead(8);
  EXPECT_EQ(BFA_get_Zbytes(3), 0x01FF80u);
  EXPECT_EQ(BFA_GetRead(), 32u);
  BFA_SetRead(3);  // whole bytes from the byte holding the position; the offset within the byte is kept
  EXPECT_EQ(BFA_get_bytes(4), 0x1280FF01u);
  EXPECT_EQ(BFA_GetRead(), 35u);
  BFA_SetRead(8);
  EXPECT_EQ(BFA_get_bytes(0), 0u);
  EXPECT_EQ(BFA_GetRead(), 8u);
  EXPECT_EQ(BFA_get_bytes(5), 0u);  // counts above 4 are refused
  EXPECT_EQ(BFA_GetRead(), 8u);
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(BfaTest, TextsInSixAndEightBitCodes) {
  // 6-bit codes 12, 38, 11, 1, 0 packed MSB first: 001100 100110 001011 000001 000000 + 2 spare bits.
  Channel(0x01, 0, Bytes({0x32, 0x62, 0xC1, 0x00, 0xFF}));
  EXPECT_EQ(BFA_get_str(6), "Aa 0");
  EXPECT_EQ(BFA_GetRead(), 30u);
  Channel(0x02, 0, Bytes({0x41, 0x42, 0x00, 0x43}));
  EXPECT_EQ(BFA_get_str(8), "AB");
  EXPECT_EQ(BFA_GetRead(), 24u);
  EXPECT_EQ(BFA_get_str(7), "");
  EXPECT_EQ(OnlyBox().title, "7-bit Characters Unsupported");
  EXPECT_EQ(BFA_GetRead(), 24u);
}

TEST_F(BfaTest, SkippingMovesBothWaysAndRefusesWrappingBelowZero) {
  Channel(0x01, 0, Bytes({0, 0, 0}));
  BFA_SetRead(16);
  BFA_get_bits(-8);
  EXPECT_EQ(BFA_GetRead(), 8u);
  BFA_get_bits(15);
  EXPECT_EQ(BFA_GetRead(), 23u);
  BFA_get_bits(1);
  EXPECT_EQ(OnlyBox().text.substr(0, 41), "Could not set the buffer's read position.");
  BFA_SetRead(4);
  BFA_get_bits(-8);
  EXPECT_NE(OnlyBox().text.find("SetRead Position:\t0xFFFFFFFC"), std::string::npos);
  EXPECT_EQ(BFA_GetRead(), 4u);
}

TEST_F(BfaTest, SkippingOnAnEmptyBufferIsRefused) {
  Channel(0x01, 0, {});
  BFA_get_bits(0);
  EXPECT_EQ(OnlyBox().title, "BFA_get_bits Operation Failed");
  EXPECT_EQ(BFA_GetRead(), 0u);
}

TEST_F(BfaTest, GetLastChecksUpToButNotIncludingTheBytesLastBit) {
  struct Case {
    int byte;
    bitcounter start;
    bool verify;
    bool result;
    bitcounter end;
  };
  const Case cases[] = {
      {0x01, 0, false, true, 7},                              // seven zeros passed, stops on the unread 1
      {0x40, 0, false, false, 1},                             // stops on the differing bit
      {0xFE, 0, true, true, 7},   {0xFF, 7, false, true, 7},  // from the last bit nothing is checked
      {0xF0, 4, false, true, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.byte);
    Channel(0x01, 0, Bytes({c.byte}));
    BFA_SetRead(c.start);
    EXPECT_EQ(BFA_get_last(c.verify), c.result);
    EXPECT_EQ(BFA_GetRead(), c.end);
  }
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(BfaTest, PointerTableJumpTranslatesConsoleAddresses) {
  std::vector<char> image(0x20000);
  image[0x12] = 0x34;
  image[0x13] = 0x12;
  Channel(0x10, 0, image);
  EXPECT_TRUE(BFA_SetRead_Zptr2(0xC00010, 1, 0xC10000));
  EXPECT_EQ(BFA_GetRead(), (0x1234u + 0x10000u) * 8);
  EXPECT_TRUE(BFA_SetRead_Zptr2(0x10, 1, 0));
  EXPECT_EQ(BFA_GetRead(), 0x1234u * 8);
  // A table outside the image: refused, the read position left on the table.
  EXPECT_FALSE(BFA_SetRead_Zptr2(0xC20000, 0, 0));
  EXPECT_EQ(OnlyBox().title, "Read Operation Failed");
  EXPECT_EQ(BFA_GetRead(), 0x20000u * 8);
}

// Reads that start inside the buffer and run past its end: the missing bits are 0, the position advances.
TEST_F(BfaTest, BitsPastTheEndReadAsZeroAndThePositionAdvances) {
  Channel(0x01, 0, Bytes({0xFF, 0xAB}));
  BFA_SetRead(12);
  EXPECT_EQ(BFA_get_int(8), 0xB0u);
  EXPECT_EQ(BFA_GetRead(), 20u);
  BFA_SetRead(15);
  EXPECT_EQ(BFA_get_int(32), 0x80000000u);
  BFA_SetRead(8);
  EXPECT_EQ(BFA_get_bytes(4), 0xAB000000u);
  EXPECT_EQ(BFA_GetRead(), 40u);
  BFA_SetRead(8);
  EXPECT_EQ(BFA_get_Zbytes(3), 0xABu);
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(BFA_get_int(1), 0u);  // the next read starts past the end: refused
  EXPECT_EQ(OnlyBox().title, "Read Operation Failed");
}

TEST_F(BfaTest, UnterminatedTextStopsAtTheEndOfTheBuffer) {
  Channel(0x01, 0, std::vector<char>(100, 'x'));
  EXPECT_EQ(BFA_get_str(8), std::string(100, 'x'));
  EXPECT_EQ(BFA_GetRead(), 808u);  // one all-zero code past the end
  // 6-bit: 8 bytes of ones are ten codes 63 ("z") and four bits; the last code is 1111 + 00 = 60 ("w").
  Channel(0x02, 0, std::vector<char>(8, static_cast<char>(0xFF)));
  EXPECT_EQ(BFA_get_str(6), "zzzzzzzzzzw");
  EXPECT_EQ(BFA_GetRead(), 72u);
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(BfaTest, PointerEntryPastTheEndReadsAsZero) {
  Channel(0x10, 0, Bytes({0x00, 0x00, 0x00, 0x34}));
  EXPECT_TRUE(BFA_SetRead_Zptr2(2, 0, 0x100));  // bytes 2 and 3: pointer 0x3400
  EXPECT_EQ(BFA_GetRead(), 0x3500u * 8);
  EXPECT_TRUE(BFA_SetRead_Zptr2(3, 0, 0));  // byte 4 is missing: pointer 0x0034
  EXPECT_EQ(BFA_GetRead(), 0x34u * 8);
  EXPECT_TRUE(BFA_SetRead_Zptr2(0, 1000000, 0));  // far past the end
  EXPECT_EQ(BFA_GetRead(), 0u);
  EXPECT_TRUE(BFA_SetRead_Zptr2(2, -2, 7));  // before the start
  EXPECT_EQ(BFA_GetRead(), 7u * 8);
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(BfaTest, ReadsOnAnEmptyBufferAreAllRefused) {
  Channel(0x01, 0, {});
  BFA_get_int(1);
  BFA_get_bool();
  BFA_get_str(8);
  BFA_get_last(true);
  BFA_get_bytes(1);
  BFA_get_Zbytes(1);
  ASSERT_EQ(boxes_.size(), 6u);
  for (const DialogRecord& box : boxes_) EXPECT_EQ(box.title, "Read Operation Failed");
}
