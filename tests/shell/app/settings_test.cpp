#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/view_layers.h"
#include "platform/allegro_include.h"
#include "platform/config_lock.h"
#include "rom/settings_store.h"
#include "platform/window.h"
#include "shell/app/settings_command.h"
#include "shell/app/settings_form.h"
#include "tests/common/temp_folder.h"
#include "tests/rom/rom_support.h"

namespace fs = std::filesystem;

namespace {

// The form's values before it was answered: emulator, scale, music folder, grid colour.
std::vector<std::string> Shown(const std::string& folder) { return {"emu %f", "1", folder, "505868"}; }

std::vector<FormField> Answered(const std::vector<std::string>& values) {
  std::vector<FormField> fields;
  for (const std::string& value : values) fields.push_back({"", value});
  return fields;
}

// Only the fields whose value changed are checked and written, each as Configuration.INI keeps it;
// one refused value leaves nothing to write, and every refused one is named by its field.
TEST(SettingsForm, ChangedValuesAreCheckedAndBecomeKeys) {
  TempFolder music;
  const std::string folder = music.path().string();
  fs::create_directory(music / "other");
  const std::string other = (music / "other").string();
  const std::string gone = (music / "gone").string();
  struct Case {
    std::vector<std::string> answer;
    std::vector<std::string> keys;  // "Section/Key=value"
    int scale;
    std::vector<std::string> problems;
  };
  const Case cases[] = {
      {{"emu %f", "1", folder, "505868"}, {}, 0, {}},
      {{"emu %f", "2", folder, "12ef34"}, {"Engine/Scale=2", "View/GridColour=12EF34"}, 2, {}},
      {{"\"my emu\" --fast %f", "1", other, "505868"},
       {"Emulator/Command=\"my emu\" --fast %f", "Music/Folder=" + other},
       0,
       {}},
      {{"emu %f", "3", folder, "505868"}, {"Engine/Scale=3"}, 3, {}},
      {{"emu %f", "1", "", "505868"}, {}, 0, {"Music folder: \"\" is not a folder."}},
      {{"emu %f", "4", folder, "505868"},
       {},
       0,
       {"Window scale: 4 does not fit this screen; the largest that holds the editor's window is 3."}},
      {{"emu %f", "0", folder, "505868"}, {}, 0, {"Window scale: \"0\" is not a whole number of 1 or more."}},
      {{"emu %f", "two", folder, "505868"}, {}, 0, {"Window scale: \"two\" is not a whole number of 1 or more."}},
      {{"emu %f", " 2", folder, "505868"}, {}, 0, {"Window scale: \" 2\" is not a whole number of 1 or more."}},
      {{"emu %f", "-1", folder, "505868"}, {}, 0, {"Window scale: \"-1\" is not a whole number of 1 or more."}},
      {{"emu %f", "99999999999", folder, "505868"},
       {},
       0,
       {"Window scale: \"99999999999\" is not a whole number of 1 or more."}},
      {{"   ", "1", folder, "505868"}, {}, 0, {"Emulator command: names no program."}},
      {{"\"emu", "1", folder, "505868"}, {}, 0, {"Emulator command: a quote is not closed."}},
      {{"emu %f", "1", gone, "505868"}, {}, 0, {"Music folder: \"" + gone + "\" is not a folder."}},
      {{"emu %f", "2", folder, "#12EF34"}, {}, 0, {"Grid colour (RRGGBB): \"#12EF34\" is not six hex digits RRGGBB."}},
      {{"emu %f", "5", folder, "12EF3"},
       {},
       0,
       {"Window scale: 5 does not fit this screen; the largest that holds the editor's window is 3.",
        "Grid colour (RRGGBB): \"12EF3\" is not six hex digits RRGGBB."}},
  };
  for (const Case& c : cases) {
    const SettingsChange change = ChangeSettings(Shown(folder), Answered(c.answer), {3});
    std::vector<std::string> keys;
    for (const SectionChanges& s : change.sections)
      for (const SettingChange& k : s.changes) keys.push_back(s.section + "/" + k.key + "=" + *k.value);
    const std::string name = c.answer[0] + "|" + c.answer[1] + "|" + c.answer[2] + "|" + c.answer[3];
    EXPECT_EQ(keys, c.keys) << name;
    EXPECT_EQ(change.scale, c.scale) << name;
    EXPECT_EQ(change.problems, c.problems) << name;
  }
  // A value that was not changed is not checked, even one that would be refused.
  const std::vector<std::string> odd = {"\"emu", "1", gone, "zz"};
  const SettingsChange kept = ChangeSettings(odd, Answered({"\"emu", "1", gone, "00FF00"}), {1});
  EXPECT_TRUE(kept.problems.empty());
  ASSERT_EQ(kept.sections.size(), 1u);
  ASSERT_EQ(kept.sections[0].changes.size(), 1u);
  EXPECT_EQ(kept.sections[0].changes[0].value, "00FF00");
}

// Level > Settings... on a 2560 x 2048 screen without a window: the form shows the values in use,
// an accepted answer reaches Configuration.INI, the configuration in memory, the grid and the
// scale; a refused or cancelled one changes nothing.
class SettingsCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    screen_.screen_w = 2560;
    screen_.screen_h = 2048;
    PlatformUseHeadlessWindow(screen_);
    fs::create_directory(sandbox_.dir() / "Tunes");
    WriteText("Configuration.INI", kConfiguration);
    ConfigGuard guard;
    LoadSettings(SettingsLayer::Alone);
    ReloadViewLayers();
  }
  void TearDown() override {
    PlatformSetWindowScale(1);
    PlatformUseX11Window();
    ReloadViewLayers();
  }
  static std::string Read(const char* section, const char* key) {
    ConfigGuard guard;
    return get_config_string(section, key, "(none)");
  }
  static constexpr const char* kConfiguration =
      "# mine\n[Emulator]\nCommand = emu %f\n\n[View]\nGrid = Yes\n\n[LevelDisplay]\n16 = 00000000\n";

  EventLog log_;
  OpenSandbox sandbox_{log_};
  HeadlessWindow screen_;
};

TEST_F(SettingsCommand, AnAcceptedFormIsWrittenAndApplied) {
  log_.answers = {"|2|Tunes|12ef34"};
  EditSettings();
  ASSERT_EQ(log_.boxes.size(), 1u);
  EXPECT_EQ(std::string(BoxKindName(log_.boxes[0].kind)), "form");
  EXPECT_EQ(log_.boxes[0].title, "Settings");
  EXPECT_EQ(log_.boxes[0].text,
            "A field left empty keeps its value.\nEmulator command: emu %f\nWindow scale: 1\n"
            "Music folder: Resources/Music/\nGrid colour (RRGGBB): 505868");
  EXPECT_EQ(ReadText("Configuration.INI"),
            "# mine\n[Emulator]\nCommand = emu %f\n\n[View]\nGrid = Yes\nGridColour = 12EF34\n\n[LevelDisplay]\n"
            "16 = 00000000\n\n[Engine]\nScale = 2\n\n[Music]\nFolder = Tunes\n");
  EXPECT_EQ(Read("Engine", "Scale"), "2");
  EXPECT_EQ(Read("Music", "Folder"), "Tunes");
  EXPECT_EQ(ViewGridColour(), 0x12EF34);
  EXPECT_EQ(PlatformWindowScale(), 2);
}

TEST_F(SettingsCommand, ARefusedOrCancelledFormChangesNothing) {
  const fs::file_time_type written = fs::last_write_time("Configuration.INI");
  log_.answers = {"|9||nope", "ok", "cancel", "|||"};
  for (int form = 0; form < 3; ++form) EditSettings();
  ASSERT_EQ(log_.boxes.size(), 4u);
  EXPECT_EQ(std::string(BoxKindName(log_.boxes[1].kind)), "error");
  EXPECT_EQ(log_.boxes[1].text,
            "Nothing was changed:\nWindow scale: 9 does not fit this screen; the largest that holds the editor's "
            "window is 3.\nGrid colour (RRGGBB): \"nope\" is not six hex digits RRGGBB.");
  EXPECT_EQ(std::string(BoxKindName(log_.boxes[2].kind)), "form");
  EXPECT_EQ(log_.boxes[2].answer, "cancel");
  EXPECT_EQ(log_.boxes[3].answer, "|||");  // every field kept: nothing to write
  EXPECT_EQ(ReadText("Configuration.INI"), kConfiguration);
  EXPECT_EQ(fs::last_write_time("Configuration.INI"), written);
  EXPECT_EQ(Read("View", "GridColour"), "(none)");
  EXPECT_EQ(ViewGridColour(), 0x505868);
  EXPECT_EQ(PlatformWindowScale(), 1);
}

// A settings file that cannot be written is named; the settings hold in memory for this run.
TEST_F(SettingsCommand, AnUnwritableFileIsNamedAndTheSettingsServeThisRun) {
  fs::remove("Configuration.INI");
  fs::create_directory("Configuration.INI");  // a folder where the file should be
  log_.answers = {"|||00FF00", "ok"};
  EditSettings();
  ASSERT_EQ(log_.boxes.size(), 2u);
  EXPECT_EQ(std::string(BoxKindName(log_.boxes[1].kind)), "error");
  EXPECT_EQ(log_.boxes[1].text.rfind("Configuration.INI could not be written:\n", 0), 0u) << log_.boxes[1].text;
  EXPECT_NE(log_.boxes[1].text.find("The file on disk was not changed; the new settings hold while the program runs."),
            std::string::npos)
      << log_.boxes[1].text;
  EXPECT_TRUE(fs::is_directory("Configuration.INI"));
  EXPECT_EQ(ViewGridColour(), 0x00FF00);
  fs::remove("Configuration.INI");
}

}  // namespace
