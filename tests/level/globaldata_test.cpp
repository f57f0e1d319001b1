#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/config_lock.h"
#include "platform/dialogs.h"
#include "rom/globaldata.h"
#include "rom/settings_store.h"
#include "tests/level/level_support.h"

namespace {

namespace fs = std::filesystem;

// A scratch working directory with the boxes answered by `answer` and recorded.
class LoadQBR1Test : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    PlatformUseScriptedDialogs([this](const DialogRecord& r) {
      boxes.push_back(r);
      return answer;
    });
  }
  void TearDown() override {
    PlatformUseDesktopDialogs();
    ScratchDirTest::TearDown();
  }
  static void Write(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }
  static std::string ReadFile(const fs::path& p) {
    std::stringstream s;
    s << std::ifstream(p).rdbuf();
    return s.str();
  }
  static globaldata Sentinel() {
    globaldata g;
    for (const GlobalOffsetKey& k : kGlobalOffsetKeys) g.*k.field = 0x5A5A;
    return g;
  }
  std::string answer = "no";
  std::vector<DialogRecord> boxes;
};

TEST_F(LoadQBR1Test, KnownImageWithoutConfigurationFilesGetsTheDefaults) {
  globaldata g = Sentinel();
  ASSERT_TRUE(LoadQBR1(0xC946DCA0, g));
  EXPECT_TRUE(boxes.empty());
  const unsigned long defaults[15] = {0x39801E, 0x390000, 0x380000, 0xA07A,   0xA1E2,   0x18B94,  0x3C0000, 0x8000,
                                      0x3D0000, 0x8000,   0x38B41D, 0x38C0E1, 0x3C0000, 0x39EB65, 0x3C86F2};
  for (int i = 0; i < 15; ++i) EXPECT_EQ(g.*kGlobalOffsetKeys[i].field, defaults[i]) << kGlobalOffsetKeys[i].key;
}

TEST_F(LoadQBR1Test, UnknownImageDeclinedChangesNothing) {
  globaldata g = Sentinel();
  EXPECT_FALSE(LoadQBR1(0x12345678, g));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, BoxKind::Question);
  EXPECT_EQ(boxes[0].title, "ROM Not Identifiable");
  EXPECT_EQ(boxes[0].text, unidmsg);
  for (const GlobalOffsetKey& k : kGlobalOffsetKeys) EXPECT_EQ(g.*k.field, 0x5A5Au) << k.key;
}

TEST_F(LoadQBR1Test, UnknownImageAcceptedReadsTheSameConfiguration) {
  Write("GameConfig/QBR v10U.INI", "[Global_Offsets]\nBananaPalette = 123456\n");
  answer = "yes";
  globaldata g = Sentinel();
  EXPECT_TRUE(LoadQBR1(0, g));
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(g.BananaPalette, 0x123456u);
  EXPECT_EQ(g.LvlCamTable, 0x8000u);
}

TEST_F(LoadQBR1Test, ProgramConfigurationWinsAndTakesEveryWrite) {
  Write("GameConfig/QBR v10U.INI", "[Global_Offsets]\nLevelStackPtrTable = 111111\nLevelNameBank = 222222\n");
  Write("Configuration.INI", "[Global_Offsets]\nLevelStackPtrTable = 333333\n");
  globaldata g;
  ASSERT_TRUE(LoadQBR1(0xC946DCA0, g));
  EXPECT_EQ(g.LvlStackTable, 0x333333u);
  EXPECT_EQ(g.LvlNameBank, 0x222222u);
  UseSettingsFileWrites(true);
  std::string error;
  EXPECT_TRUE(StoreSettings("LevelDisplay", {{"16", "00400020"}}, error)) << error;
  UseSettingsFileWrites(false);
  CloseGameConfig();
  EXPECT_NE(ReadFile("Configuration.INI").find("00400020"), std::string::npos);
  EXPECT_EQ(ReadFile("GameConfig/QBR v10U.INI").find("LevelDisplay"), std::string::npos);
  ConfigGuard guard;
  // Back on the program's own file: game keys are gone, its own remain.
  EXPECT_EQ(get_config_hex("Global_Offsets", "LevelNameBank", 7), 7);
  EXPECT_EQ(get_config_hex("Global_Offsets", "LevelStackPtrTable", 7), 0x333333);
}

TEST(UnidentifiedMessageTest, EightLinesWithTheFourthAndSeventhEmpty) {
  const std::vector<std::string> lines = SplitLines(unidmsg);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[2], "\"Quarbo (U) (V1.0) [!].smc\"");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[5], "with configuration \"QBRv10U.INI\"?");
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7], "[Warning, using an incorrect ROM or INI will cause QBRRE to crash.]");
}

TEST(ShippedGameConfigTest, HoldsTheDefaultOffsets) {
  ASSERT_TRUE(StartHeadlessAllegro());
  {
    ConfigGuard guard;
    set_config_file(QBRRE_SOURCE_DIR "/GameConfig/QBR v10U.INI");
  }
  globaldata g;
  ReadGlobalOffsets(g);
  for (const GlobalOffsetKey& k : kGlobalOffsetKeys) {
    ConfigGuard guard;
    // The file names every key itself: a default of 0 would show one that is missing.
    EXPECT_EQ(static_cast<unsigned long>(get_config_hex("Global_Offsets", k.key, 0)), k.fallback) << k.key;
  }
  ConfigGuard guard;
  set_config_data("", 0);
}

}  // namespace
