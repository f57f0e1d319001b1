#include "shell/app/bps_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "shell/app/ips_commands.h"
#include "tests/common/temp_folder.h"
#include "tests/rom/rom_support.h"

namespace fs = std::filesystem;

namespace {

int RunCaptured(const std::function<int()>& f, std::string& err) {
  testing::internal::CaptureStderr();
  const int code = f();
  err = testing::internal::GetCapturedStderr();
  return code;
}

std::vector<char> Chars(const std::vector<unsigned char>& b) { return std::vector<char>(b.begin(), b.end()); }

// The demo image edited the way a hack changes one: bytes here and there, a block moved to the free end
// of the image, and a longer file.
std::vector<char> EditedDemo(const std::vector<char>& rom) {
  std::vector<char> t = rom;
  for (std::size_t i = 0x8123; i < t.size(); i += 0x10001) t[i] = static_cast<char>(t[i] ^ 0x3C);
  std::copy(rom.begin() + 0x20000, rom.begin() + 0x30000, t.begin() + 0x3E0000);
  t.insert(t.end(), 0x8000, '\x7F');
  return t;
}

TEST(BpsCommands, PatchOfTheDemoImageRebuildsTheEditedImage) {
  TempFolder dir;
  const std::vector<char> rom = Chars(BuildDemoImage(1).rom);
  const std::vector<char> edited = EditedDemo(rom);
  WriteWholeFile(dir / "demo.smc", rom);
  WriteWholeFile(dir / "hack.smc", edited);
  const std::string original = (dir / "demo.smc").string(), hack = (dir / "hack.smc").string();
  const std::string bps = (dir / "hack.bps").string(), ips = (dir / "hack.ips").string();
  std::string err;
  ASSERT_EQ(RunCaptured([&] { return RunMakeBpsCommand(original, hack, bps); }, err), 0) << err;
  ASSERT_EQ(RunCaptured([&] { return RunMakeIpsCommand(original, hack, ips); }, err), 0) << err;
  // The moved block is a copy from the source, not 64 KiB of bytes.
  EXPECT_LT(fs::file_size(bps), 2048u);

  struct Case {
    const char* name;
    std::function<int(const std::string& out)> apply;
  };
  const Case cases[] = {
      {"--apply-bps", [&](const std::string& out) { return RunApplyBpsCommand(bps, original, out); }},
      {"--apply with BPS", [&](const std::string& out) { return RunApplyPatchCommand(bps, original, out); }},
      {"--apply with IPS", [&](const std::string& out) { return RunApplyPatchCommand(ips, original, out); }},
  };
  for (const Case& c : cases) {
    const fs::path out = dir / (std::string(c.name).substr(2, 5) + std::to_string(&c - cases) + ".smc");
    ASSERT_EQ(RunCaptured([&] { return c.apply(out.string()); }, err), 0) << c.name << ": " << err;
    EXPECT_EQ(err, "") << c.name;
    EXPECT_TRUE(ReadWholeFile(out) == edited) << c.name;
  }
}

TEST(BpsCommands, RefusalsPrintOneLineNameTheMismatchAndWriteNothing) {
  TempFolder dir;
  const auto p = [&](const char* name) { return (dir / name).string(); };
  std::vector<char> source(5000), target;
  for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<char>(i * 7 + i / 13);
  target = source;
  target[10] = 'x';
  WriteWholeFile(p("a.smc"), source);
  WriteWholeFile(p("b.smc"), target);
  std::string err;
  ASSERT_EQ(RunCaptured([&] { return RunMakeBpsCommand(p("a.smc"), p("b.smc"), p("p.bps")); }, err), 0) << err;
  const std::vector<char> patch = ReadWholeFile(p("p.bps"));
  std::vector<char> damaged = patch;
  damaged[8] = static_cast<char>(damaged[8] ^ 0x40);
  WriteWholeFile(p("damaged.bps"), damaged);
  std::vector<char> other = source;
  other[4999] = '!';
  WriteWholeFile(p("other.smc"), other);
  // A patch that claims another result, its own checksum made right again.
  std::vector<char> claims = patch;
  claims[claims.size() - 8] = static_cast<char>(claims[claims.size() - 8] ^ 0x01);
  const crc32 own = CharArray_Get_CRC32(claims.data(), static_cast<int>(claims.size() - 4));
  for (int i = 0; i < 4; ++i)
    claims[claims.size() - 4 + static_cast<std::size_t>(i)] = static_cast<char>(own >> (8 * i));
  WriteWholeFile(p("claims.bps"), claims);
  WriteText(p("keep.smc"), "old");

  struct Case {
    const char* name;
    std::function<int()> run;
    std::string says;
  };
  const Case cases[] = {
      {"another image", [&] { return RunApplyBpsCommand(p("p.bps"), p("other.smc"), p("keep.smc")); },
       "the image is not the one the patch was made from"},
      {"the patched image again", [&] { return RunApplyPatchCommand(p("p.bps"), p("b.smc"), p("keep.smc")); },
       "the image is not the one the patch was made from"},
      {"damaged", [&] { return RunApplyBpsCommand(p("damaged.bps"), p("a.smc"), p("keep.smc")); },
       "the patch is damaged"},
      {"another result", [&] { return RunApplyBpsCommand(p("claims.bps"), p("a.smc"), p("keep.smc")); },
       "the result differs"},
      {"not a BPS patch", [&] { return RunApplyBpsCommand(p("a.smc"), p("a.smc"), p("keep.smc")); }, "BPS1"},
      {"neither format", [&] { return RunApplyPatchCommand(p("a.smc"), p("a.smc"), p("keep.smc")); },
       "neither PATCH nor BPS1"},
      {"missing patch", [&] { return RunApplyPatchCommand(p("none.bps"), p("a.smc"), p("keep.smc")); }, "cannot read"},
      {"folder as input", [&] { return RunMakeBpsCommand(dir.path().string(), p("a.smc"), p("keep.smc")); },
       "not a regular file"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RunCaptured(c.run, err), 1) << c.name;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << c.name << ": " << err;
    EXPECT_EQ(err.rfind("qbrre: ", 0), 0u) << c.name;
    EXPECT_NE(err.find(c.says), std::string::npos) << c.name << ": " << err;
    EXPECT_EQ(ReadText(p("keep.smc")), "old") << c.name;
  }
  // Only the inputs and the untouched target: no temporary file was left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 7);
}

// An output that is one of the inputs under another name (a path through "..", a symbolic or a hard
// link) would be replaced before the command is done with it: refused with one line, every file left
// as it was. Only the image the patch is applied to may be replaced in place, through a link too.
TEST(BpsCommands, OutputThatIsAnInputIsRefusedExceptTheAppliedImage) {
  TempFolder dir;
  const auto p = [&](const char* name) { return (dir / name).string(); };
  std::vector<char> original(6000), edited;
  for (std::size_t i = 0; i < original.size(); ++i) original[i] = static_cast<char>(i * 11 + i / 7);
  edited = original;
  edited[1234] = '!';
  WriteWholeFile(p("a.smc"), original);
  WriteWholeFile(p("b.smc"), edited);
  std::string err;
  ASSERT_EQ(RunCaptured([&] { return RunMakeBpsCommand(p("a.smc"), p("b.smc"), p("p.bps")); }, err), 0) << err;
  ASSERT_EQ(RunCaptured([&] { return RunMakeIpsCommand(p("a.smc"), p("b.smc"), p("p.ips")); }, err), 0) << err;
  const std::vector<char> bps = ReadWholeFile(p("p.bps")), ips = ReadWholeFile(p("p.ips"));
  fs::create_directory(dir / "sub");
  fs::create_symlink("a.smc", p("soft.smc"));
  fs::create_symlink("p.bps", p("soft.bps"));
  fs::create_hard_link(p("b.smc"), p("hard.smc"));
  const std::string up = (dir / "sub" / ".." / "a.smc").string();
  struct Case {
    const char* name;
    std::function<int()> run;
  };
  const Case cases[] = {
      {"make over ORIGINAL", [&] { return RunMakeBpsCommand(p("a.smc"), p("b.smc"), p("a.smc")); }},
      {"make over EDITED", [&] { return RunMakeBpsCommand(p("a.smc"), p("b.smc"), p("b.smc")); }},
      {"make over ORIGINAL by another path", [&] { return RunMakeBpsCommand(p("a.smc"), p("b.smc"), up); }},
      {"make over ORIGINAL by a symbolic link",
       [&] { return RunMakeBpsCommand(p("a.smc"), p("b.smc"), p("soft.smc")); }},
      {"make over EDITED by a hard link", [&] { return RunMakeBpsCommand(p("a.smc"), p("b.smc"), p("hard.smc")); }},
      {"--apply-bps over the patch", [&] { return RunApplyBpsCommand(p("p.bps"), p("a.smc"), p("p.bps")); }},
      {"--apply-bps over the patch by a symbolic link",
       [&] { return RunApplyBpsCommand(p("p.bps"), p("a.smc"), p("soft.bps")); }},
      {"--apply over a BPS patch", [&] { return RunApplyPatchCommand(p("soft.bps"), p("a.smc"), p("p.bps")); }},
      {"--apply over an IPS patch", [&] { return RunApplyPatchCommand(p("p.ips"), p("a.smc"), p("p.ips")); }},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RunCaptured(c.run, err), 1) << c.name;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << c.name << ": " << err;
    EXPECT_NE(err.find("is the input"), std::string::npos) << c.name << ": " << err;
    EXPECT_TRUE(ReadWholeFile(p("a.smc")) == original) << c.name;
    EXPECT_TRUE(ReadWholeFile(p("b.smc")) == edited) << c.name;
    EXPECT_TRUE(ReadWholeFile(p("p.bps")) == bps) << c.name;
    EXPECT_TRUE(ReadWholeFile(p("p.ips")) == ips) << c.name;
    EXPECT_TRUE(fs::is_symlink(p("soft.smc")) && fs::is_symlink(p("soft.bps"))) << c.name;
  }
  // In place through the link, by each command: the image is patched, the link stays a link.
  const std::function<int()> in_place[] = {
      [&] { return RunApplyBpsCommand(p("p.bps"), p("soft.smc"), p("soft.smc")); },
      [&] { return RunApplyPatchCommand(p("p.bps"), p("soft.smc"), p("soft.smc")); },
      [&] { return RunApplyPatchCommand(p("p.ips"), p("soft.smc"), p("soft.smc")); },
  };
  for (const auto& run : in_place) {
    WriteWholeFile(p("a.smc"), original);
    ASSERT_EQ(RunCaptured(run, err), 0) << err;
    EXPECT_TRUE(ReadWholeFile(p("a.smc")) == edited);
    EXPECT_TRUE(fs::is_symlink(p("soft.smc")));
  }
}

}  // namespace
