#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/allegro_include.h"
#include "platform/config_lock.h"
#include "rom/AppMenu.h"
#include "rom/globaldata.h"
#include "rom/image_save.h"
#include "rom/ips_patch.h"
#include "rom/patch_open.h"
#include "rom/recent_images.h"
#include "rom/settings_store.h"
#include "tests/common/temp_folder.h"
#include "tests/rom/rom_support.h"

namespace fs = std::filesystem;

namespace {

using List = std::vector<std::string>;

TEST(SettingsText, ChangesOnlyTheKeysOfItsSectionAndKeepsEveryOtherLine) {
  const std::string base =
      "# kept\n[Engine]\nScale = 2\n\n[Recent]\nImage1 = /a.smc\nImage2 = /b.smc\n\n[View]\nGrid = 1\n";
  struct Case {
    const char* what;
    std::string text;
    std::string section;
    std::vector<SettingChange> changes;
    std::string want;
  };
  const Case cases[] = {
      {"a key set in its line",
       base,
       "Recent",
       {{"Image2", "/c.smc"}},
       "# kept\n[Engine]\nScale = 2\n\n[Recent]\nImage1 = /a.smc\nImage2 = /c.smc\n\n[View]\nGrid = 1\n"},
      {"a new key after the section's last",
       base,
       "Recent",
       {{"Image3", "/c.smc"}},
       "# kept\n[Engine]\nScale = 2\n\n[Recent]\nImage1 = /a.smc\nImage2 = /b.smc\nImage3 = /c.smc\n\n[View]\nGrid = "
       "1\n"},
      {"a key removed",
       base,
       "Recent",
       {{"Image1", std::nullopt}, {"Image5", std::nullopt}},
       "# kept\n[Engine]\nScale = 2\n\n[Recent]\nImage2 = /b.smc\n\n[View]\nGrid = 1\n"},
      {"names ignore case, as Allegro's do",
       base,
       "recent",
       {{"IMAGE1", "/z.smc"}},
       "# kept\n[Engine]\nScale = 2\n\n[Recent]\nIMAGE1 = /z.smc\nImage2 = /b.smc\n\n[View]\nGrid = 1\n"},
      {"a missing section at the end",
       "[Engine]\nScale = 2",
       "Recent",
       {{"Image1", "/a.smc"}},
       "[Engine]\nScale = 2\n\n[Recent]\nImage1 = /a.smc\n"},
      {"an empty file", "", "Recent", {{"Image1", "/a b.smc"}}, "[Recent]\nImage1 = /a b.smc\n"},
      {"nothing to add to a missing section", "[Engine]\n", "Recent", {{"Image1", std::nullopt}}, "[Engine]\n"},
      {"a same key in another section stays",
       "[View]\nImage1 = x\n[Recent]\n",
       "Recent",
       {{"Image1", "/a.smc"}},
       "[View]\nImage1 = x\n[Recent]\nImage1 = /a.smc\n"},
      {"a key written twice keeps one line",
       "[Recent]\nImage1 = /a\nImage1 = /b\n",
       "Recent",
       {{"Image1", "/c"}},
       "[Recent]\nImage1 = /c\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(WithSettingChanges(c.text, c.section, c.changes), c.want) << c.what;
}

TEST(RecentImageList, NewestFirstWithoutDuplicatesAtMostEight) {
  TempFolder dir;
  const std::string a = (dir / "a.smc").string(), b = (dir / "b.smc").string();
  fs::create_directory(dir / "sub");
  std::ofstream(a) << "a";
  fs::create_symlink(a, dir / "link.smc");
  List nine;
  for (int i = 0; i < 9; ++i) nine.push_back((dir / (std::to_string(i) + ".smc")).string());
  struct Case {
    const char* what;
    List list;
    std::string path;
    List want;
  };
  const Case cases[] = {
      {"into an empty list", {}, a, {a}},
      {"a new one goes first", {a}, b, {b, a}},
      {"an old one moves to the top", {a, b}, b, {b, a}},
      {"another spelling of the same file",
       {b, a},
       (dir / "sub" / ".." / "a.smc").string(),
       {(dir / "sub" / ".." / "a.smc").string(), b}},
      {"a link to the same file", {b, a}, (dir / "link.smc").string(), {(dir / "link.smc").string(), b}},
      {"a gone file, spelled another way",
       {(dir / "gone.smc").string(), a},
       (dir / "sub" / ".." / "gone.smc").string(),
       {(dir / "sub" / ".." / "gone.smc").string(), a}},
      {"the ninth falls off",
       List(nine.begin(), nine.begin() + 8),
       nine[8],
       {nine[8], nine[0], nine[1], nine[2], nine[3], nine[4], nine[5], nine[6]}},
  };
  for (const Case& c : cases) EXPECT_EQ(WithRecentImage(c.list, c.path), c.want) << c.what;
  EXPECT_EQ(WithoutRecentImage({b, (dir / "gone.smc").string(), a}, (dir / "sub" / ".." / "gone.smc").string()),
            (List{b, a}));
  EXPECT_EQ(WithoutRecentImage({b, a}, (dir / "link.smc").string()), List{b});
}

// The list as the program keeps it, in a portable folder of its own with its own Configuration.INI.
class RecentImagesKept : public ::testing::Test {
 protected:
  void TearDown() override { SetImageFileHook(nullptr); }

  std::string Path(const std::string& name) const { return (sandbox.dir() / name).string(); }
  static void Reload() {
    ConfigGuard guard;
    LoadSettings(SettingsLayer::Alone);
  }

  EventLog log;
  OpenSandbox sandbox{log};
};

TEST_F(RecentImagesKept, TheFileHoldsTheListBesideEverythingElseAndReadsBack) {
  const std::string others = "# settings\n[Engine]\nScale = 2\n\n[Recent]\nImage1 = /old.smc\n\n[View]\nGrid = 1\n";
  WriteText("Configuration.INI", others);
  Reload();
  RememberRecentImage(Path("a.smc"));
  RememberRecentImage(Path("b.smc"));
  RememberRecentImage("a.smc");  // relative to the working folder: the same file, made absolute
  const List want{Path("a.smc"), Path("b.smc"), "/old.smc"};
  EXPECT_EQ(RecentImages(), want);
  EXPECT_EQ(ReadText("Configuration.INI"), "# settings\n[Engine]\nScale = 2\n\n[Recent]\nImage1 = " + want[0] +
                                               "\nImage2 = " + want[1] + "\nImage3 = /old.smc\n\n[View]\nGrid = 1\n");
  Reload();  // what the next start reads
  EXPECT_EQ(RecentImages(), want);
  ForgetRecentImage("/old.smc");
  Reload();
  EXPECT_EQ(RecentImages(), (List{want[0], want[1]}));
  // Allegro's own write of the settings in memory agrees with the file.
  {
    ConfigGuard guard;
    set_config_string("View", "Grid", "0");
    flush_config_file();
  }
  Reload();
  EXPECT_EQ(RecentImages(), (List{want[0], want[1]}));
  EXPECT_NE(ReadText("Configuration.INI").find("Scale = 2"), std::string::npos);
}

TEST_F(RecentImagesKept, AnUnwritableFileLeavesTheListInMemoryAndSaysWhy) {
  Reload();
  fs::create_directory("Configuration.INI");  // a folder where the file should be
  std::string error;
  EXPECT_FALSE(StoreRecentImages({Path("b.smc")}, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(RecentImages(), List{Path("b.smc")});
  fs::remove("Configuration.INI");
}

TEST_F(RecentImagesKept, OpenOpenPatchAndSaveAsPutTheirFileFirst) {
  Reload();
  SetImageFileHook(RememberRecentImage);
  const std::vector<char> bytes = ImageWithCrc(0x3CA800, kQBR1KnownCRC32);
  WriteWholeFile(Path("game.smc"), bytes);
  log.answers = {Path("game.smc"), "ok"};
  ASSERT_TRUE(AppMenuOpenImage());
  EXPECT_EQ(RecentImages(), List{Path("game.smc")});
  log.answers = {Path("copy.smc")};
  ASSERT_TRUE(SaveImageAs());
  EXPECT_EQ(RecentImages(), (List{Path("copy.smc"), Path("game.smc")}));
  ASSERT_TRUE(AppMenuOpenImageFile(Path("game.smc")));
  EXPECT_EQ(RecentImages(), (List{Path("game.smc"), Path("copy.smc")}));
  // A file that does not open does not enter the list.
  EXPECT_FALSE(AppMenuOpenImageFile(Path("none.smc")));
  EXPECT_EQ(RecentImages(), (List{Path("game.smc"), Path("copy.smc")}));
  // Open Patch counts the image it applies its patch to.
  const std::vector<unsigned char> clean(bytes.begin(), bytes.end());
  std::vector<unsigned char> hacked = clean, patch;
  hacked[0x100] ^= 0xFF;
  std::string error;
  ASSERT_TRUE(MakeIpsPatch(clean, hacked, patch, error)) << error;
  WriteWholeFile(Path("hack.ips"), std::vector<char>(patch.begin(), patch.end()));
  ASSERT_TRUE(OpenImageWithPatch(Path("copy.smc"), Path("hack.ips")));
  EXPECT_EQ(RecentImages(), (List{Path("copy.smc"), Path("game.smc")}));
}

}  // namespace
