#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "platform/messages.h"
#include "rom/AppMenu.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"
#include "tests/rom/rom_support.h"

#define crc32 zlib_crc32
#include <zlib.h>
#undef crc32

namespace {

class Dispatcher : public ::testing::Test {
 protected:
  EventLog log;
  OpenSandbox sandbox{log};
};

// Every command the menus and toolbars carry besides Open, About and Exit.
const unsigned short kNoOps[] = {
    0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0100, 0x0101, 0x0102, 0x0103, 0x0104, 0x0105, 0x0106, 0x0107,
    0x0200, 0x0201, 0x0202, 0x0203, 0x0204, 0x0205, 0x0206, 0x0207, 0x0208, 0x0209, 0x020A, 0x020B, 0x0300,
    0x0301, 0x0302, 0x0303, 0x0304, 0x0305, 0x0306, 0x0307, 0x0308, 0x0309, 0x030A, 0x5100, 0x5101, 0x5102,
    0x5103, 0x5104, 0x5105, 0x5200, 0x5201, 0x5202, 0x5203, 0x5204, 0x5205, 0x5206, 0xFF00, 0xFF01, 0xFF02,
    0xFF03, 0xFF04, 0xFF05, 0xFE00, 0xFE01, 0xFE02, 0xFE03, 0xFE04, 0xFE05, 0xF001, 0xF002, 0xF003,
};

TEST_F(Dispatcher, NoOpCommandsOnlyPlayTheirSoundFromMenus) {
  ENGINE_STATE = 1;
  for (unsigned short id : kNoOps) {
    for (bool sound : {true, false}) {
      log.events.clear();
      AppMenuExecuteItem(id, sound);
      char command[32];
      std::snprintf(command, sizeof command, "command %04X %s", id, sound ? "sound" : "silent");
      std::vector<std::string> expected{command};
      if (sound) expected.push_back("sound MenuCommand async");
      EXPECT_EQ(log.events, expected);
      EXPECT_EQ(ENGINE_STATE, 1u);
      EXPECT_FALSE(STATEOVER);
      EXPECT_FALSE(BFA_IsActive(0x10));
      PlatformMessage m;
      EXPECT_FALSE(PlatformPeekMessage(m)) << std::hex << id;
    }
  }
}

TEST_F(Dispatcher, ExitFromTheMenuPlaysItsSoundToTheEndThenAsksToClose) {
  AppMenuExecuteItem(0xFFFF, true);
  EXPECT_EQ(log.events, (std::vector<std::string>{"command FFFF sound", "sound MenuCommand wait"}));
  PlatformMessage m;
  ASSERT_TRUE(PlatformPeekMessage(m));
  EXPECT_EQ(m.message, PLATFORM_MSG_CLOSE);
  EXPECT_FALSE(PlatformPeekMessage(m));
}

TEST_F(Dispatcher, ExitFromTheToolbarIsSilent) {
  AppMenuExecuteItem(0xFFFF, false);
  EXPECT_EQ(log.events, (std::vector<std::string>{"command FFFF silent"}));
  PlatformMessage m;
  ASSERT_TRUE(PlatformPeekMessage(m));
  EXPECT_EQ(m.message, PLATFORM_MSG_CLOSE);
}

TEST_F(Dispatcher, AboutShowsNameAndVersion) {
  AppMenuExecuteItem(0xF000, true);
  EXPECT_EQ(log.events,
            (std::vector<std::string>{"command F000 sound", "sound MenuCommand async", "box about About QBRRE"}));
  ASSERT_EQ(log.boxes.size(), 1u);
  EXPECT_EQ(log.boxes[0].kind, BoxKind::About);
  EXPECT_EQ(log.boxes[0].text, mGetVersion());
}

TEST_F(Dispatcher, OpenFromTheMenuPlaysTheSoundBeforeTheDialog) {
  log.answers.push_back("");
  AppMenuExecuteItem(0x0000, true);
  EXPECT_EQ(log.events, (std::vector<std::string>{"command 0000 sound", "sound MenuCommand async",
                                                  "box open Open QBR image...", "box error Notice"}));
}

TEST(ImageWithCrc, ForgedTailGivesTheAskedChecksum) {
  for (unsigned long crc : {0xC946DCA0ul, 0x00000000ul, 0xFFFFFFFFul, 0x12345678ul}) {
    for (std::size_t size : {std::size_t{4}, std::size_t{5}, std::size_t{4096}}) {
      const std::vector<char> bytes = ImageWithCrc(size, crc);
      EXPECT_EQ(crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()), crc) << size;
    }
  }
}

}  // namespace
