// Activation, the channel stack, switching, the mode table and the position rules.
#include "tests/bfa/bfa_fixture.h"

TEST_F(BfaTest, ActivatingFromAnInactiveChannelPushesNothing) {
  BFA_Activate(0x10, 1);
  EXPECT_TRUE(BFA_PreviousFileID.empty());
  EXPECT_EQ(BFA_ChanID, 0x10);
  EXPECT_EQ(BFA, &QBR1);
  BFA_Disable(0x10);
  // Nothing to pop: 0x10 stays the current number although it is no longer activated.
  EXPECT_EQ(BFA_ChanID, 0x10);
  BFA_get_int(8);
  const DialogRecord box = OnlyBox();
  EXPECT_EQ(box.text, "Could not read from the buffer.\nBFAR channel 0x10 has not been activated.");
}

TEST_F(BfaTest, ReactivatingTheCurrentChannelPushesItAndEmptiesIt) {
  BFA_Activate(0x10, 1);
  QBR1 = {1, 2, 3};
  BFA_ReadPos[0x10] = 9;
  BFA_WrtePos[0x10] = 17;
  BFA_OpenedCRC32[0x10] = 0x1234;
  BFA_Activate(0x10, 0);
  EXPECT_EQ(BFA_PreviousFileID, std::vector<unsigned char>{0x10});
  EXPECT_TRUE(QBR1.empty());
  EXPECT_EQ(BFA_ReadPos[0x10], 0u);
  EXPECT_EQ(BFA_WrtePos[0x10], 0u);
  EXPECT_EQ(BFA_OpenedCRC32[0x10], 0u);
  EXPECT_EQ(BFA_GetStatus(0x10), 1);
  BFA_Disable(0x10);
  EXPECT_TRUE(BFA_PreviousFileID.empty());
  EXPECT_EQ(BFA_ChanID, 0x10);
  EXPECT_FALSE(BFA_IsActive(0x10));
}

TEST_F(BfaTest, ActivatingChannelZeroAtStartPushesIt) {
  BFA_Activate(0x00, 0);
  EXPECT_EQ(BFA_PreviousFileID, std::vector<unsigned char>{0x00});
}

TEST_F(BfaTest, DisableReturnsToThePushedChannelEvenAfterSwitchAndStaleEntries) {
  BFA_Activate(0x01, 1);
  BFA_Activate(0x02, 1);
  BFA_Activate(0x03, 1);
  EXPECT_EQ(BFA_PreviousFileID, (std::vector<unsigned char>{0x01, 0x02}));
  BFA_Switch(0x01);
  EXPECT_EQ(BFA_ChanID, 0x01);
  EXPECT_EQ(BFA, &BFA_FileBuffer[0x03]);  // switching does not move BFA
  EXPECT_TRUE(boxes_.empty());
  BFA_Disable(0x02);  // pops 0x02 itself, which is now inactive, and makes it current
  EXPECT_EQ(BFA_ChanID, 0x02);
  EXPECT_EQ(BFA, &BFA_FileBuffer[0x02]);
  EXPECT_TRUE(BFA_IsActive(0x03));
  BFA_Disable(0x03);
  EXPECT_EQ(BFA_ChanID, 0x01);
  EXPECT_TRUE(BFA_PreviousFileID.empty());
}

TEST_F(BfaTest, ResetAllRestoresTheStartUpState) {
  BFA_Activate(0x01, 1);
  BFA_Activate(0x10, 3);
  QBR1 = {1, 2, 3};
  BFA_ReadPos[0x10] = 9;
  BFA_WrtePos[0x10] = 17;
  BFA_OpenedCRC32[0x10] = 0x1234;
  BFA_ResetAll();
  EXPECT_EQ(BFA_ChanID, 0);
  EXPECT_EQ(BFA, &BFA_FileBuffer[0]);
  EXPECT_TRUE(BFA_PreviousFileID.empty());
  for (int id = 0; id < BFA_CHANNEL_COUNT; ++id) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(BFA_IsActive(id));
    EXPECT_TRUE(BFA_FileBuffer[id].empty());
    EXPECT_EQ(BFA_ReadPos[id], 0u);
    EXPECT_EQ(BFA_WrtePos[id], 0u);
    EXPECT_EQ(BFA_OpenedCRC32[id], 0u);
  }
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(BfaTest, RefusedChannelNumbersAndModesChangeNothing) {
  BFA_Activate(0x04, 1);
  BFA_FileBuffer[0x04] = {7};
  const auto calls = {+[] { BFA_Activate(0x13, 0); }, +[] { BFA_Activate(-1, 0); }, +[] { BFA_Disable(0x13); },
                      +[] { BFA_Switch(0x13); },      +[] { BFA_Switch(0x05); },    +[] { BFA_Activate(0x05, 4); },
                      +[] { BFA_Activate(0x05, -1); }};
  for (auto call : calls) call();
  EXPECT_EQ(boxes_.size(), 5u);  // the two refused modes are silent
  EXPECT_EQ(BFA_ChanID, 0x04);
  EXPECT_TRUE(BFA_PreviousFileID.empty());
  EXPECT_EQ(BFA_FileBuffer[0x04], std::vector<char>{7});
  for (int id = 0; id < BFA_CHANNEL_COUNT; ++id) EXPECT_EQ(BFA_GetStatus(id), id == 0x04 ? 2 : 0) << id;
}

TEST_F(BfaTest, ModeTableGivesStatusAndPermissions) {
  struct Case {
    int mode;
    int status;
    bool load, save, read, write;
  };
  const Case cases[] = {{0, 1, true, false, true, false},
                        {1, 2, true, true, true, true},
                        {2, 3, false, true, false, true},
                        {3, 4, false, true, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    BFA_Activate(0x08, c.mode);
    EXPECT_EQ(BFA_GetStatus(0x08), c.status);
    EXPECT_TRUE(BFA_IsActive(0x08));
    EXPECT_EQ(BFA_canloadfiles(0x08), c.load);
    EXPECT_EQ(BFA_cansavefiles(0x08), c.save);
    EXPECT_EQ(BFA_canreadfiles(0x08), c.read);
    EXPECT_EQ(BFA_canwritefiles(0x08), c.write);
  }
  for (int id : {0x09, -1, 0x13, 1000}) {
    EXPECT_EQ(BFA_GetStatus(id), 0);
    EXPECT_FALSE(BFA_IsActive(id) || BFA_canloadfiles(id) || BFA_cansavefiles(id) || BFA_canreadfiles(id) ||
                 BFA_canwritefiles(id));
  }
}

TEST_F(BfaTest, PositionsStayWithinTheBuffer) {
  Channel(0x01, 1, {1, 2, 3, 4});
  BFA_SetRead(31);
  EXPECT_EQ(BFA_GetRead(), 31u);
  BFA_SetRead(32);
  EXPECT_EQ(BFA_GetRead(), 31u);
  BFA_SetWrte(32);
  EXPECT_EQ(BFA_GetWrte(), 32u);
  BFA_SetWrte(33);
  EXPECT_EQ(BFA_GetWrte(), 32u);
  EXPECT_EQ(BFA_GetSize(), 4u);
  EXPECT_EQ(boxes_.size(), 2u);
}

TEST_F(BfaTest, EmptyBufferAcceptsOnlyWritePositionZero) {
  Channel(0x01, 1, {});
  BFA_SetRead(0);
  BFA_SetWrte(0);
  BFA_SetWrte(1);
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[0].title, "SetRead Operation Failed");
  EXPECT_EQ(boxes_[1].title, "SetWrte Operation Failed");
  EXPECT_EQ(BFA_GetWrte(), 0u);
}

TEST_F(BfaTest, IsAtEndMeansTheReadPositionIsInTheFirstBytePastTheEnd) {
  Channel(0x01, 1, {1, 2, 3, 4});
  const struct {
    bitcounter pos;
    bool atEnd;
  } cases[] = {{0, false}, {31, false}, {32, true}, {39, true}, {40, false}};
  for (const auto& c : cases) {
    BFA_ReadPos[0x01] = c.pos;
    EXPECT_EQ(BFA_IsAtEnd(), c.atEnd) << c.pos;
  }
}
