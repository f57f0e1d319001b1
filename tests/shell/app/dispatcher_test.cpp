#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "platform/messages.h"
#include "gui/commands.h"
#include "shell/app/registrations.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"
#include "tests/rom/rom_support.h"

namespace {

// A table of Open, About and Exit as the application registers them, in a
// sandbox that records boxes and sounds; each command also notes its number when it runs.
class Dispatcher : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterOpenAboutExit();
    const auto registered = Commands().handlers;  // a copy: the loop replaces each entry
    for (const auto& [id, handler] : registered) {
      RegisterCommand(id, {[this, id = id, run = handler.run] {
                             char text[16];
                             std::snprintf(text, sizeof text, "command %04X", id);
                             log.events.push_back(text);
                             run();
                           },
                           handler.available, handler.checked});
    }
  }

  Installed<CommandTable> commands_;
  EventLog log;
  OpenSandbox sandbox{log};
};

// Every command the menus and toolbars carry besides Open, About and Exit: a
// number with nothing registered only plays the command sound from a menu.
const unsigned short kNoOps[] = {
    0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0007, 0x0100, 0x0101, 0x0102, 0x0103, 0x0104, 0x0105, 0x0106, 0x0107,
    0x0200, 0x0201, 0x0202, 0x0203, 0x0204, 0x0205, 0x0206, 0x0207, 0x0208, 0x0209, 0x020A, 0x020B, 0x0300,
    0x0301, 0x0302, 0x0303, 0x0304, 0x0305, 0x0306, 0x0307, 0x0308, 0x0309, 0x030A, 0x030B, 0x5100, 0x5101, 0x5102,
    0x5103, 0x5104, 0x5105, 0x5200, 0x5201, 0x5202, 0x5203, 0x5204, 0x5205, 0x5206, 0x5300, 0x5301, 0x5302, 0x5303, 0x5304, 0xFF00, 0xFF01, 0xFF02,
    0xFF03, 0xFF04, 0xFF05, 0xFE00, 0xFE01, 0xFE02, 0xFE03, 0xFE04, 0xFE05, 0xF001, 0xF002, 0xF003,
};

TEST_F(Dispatcher, NoOpCommandsOnlyPlayTheirSoundFromMenus) {
  ENGINE_STATE = 1;
  for (unsigned short id : kNoOps) {
    for (bool sound : {true, false}) {
      log.events.clear();
      AppMenuExecuteItem(id, sound);
      std::vector<std::string> expected;
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
  EXPECT_EQ(log.events, (std::vector<std::string>{"sound MenuCommand wait", "command FFFF"}));
  PlatformMessage m;
  ASSERT_TRUE(PlatformPeekMessage(m));
  EXPECT_EQ(m.message, PLATFORM_MSG_CLOSE);
  EXPECT_FALSE(PlatformPeekMessage(m));
}

TEST_F(Dispatcher, ExitFromTheToolbarIsSilent) {
  AppMenuExecuteItem(0xFFFF, false);
  EXPECT_EQ(log.events, (std::vector<std::string>{"command FFFF"}));
  PlatformMessage m;
  ASSERT_TRUE(PlatformPeekMessage(m));
  EXPECT_EQ(m.message, PLATFORM_MSG_CLOSE);
}

TEST_F(Dispatcher, AboutShowsNameAndVersion) {
  AppMenuExecuteItem(0xF000, true);
  EXPECT_EQ(log.events,
            (std::vector<std::string>{"sound MenuCommand async", "command F000", "box about About QBRRE"}));
  ASSERT_EQ(log.boxes.size(), 1u);
  EXPECT_EQ(log.boxes[0].kind, BoxKind::About);
  EXPECT_EQ(log.boxes[0].text, mGetVersion());
}

TEST_F(Dispatcher, OpenFromTheMenuPlaysTheSoundBeforeTheDialog) {
  log.answers.push_back("");
  AppMenuExecuteItem(0x0000, true);
  EXPECT_EQ(log.events, (std::vector<std::string>{"sound MenuCommand async", "command 0000",
                                                  "box open Open QBR image...", "box error Notice"}));
}

}  // namespace
