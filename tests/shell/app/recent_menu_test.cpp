#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "gui/MenuLoad.h"
#include "gui/MenuMain.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "platform/allegro_include.h"
#include "platform/config_lock.h"
#include "rom/settings_store.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "rom/image_transaction.h"
#include "rom/image_save.h"
#include "rom/recent_images.h"
#include "shell/app/recent_menu.h"
#include "shell/base/variables.h"
#include "tests/rom/rom_support.h"

namespace fs = std::filesystem;

namespace {

using List = std::vector<std::string>;

TEST(RecentEntryLabel, NumberThenThePathAsTheMenuFontCanShowIt) {
  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  struct Case {
    std::size_t index;
    std::string path;
    std::string want;
  };
  const std::vector<Case> cases = {
      {0, "/roms/game.smc", "1 /roms/game.smc"},
      {7, "/roms/Q's hack.smc", "8 /roms/Q`s hack.smc"},  // an apostrophe would end the menu's text
      {1, "/roms/caf\xC3\xA9.smc", "2 /roms/caf??.smc"},
      {2, "/a/very/long/folder/name/that/goes/on/and/on/for/ever/game.smc",
       "3 /a/very/long/folder/na...nd/on/for/ever/game.smc"},  // 48 characters of the path
  };
  for (const Case& c : cases) EXPECT_EQ(RecentEntryLabel(c.index, c.path), c.want) << c.path;
  if (home.size() > 1) {
    EXPECT_EQ(RecentEntryLabel(0, home + "/game.smc"), "1 ~/game.smc");
    EXPECT_EQ(RecentEntryLabel(0, home + "x/game.smc"), "1 " + home + "x/game.smc");  // another folder
  }
  EXPECT_EQ(RecentMenuText({}), "");
  EXPECT_EQ(RecentMenuText({"/a.smc", "/b.smc"}), "[-][$0010 Y -- - - '1 /a.smc'][$0011 Y -- - - '2 /b.smc']");
}

// The application's recent images in a sandbox whose Configuration.INI lists a gone file and an
// image that is there; the File menu of the start-up screen shows them.
class RecentMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterRecentImages();
    for (int i = 0; i < 8; ++i) {
      const CommandId id = static_cast<CommandId>(0x0010 + i);
      RegisterCommand(id, {[this, id, run = FindCommand(id)->run] {
                             log.events.push_back("command " + std::to_string(id - 0x0010));
                             run();
                           },
                           FindCommand(id)->available, nullptr});
    }
    WriteWholeFile(Path("game.smc"), ImageWithCrc(0x3CA800, kQBR1KnownCRC32));
    WriteText("Configuration.INI", "[Engine]\nScale = 1\n\n[Recent]\nImage1 = " + Path("gone.smc") +
                                       "\nImage2 = " + Path("game.smc") + "\n");
    ConfigGuard guard;
    LoadSettings(SettingsLayer::Alone);
  }
  void TearDown() override {
    SetImageFileHook(nullptr);
    RegisterMenuInsert(nullptr, nullptr);
  }

  std::string Path(const std::string& name) const { return (sandbox.dir() / name).string(); }
  // The File menu as a parse now shows it.
  std::vector<std::string> FileMenu() {
    CHG_WAppMenu bar;
    std::vector<std::string> labels;
    for (const CMenuItem* e : bar.items[0]->sub) labels.push_back(e->type == 4 ? "-" : e->text);
    return labels;
  }

  Installed<CommandTable> commands_;
  EventLog log;
  OpenSandbox sandbox{log};
};

TEST_F(RecentMenu, AGoneFileIsGreyedAndChoosingItTakesItOffTheList) {
  EXPECT_EQ(FileMenu(), (List{"Open...", "Recover...", "-", RecentEntryLabel(0, Path("gone.smc")),
                              RecentEntryLabel(1, Path("game.smc")), "Exit"}));
  EXPECT_TRUE(CommandGreyed(0x0010));
  EXPECT_FALSE(CommandGreyed(0x0011));
  EXPECT_TRUE(CommandAvailable(0x0011));
  EXPECT_FALSE(CommandAvailable(0x0012));  // no third entry
  const unsigned generation = MenuInsertGeneration();

  AppMenuExecuteItem(0x0010, true);
  EXPECT_EQ(log.events, (List{"sound MenuCommand async", "command 0", "box error Recent Image Gone"}));
  ASSERT_EQ(log.boxes.size(), 1u);
  std::string message = "\"";
  message += Path("gone.smc") + "\" is not there any more.\n\nIt was taken off the list of recent images.";
  EXPECT_EQ(log.boxes[0].text, message);
  EXPECT_NE(MenuInsertGeneration(), generation);  // the menu bar parses again
  EXPECT_EQ(RecentImages(), List{Path("game.smc")});
  std::string kept = "[Engine]\nScale = 1\n\n[Recent]\nImage1 = ";
  kept += Path("game.smc") + "\n";
  EXPECT_EQ(ReadText("Configuration.INI"), kept);
  EXPECT_EQ(FileMenu(), (List{"Open...", "Recover...", "-", RecentEntryLabel(0, Path("game.smc")), "Exit"}));
  EXPECT_TRUE(QBR1.empty());
}

TEST_F(RecentMenu, APresentFileOpensAsOpenDoesAndEntersTheModeAfterOpen) {
  FileMenu();
  AppMenuExecuteItem(0x0011, true);
  EXPECT_EQ(log.events, (List{"sound MenuCommand async", "command 1", "box info  IMPORTANT - READ THIS"}));
  EXPECT_EQ(ImageFilePath(), Path("game.smc"));
  EXPECT_EQ(QBR1.size(), 0x3CA800u);
  EXPECT_EQ(ENGINE_STATE, static_cast<uint32_t>(Mode::LevelEditor));
  EXPECT_TRUE(STATEOVER);
  EXPECT_EQ(RecentImages(), (List{Path("game.smc"), Path("gone.smc")}));  // it moved to the top

  // With unsaved edits the question of File > Open comes first; Cancel keeps the image and its edits.
  STATEOVER = false;
  ENGINE_STATE = 1;
  {
    ImageTransaction edit(QBR1_Document(), ImageDocument::kDefaultLabel, 0);
    QBR1_WriteByte(0x10, 0x5A);
    edit.Commit();
  }
  FileMenu();
  log.events.clear();
  log.answers = {"cancel"};
  AppMenuExecuteItem(0x0010, false);
  EXPECT_EQ(log.events, (List{"command 0", "box yesnocancel Unsaved Changes"}));
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
  EXPECT_FALSE(STATEOVER);
}

}  // namespace
