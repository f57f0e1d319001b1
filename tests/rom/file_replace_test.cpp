#include "rom/file_replace.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/common/file_rights.h"
#include "tests/common/in_child.h"
#include "tests/rom/rom_support.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

class FileReplace : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string templ = (fs::temp_directory_path() / "qbrre-save-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir = templ;
  }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all);
    if (fs::exists(dir / "ro")) fs::permissions(dir / "ro", fs::perms::owner_all);
    fs::remove_all(dir);
  }
  std::string P(const std::string& name) const { return (dir / name).string(); }
  std::size_t Entries(const fs::path& folder) const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }
  fs::path dir;
};

TEST_F(FileReplace, ReplacesKeepingPermissionsAndFollowingLinks) {
  WriteText(P("game.smc"), "old content");
  fs::permissions(P("game.smc"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("game.smc", P("link.smc"));
  std::string error;
  ASSERT_TRUE(ReplaceFile(P("link.smc"), Bytes{'n', 'e', 'w'}, error)) << error;
  EXPECT_TRUE(fs::is_symlink(P("link.smc")));
  EXPECT_EQ(ReadText(P("game.smc")), "new");
  EXPECT_EQ(fs::status(P("game.smc")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(ReplaceFile(P("fresh.smc"), Bytes{}, error)) << error;
  EXPECT_EQ(fs::file_size(P("fresh.smc")), 0u);
  EXPECT_EQ(Entries(dir), 3u);  // no temporary file left
}

TEST_F(FileReplace, FailuresLeaveTheOldFileWholeAndNoTemporaryFile) {
  const Bytes big(1 << 20, 0xAB);
  WriteText(P("game.smc"), "old content");
  fs::create_directory(dir / "ro");
  WriteText((dir / "ro" / "game.smc").string(), "old content");
  fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
  fs::create_directory(dir / "folder.smc");

  struct Case {
    const char* name;
    std::string path;
    std::function<void()> limit;  // run in the child first
    const char* says;
  };
  const Case cases[] = {
      {"file size limit", P("game.smc"),
       [] {
         std::signal(SIGXFSZ, SIG_IGN);
         rlimit r{4096, 4096};
         setrlimit(RLIMIT_FSIZE, &r);
       },
       "writing failed"},
      {"read-only folder", (dir / "ro" / "game.smc").string(), DropFileOverrideRights, "temporary file"},
      {"a folder in the way", P("folder.smc"), [] {}, "not a regular file"},
      {"missing folder", P("none/game.smc"), [] {}, "temporary file"},
  };
  for (const Case& c : cases) {
    const int code = InChild([&] {
      c.limit();
      std::string error;
      if (ReplaceFile(c.path, big, error)) return 1;
      return error.find(c.says) != std::string::npos ? 0 : 2;
    });
    EXPECT_EQ(code, 0) << c.name;
  }
  EXPECT_EQ(ReadText(P("game.smc")), "old content");
  EXPECT_EQ(ReadText((dir / "ro" / "game.smc").string()), "old content");
  EXPECT_EQ(Entries(dir), 3u);
  EXPECT_EQ(Entries(dir / "ro"), 1u);
}

TEST_F(FileReplace, BackupIsMadeOnceAndNeverOverwritten) {
  WriteText(P("game.smc"), "original");
  std::string error;
  ASSERT_TRUE(KeepBackupOnce(P("game.smc"), P("game.smc.bak"), error)) << error;
  WriteText(P("game.smc"), "first save");
  ASSERT_TRUE(KeepBackupOnce(P("game.smc"), P("game.smc.bak"), error)) << error;
  EXPECT_EQ(ReadText(P("game.smc.bak")), "original");
  EXPECT_FALSE(KeepBackupOnce(P("missing.smc"), P("missing.smc.bak"), error));
  EXPECT_FALSE(fs::exists(P("missing.smc.bak")));
}

// The backup carries the original's permission bits, whatever the umask would give a new file.
TEST_F(FileReplace, BackupKeepsThePermissionsOfTheOriginal) {
  using fs::perms;
  const perms cases[] = {perms::owner_read | perms::owner_write,
                         perms::owner_read | perms::group_read | perms::others_read,
                         perms::owner_all | perms::group_read | perms::group_exec};
  const mode_t mask = umask(0);  // the widest a new file would get
  for (const perms p : cases) {
    WriteText(P("game.smc"), "original");
    fs::permissions(P("game.smc"), p);
    std::string error;
    EXPECT_TRUE(KeepBackupOnce(P("game.smc"), P("game.smc.bak"), error)) << error;
    EXPECT_EQ(fs::status(P("game.smc.bak")).permissions() & perms::all, p) << static_cast<int>(p);
    fs::remove(P("game.smc.bak"));
    fs::permissions(P("game.smc"), perms::owner_read | perms::owner_write);
  }
  umask(mask);
}

TEST_F(FileReplace, SameFileSeesLinksAndOtherSpellings) {
  WriteText(P("game.smc"), "one");
  WriteText(P("other.smc"), "one");
  fs::create_symlink("game.smc", P("soft.smc"));
  fs::create_hard_link(P("game.smc"), P("hard.smc"));
  EXPECT_TRUE(SameFile(P("game.smc"), P("game.smc")));
  EXPECT_TRUE(SameFile(P("game.smc"), (dir / "." / "game.smc").string()));
  EXPECT_TRUE(SameFile(P("soft.smc"), P("game.smc")));
  EXPECT_TRUE(SameFile(P("hard.smc"), P("game.smc")));
  EXPECT_FALSE(SameFile(P("other.smc"), P("game.smc")));  // equal content is not the same file
  EXPECT_FALSE(SameFile(P("none.smc"), P("none.smc")));
  // The check before a write names the input the output would replace, the first one it is.
  const std::vector<std::string> inputs = {P("other.smc"), P("game.smc")};
  EXPECT_EQ(OutputIsInput(P("hard.smc"), inputs), "it is the input \"" + P("game.smc") + "\"; choose another file");
  EXPECT_EQ(OutputIsInput(P("soft.smc"), inputs), OutputIsInput(P("game.smc"), inputs));
  EXPECT_EQ(OutputIsInput(P("new.smc"), inputs), "");
  EXPECT_EQ(OutputIsInput(P("game.smc"), {}), "");
}

// Either way of waiting for the disk: a new file gets the permissions the umask leaves it, a replaced
// one keeps its own (a private file never becomes readable to others, not even for a moment).
TEST_F(FileReplace, PermissionsFollowTheUmaskOrTheReplacedFile) {
  using fs::perms;
  const mode_t masks[] = {022, 077, 002};
  const mode_t before = umask(022);
  for (const ReplaceSync sync : {ReplaceSync::Durable, ReplaceSync::Batch}) {
    for (const mode_t mask : masks) {
      SCOPED_TRACE(std::to_string(mask) + (sync == ReplaceSync::Durable ? " durable" : " batch"));
      umask(mask);
      fs::remove(P("new.png"));
      std::string error;
      ASSERT_TRUE(ReplaceFile(P("new.png"), Bytes{'a'}, error, sync)) << error;
      EXPECT_EQ(fs::status(P("new.png")).permissions() & perms::all, static_cast<perms>(0666 & ~mask));
      WriteText(P("private.png"), "old");
      fs::permissions(P("private.png"), perms::owner_read | perms::owner_write);
      ASSERT_TRUE(ReplaceFile(P("private.png"), Bytes{'b'}, error, sync)) << error;
      EXPECT_EQ(fs::status(P("private.png")).permissions() & perms::all, perms::owner_read | perms::owner_write);
      EXPECT_EQ(ReadText(P("private.png")), "b");
    }
  }
  umask(before);
  EXPECT_EQ(Entries(dir), 2u);
}

// A link to a file that is not there yet is written through: the file appears where it points.
TEST_F(FileReplace, LinkToAMissingFileStaysALink) {
  fs::create_directory(dir / "roms");
  fs::create_symlink("roms/new.smc", P("link.smc"));
  fs::create_symlink("link.smc", P("chain.smc"));
  std::string error;
  ASSERT_TRUE(ReplaceFile(P("chain.smc"), Bytes{'n', 'e', 'w'}, error)) << error;
  EXPECT_TRUE(fs::is_symlink(P("chain.smc")));
  EXPECT_TRUE(fs::is_symlink(P("link.smc")));
  EXPECT_EQ(ReadText(dir / "roms" / "new.smc"), "new");
  fs::create_symlink("loop-b.smc", P("loop-a.smc"));
  fs::create_symlink("loop-a.smc", P("loop-b.smc"));
  EXPECT_FALSE(ReplaceFile(P("loop-a.smc"), Bytes{'x'}, error));
  EXPECT_TRUE(fs::is_symlink(P("loop-a.smc")));
}

TEST_F(FileReplace, StampNoticesAChangeOnDisk) {
  WriteText(P("game.smc"), "one");
  const FileStamp before = StampOf(P("game.smc"));
  EXPECT_TRUE(before.exists);
  EXPECT_EQ(StampOf(P("game.smc")), before);
  std::string error;
  ASSERT_TRUE(ReplaceFile(P("game.smc"), Bytes{'t', 'w', 'o'}, error));
  EXPECT_NE(StampOf(P("game.smc")), before);  // same size, but a new file
  EXPECT_FALSE(StampOf(P("none")).exists);
}

}  // namespace

namespace {

// The names in `folder` that start with ".qbrre-save-".
std::vector<std::string> TempNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (name.rfind(".qbrre-save-", 0) == 0) names.push_back(name);
  }
  return names;
}

}  // namespace

// A kill while the backup is written (here the file size limit's own signal, which ends the writer in
// the middle of its write) leaves no file under the backup's name, only a temporary file, which the
// next start removes once its writer is gone; a running writer's files stay.
TEST_F(FileReplace, KillDuringTheBackupLeavesNoBackupAndItsTemporaryFileIsRemovedLater) {
  const Bytes image(1 << 20, 0x5A);
  std::string error;
  ASSERT_TRUE(ReplaceFile(P("game.smc"), image, error)) << error;
  const int code = InChild([&] {
    rlimit no_core{0, 0}, limit{65536, 65536};
    setrlimit(RLIMIT_CORE, &no_core);
    setrlimit(RLIMIT_FSIZE, &limit);
    KeepBackupOnce(P("game.smc"), P("game.smc.bak"), error);
    return 0;
  });
  EXPECT_EQ(code, 100 + SIGXFSZ);
  EXPECT_FALSE(fs::exists(P("game.smc.bak")));
  ASSERT_EQ(TempNames(dir).size(), 1u);  // the dead writer's partial copy
  // Names of writers that still run (this process, and process 1) and names that carry no process.
  const std::string mine = ".qbrre-save-" + std::to_string(getpid()) + "-1";
  for (const std::string& name : {mine, std::string(".qbrre-save-1-7"), std::string(".qbrre-save-x-1")})
    WriteText(P(name), "in use");
  RemoveStaleTempFilesBeside(P("game.smc"));
  std::vector<std::string> left = TempNames(dir);
  std::sort(left.begin(), left.end());
  std::vector<std::string> want = {mine, ".qbrre-save-1-7", ".qbrre-save-x-1"};
  std::sort(want.begin(), want.end());
  EXPECT_EQ(left, want);
  EXPECT_EQ(ReadWholeFile(P("game.smc")).size(), image.size());
  // The next backup is made whole.
  ASSERT_TRUE(KeepBackupOnce(P("game.smc"), P("game.smc.bak"), error)) << error;
  EXPECT_EQ(fs::file_size(P("game.smc.bak")), image.size());
}
