#include "editor/level_picker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "demo/demo_image.h"
#include "editor/classes.h"
#include "editor/edit_tools.h"
#include "editor/mode_qbr1leveleditor.h"
#include "gui/commands.h"
#include "platform/dialogs.h"
#include "shell/base/variables.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

const DemoImage& Demo() {
  static const DemoImage demo = BuildDemoImage(1);
  return demo;
}

std::string Hex2(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", value);
  return text;
}

// The level editor on the demo image with the picker answered by the scripted
// backend; the level shown, the engine state, the environment and the command
// table are put back afterwards.
class LevelPicker : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAllegro();
    std::string pattern = (std::filesystem::temp_directory_path() / "level_picker_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    for (const char* name : {"QBRRE_DIALOG_SCRIPT", "QBRRE_DIALOG_LOG"}) {
      const char* value = std::getenv(name);
      saved_env_.emplace_back(name, value != nullptr ? value : "");
    }
    setenv("QBRRE_DIALOG_SCRIPT", (dir_ / "answers.txt").c_str(), 1);
    setenv("QBRRE_DIALOG_LOG", (dir_ / "log.jsonl").c_str(), 1);
    PlatformChooseDialogBackend();
    saved_level_ = currentlvlid;
    currentlvlid = 0x16;
    ENGINE_STATE = 1;
    STATEOVER = false;
    UseImage(Demo().rom);
  }
  void TearDown() override {
    currentlvlid = saved_level_;
    ENGINE_STATE = 0;
    STATEOVER = false;
    for (const auto& [name, value] : saved_env_) {
      if (value.empty()) {
        unsetenv(name.c_str());
      } else {
        setenv(name.c_str(), value.c_str(), 1);
      }
    }
    PlatformUseDesktopDialogs();
    std::filesystem::remove_all(dir_);
  }
  // One run of the picker answered `answer`; the file name changes so the
  // scripted backend starts from its first line.
  void Pick(const std::string& answer) {
    const std::filesystem::path script = dir_ / ("answers" + std::to_string(++scripts_) + ".txt");
    std::ofstream(script) << answer << "\n";
    setenv("QBRRE_DIALOG_SCRIPT", script.c_str(), 1);
    PlatformChooseDialogBackend();
    RunLevelPicker();
  }
  std::vector<std::string> Log() const {
    std::ifstream in(dir_ / "log.jsonl");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  std::filesystem::path dir_;
  std::vector<std::pair<std::string, std::string>> saved_env_;
  int saved_level_ = 0;
  int scripts_ = 0;
  Installed<CommandTable> commands_;
  Installed<EditToolBox> tools_;  // the view asks the tool box whether the wheel is the current tool's
};

TEST_F(LevelPicker, AnIdShowsThatLevelAtItsSavedPositionClamped) {
  // A built level other than the one shown, with a saved position far beyond its end.
  const DemoLevel* target = nullptr;
  for (const DemoLevel& level : Demo().levels) {
    if (level.id != 0x16 && level.tile_w > 0 && level.tile_h > 0) target = &level;
  }
  ASSERT_NE(target, nullptr);
  UseConfig(Demo().config + "\n[LevelDisplay]\nEnable = Yes\n" + Hex2(target->id) + " = 7F007F00\n");
  struct Case {
    std::string answer;
  };
  const Case cases[] = {{"0x" + Hex2(target->id)}, {std::to_string(target->id)}, {" 0X" + Hex2(target->id) + " "}};
  for (const Case& c : cases) {
    currentlvlid = 0x16;
    STATEOVER = false;
    Pick(c.answer);
    EXPECT_EQ(currentlvlid, target->id) << c.answer;
    EXPECT_TRUE(STATEOVER.load()) << c.answer;  // the mode starts again on the new level
  }
  // What the restarted mode shows: the saved position, kept inside the level.
  CCamera camera(currentlvlid);
  EXPECT_EQ(camera.x, 0x7F00);
  EXPECT_EQ(camera.y, 0x7F00);
  camera.Proc();
  // The 776 x 604 window shows 756 x 512 level pixels.
  EXPECT_EQ(camera.x, std::max(0, 32 * target->tile_w - 756));
  EXPECT_EQ(camera.y, std::max(0, 32 * target->tile_h - 512));
  for (const std::string& line : Log()) EXPECT_EQ(line.rfind(R"({"kind": "list")", 0), 0u) << line;
}

TEST_F(LevelPicker, CancelChangesNothingAndBadIdsAreRefused) {
  UseConfig(Demo().config);
  const std::string refused = R"(\" is not a level that can be shown.\nChoose an id from 0 to 229 (0x00 to 0xE5); )"
                              R"(0x5C and 0x5E hold no level.", "answer": "ok"})";
  struct Case {
    std::string answer;
    std::string message;  // the second log line, "" for none
  };
  const Case cases[] = {
      {"cancel", ""},
      {"0x5C", R"({"kind": "error", "title": "Select Level", "text": "\"0x5C)" + refused},
      {"94", R"({"kind": "error", "title": "Select Level", "text": "\"94)" + refused},  // 0x5E
      {"230", R"({"kind": "error", "title": "Select Level", "text": "\"230)" + refused},
      {"0xE6", R"({"kind": "error", "title": "Select Level", "text": "\"0xE6)" + refused},
      {"-1", R"({"kind": "error", "title": "Select Level", "text": "\"-1)" + refused},
      {"0x", R"({"kind": "error", "title": "Select Level", "text": "\"0x)" + refused},
      {"1 2", R"({"kind": "error", "title": "Select Level", "text": "\"1 2)" + refused},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(dir_ / "log.jsonl");
    Pick(c.answer);
    EXPECT_EQ(currentlvlid, 0x16) << c.answer;
    EXPECT_FALSE(STATEOVER.load()) << c.answer;
    const std::vector<std::string> log = Log();
    ASSERT_EQ(log.size(), c.message.empty() ? 1u : 2u) << c.answer;
    if (!c.message.empty()) {
      EXPECT_EQ(log[1], c.message);
    }
  }
}

TEST_F(LevelPicker, ListsEveryViewableLevelWithNameArchetypeAndSize) {
  UseConfig(Demo().config);
  Pick("cancel");
  const std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 1u);
  const std::string& list = log[0];
  // 230 ids less the two hidden ones: one row each.
  std::size_t rows = 0;
  for (std::size_t at = list.find("\\n0x"); at != std::string::npos; at = list.find("\\n0x", at + 1)) ++rows;
  EXPECT_EQ(rows, 228u);
  EXPECT_EQ(list.find("\\n0x5C\\t"), std::string::npos);
  EXPECT_EQ(list.find("\\n0x5E\\t"), std::string::npos);
  for (const DemoLevel& level : Demo().levels) {
    const std::string row = "\\n0x" + Hex2(level.id) + "\\t" + level.name + "\\t" + std::to_string(level.archetype) +
                            "\\t" + std::to_string(level.tile_w) + " x " + std::to_string(level.tile_h);
    EXPECT_NE(list.find(row), std::string::npos) << row;
  }
}

TEST_F(LevelPicker, TheLastRowAsksForTheIdInATextBox) {
  UseConfig(Demo().config);
  const int target = Demo().levels.back().id;
  struct Case {
    std::string typed;
    int level;          // shown afterwards
    std::string kinds;  // of the boxes, in order
  };
  const Case cases[] = {
      {"0x" + Hex2(target), target, "list text"},
      {"cancel", 0x16, "list text"},
      {"0x5E", 0x16, "list text error"},
  };
  for (const Case& c : cases) {
    currentlvlid = 0x16;
    STATEOVER = false;
    std::filesystem::remove(dir_ / "log.jsonl");
    Pick("Other...\n" + c.typed);
    EXPECT_EQ(currentlvlid, c.level) << c.typed;
    EXPECT_EQ(STATEOVER.load(), c.level != 0x16) << c.typed;
    std::string kinds;
    for (const std::string& line : Log()) {
      const std::size_t at = line.find("\"kind\": \"") + 9;
      if (!kinds.empty()) kinds += ' ';
      kinds += line.substr(at, line.find('"', at) - at);
    }
    EXPECT_EQ(kinds, c.kinds) << c.typed;
  }
  EXPECT_NE(Log()[0].find("\\nOther...\\t(type a level id)\\t\\t\""), std::string::npos) << Log()[0];
}

TEST_F(LevelPicker, TheCommandAndCtrlLAreThereOnlyInTheLevelEditor) {
  UseConfig(Demo().config);
  RegisterLevelPicker();
  EXPECT_TRUE(CommandAvailable(0x0200));
  ENGINE_STATE = 0;
  EXPECT_FALSE(CommandAvailable(0x0200));
}

}  // namespace
