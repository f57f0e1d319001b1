#include "shell/app/demo_open.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "level/level_display.h"
#include "platform/config_lock.h"
#include "rom/AppMenu.h"
#include "rom/globaldata.h"
#include "rom/image_save.h"
#include "shell/app/headless_commands.h"
#include "platform/allegro_include.h"
#include "tests/rom/rom_support.h"

namespace fs = std::filesystem;

namespace {

std::string ShownList() {
  std::ostringstream out;
  QBR1_WriteLevelList(out);
  return out.str();
}

// A saved demo image remembers the demo's game configuration: in a folder whose game configuration
// describes other levels, it opens again, in the window and with --list, with the levels the demo
// showed.
TEST(DemoOpen, SavedDemoOpensAgainWithTheDemosConfiguration) {
  EventLog log;
  OpenSandbox sandbox(log);
  for (const char* name : {"QBR v10U.INI", "QBR Demo.INI"})
    fs::copy_file(fs::path(QBRRE_SOURCE_DIR) / "GameConfig" / name, sandbox.dir() / "GameConfig" / name);
  ASSERT_TRUE(OpenDemoImage());
  const std::string shown = ShownList();
  const fs::path path = sandbox.dir() / "saved demo.smc";
  log.answers = {path.string()};
  ASSERT_TRUE(SaveImageAs());
  // Save As wrote the entry of the saved image to the settings at once.
  CloseGameConfig();

  log.boxes.clear();
  log.answers = {path.string()};
  AppMenuOpenImage();
  ASSERT_EQ(log.boxes.size(), 2u);  // the file dialog and the notice: no identification question
  EXPECT_EQ(log.boxes[1].title, " IMPORTANT - READ THIS");
  EXPECT_EQ(ShownList(), shown);

  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunListCommand(path.string()), 0);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // known: no "not the supported image"
  EXPECT_EQ(out, shown);
}

}  // namespace
