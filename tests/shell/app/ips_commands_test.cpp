#include "shell/app/ips_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "rom/file_replace.h"
#include "tests/rom/rom_support.h"

namespace fs = std::filesystem;

namespace {

// A private folder for the files of one test, removed afterwards.
class IpsCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string templ = (fs::temp_directory_path() / "qbrre-ips-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir = templ;
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string P(const char* name) const { return (dir / name).string(); }
  static int Run(const std::function<int()>& f, std::string& err) {
    testing::internal::CaptureStderr();
    const int code = f();
    err = testing::internal::GetCapturedStderr();
    return code;
  }
  fs::path dir;
};

std::vector<char> Random(std::size_t n, unsigned seed) {
  std::vector<char> b(n);
  std::mt19937 rng(seed);
  for (char& c : b) c = static_cast<char>(rng());
  return b;
}

TEST_F(IpsCommands, MadePatchAppliedGivesTheEditedFile) {
  const std::vector<char> original = Random(0x20000, 1);
  std::vector<char> edited = original;
  for (std::size_t i = 50; i < edited.size(); i += 4099) edited[i] = static_cast<char>(~edited[i]);
  std::fill(edited.begin() + 0x1000, edited.begin() + 0x1200, 0);
  edited.insert(edited.end(), 100, 'x');
  WriteWholeFile(P("a.smc"), original);
  WriteWholeFile(P("b.smc"), edited);
  std::string err;
  ASSERT_EQ(Run([&] { return RunMakeIpsCommand(P("a.smc"), P("b.smc"), P("p.ips")); }, err), 0) << err;
  ASSERT_EQ(Run([&] { return RunApplyIpsCommand(P("p.ips"), P("a.smc"), P("out.smc")); }, err), 0) << err;
  EXPECT_EQ(err, "");
  EXPECT_TRUE(ReadWholeFile(P("out.smc")) == edited);
  EXPECT_LT(fs::file_size(P("p.ips")), 0x2000u);  // only the changes travel
}

TEST_F(IpsCommands, RefusalsPrintOneLineAndWriteNothing) {
  WriteWholeFile(P("a.smc"), Random(4096, 2));
  WriteWholeFile(P("short.smc"), Random(100, 3));
  WriteText(P("cut.ips"), std::string("PATCH\x00\x00\x10\x00\x08", 10) + "abc");
  WriteText(P("noend.ips"), std::string("PATCH\x00\x00\x10\x00\x01z", 11));
  WriteText(P("keep.smc"), "old");
  struct Case {
    const char* name;
    std::function<int()> run;
    const char* says;
  };
  const Case cases[] = {
      {"truncated", [&] { return RunApplyIpsCommand(P("cut.ips"), P("a.smc"), P("keep.smc")); }, "cut short"},
      {"no end marker", [&] { return RunApplyIpsCommand(P("noend.ips"), P("a.smc"), P("keep.smc")); }, "no EOF"},
      {"not a patch", [&] { return RunApplyIpsCommand(P("a.smc"), P("a.smc"), P("keep.smc")); }, "not an IPS patch"},
      {"missing patch", [&] { return RunApplyIpsCommand(P("none.ips"), P("a.smc"), P("keep.smc")); }, "cannot read"},
      {"patch over the original", [&] { return RunMakeIpsCommand(P("keep.smc"), P("a.smc"), P("keep.smc")); },
       "is the input"},
      {"folder as input", [&] { return RunMakeIpsCommand(dir.string(), P("a.smc"), P("keep.smc")); },
       "not a regular file"},
  };
  for (const Case& c : cases) {
    std::string err;
    EXPECT_EQ(Run(c.run, err), 1) << c.name;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << c.name << ": " << err;
    EXPECT_EQ(err.rfind("qbrre: ", 0), 0u) << c.name;
    EXPECT_NE(err.find(c.says), std::string::npos) << c.name << ": " << err;
    EXPECT_EQ(ReadText(P("keep.smc")), "old") << c.name;
  }
  // Only the inputs and the untouched target: no temporary file was left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 5);
}

// An output that is one of the inputs under another name (a path through "..", a symbolic or a hard
// link) would be replaced before the command is done with it: refused, every file left as it was.
// Only the image the patch is applied to may be replaced in place.
TEST_F(IpsCommands, OutputThatIsAnInputIsRefusedExceptTheAppliedImage) {
  const std::vector<char> original = Random(4096, 4);
  std::vector<char> edited = original;
  edited[100] = static_cast<char>(~edited[100]);
  WriteWholeFile(P("a.smc"), original);
  WriteWholeFile(P("b.smc"), edited);
  std::string err;
  ASSERT_EQ(Run([&] { return RunMakeIpsCommand(P("a.smc"), P("b.smc"), P("p.ips")); }, err), 0) << err;
  const std::vector<char> patch = ReadWholeFile(P("p.ips"));
  fs::create_directory(dir / "sub");
  fs::create_symlink("a.smc", P("soft.smc"));
  fs::create_hard_link(P("b.smc"), P("hard.smc"));
  const std::string up = (dir / "sub" / ".." / "a.smc").string();
  struct Case {
    const char* name;
    std::function<int()> run;
  };
  const Case cases[] = {
      {"make over ORIGINAL", [&] { return RunMakeIpsCommand(P("a.smc"), P("b.smc"), P("a.smc")); }},
      {"make over EDITED", [&] { return RunMakeIpsCommand(P("a.smc"), P("b.smc"), P("b.smc")); }},
      {"make over ORIGINAL by another path", [&] { return RunMakeIpsCommand(P("a.smc"), P("b.smc"), up); }},
      {"make over ORIGINAL by a symbolic link",
       [&] { return RunMakeIpsCommand(P("a.smc"), P("b.smc"), P("soft.smc")); }},
      {"make over EDITED by a hard link", [&] { return RunMakeIpsCommand(P("a.smc"), P("b.smc"), P("hard.smc")); }},
      {"apply over the patch", [&] { return RunApplyIpsCommand(P("p.ips"), P("a.smc"), P("p.ips")); }},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.run, err), 1) << c.name;
    EXPECT_NE(err.find("is the input"), std::string::npos) << c.name << ": " << err;
    EXPECT_TRUE(ReadWholeFile(P("a.smc")) == original) << c.name;
    EXPECT_TRUE(ReadWholeFile(P("b.smc")) == edited) << c.name;
    EXPECT_TRUE(ReadWholeFile(P("p.ips")) == patch) << c.name;
    EXPECT_TRUE(fs::is_symlink(P("soft.smc"))) << c.name;
  }
  // In place through the link: the image is patched, the link stays a link.
  ASSERT_EQ(Run([&] { return RunApplyIpsCommand(P("p.ips"), P("soft.smc"), P("soft.smc")); }, err), 0) << err;
  EXPECT_TRUE(ReadWholeFile(P("a.smc")) == edited);
  EXPECT_TRUE(fs::is_symlink(P("soft.smc")));
}

// A shorter EDITED travels as the size after the end marker, as other IPS tools read it.
TEST_F(IpsCommands, ShorterEditedFileIsCutByThePatch) {
  const std::vector<char> original = Random(8192, 5);
  std::vector<char> edited(original.begin(), original.begin() + 5000);
  edited[10] = static_cast<char>(~edited[10]);
  WriteWholeFile(P("a.smc"), original);
  WriteWholeFile(P("b.smc"), edited);
  std::string err;
  ASSERT_EQ(Run([&] { return RunMakeIpsCommand(P("a.smc"), P("b.smc"), P("p.ips")); }, err), 0) << err;
  const std::vector<char> patch = ReadWholeFile(P("p.ips"));
  ASSERT_GE(patch.size(), 6u);
  EXPECT_EQ(std::string(patch.end() - 6, patch.end()), std::string("EOF\x00\x13\x88", 6));
  ASSERT_EQ(Run([&] { return RunApplyIpsCommand(P("p.ips"), P("a.smc"), P("a.smc")); }, err), 0) << err;
  EXPECT_TRUE(ReadWholeFile(P("a.smc")) == edited);
}

}  // namespace
