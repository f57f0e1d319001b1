#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "rom/AppMenu.h"
#include "rom/autosave.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "rom/image_install.h"
#include "rom/image_save.h"
#include "rom/ips_patch.h"
#include "rom/patch_open.h"
#include "rom/recovery_store.h"
#include "tests/common/file_rights.h"
#include "tests/common/scoped_env.h"
#include "tests/common/temp_folder.h"
#include "tests/rom/rom_support.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::size_t kImageSize = 0x3D0000;

Bytes Unsigned(const std::vector<char>& b) { return Bytes(b.begin(), b.end()); }

void Age(const fs::path& p, int seconds) {
  fs::last_write_time(p, fs::file_time_type::clock::now() + std::chrono::seconds(seconds));
}

TEST(AutosaveDue, AFewQuietSecondsAfterAnEditAndNoMoreOftenThanTheInterval) {
  struct Case {
    double since_edit, since_unwritten, since_written;
    bool due;
  };
  const Case cases[] = {
      {0.0, 0.0, 1e9, false},   // still editing
      {2.9, 2.9, 1e9, false},   // not quiet long enough
      {3.0, 3.0, 1e9, true},    // quiet: the first copy
      {3.0, 10.0, 29.9, false}, // the last copy is too recent
      {3.0, 10.0, 30.0, true},
      {0.5, 29.9, 60.0, false}, // never quiet, not yet for long
      {0.5, 30.0, 60.0, true},  // never quiet for the interval: written all the same
  };
  for (const Case& c : cases)
    EXPECT_EQ(AutosaveDue(c.since_edit, c.since_unwritten, c.since_written), c.due)
        << c.since_edit << " " << c.since_unwritten << " " << c.since_written;
}

// Two images of one name in two folders, two patches on one image, an image and a patch session on
// it, and the demo image: each document has a name of its own.
TEST(RecoveryStore, NoTwoDocumentsShareACopy) {
  const std::vector<RecoveryIdentity> ids = {
      {"/a/game.smc", ""},          {"/b/game.smc", ""},         {"/a/game.smc", "/a/hack.ips"},
      {"/a/game.smc", "/a/hack2.ips"}, {"/a/hack.ips", "/a/game.smc"}, {"", ""},
  };
  std::vector<std::string> paths;
  for (const RecoveryIdentity& id : ids) paths.push_back(RecoveryCopyPath("/state", id));
  for (std::size_t i = 0; i < paths.size(); ++i)
    for (std::size_t j = i + 1; j < paths.size(); ++j) EXPECT_NE(paths[i], paths[j]) << i << " " << j;
  EXPECT_EQ(paths[5], "/state/demo.recovery");
  EXPECT_EQ(fs::path(paths[0]).filename().string().rfind("game.smc-", 0), 0u) << paths[0];
  EXPECT_EQ(fs::path(paths[2]).filename().string().rfind("hack.ips-on-game.smc-", 0), 0u) << paths[2];
  EXPECT_EQ(RecoveryCopyPath("/state", ids[0], 2), paths[0].substr(0, paths[0].size() - 9) + ".2.recovery");
}

// A copy reads back with what identifies it; copies cut short and other files are no copies; the list
// is newest first.
TEST(RecoveryStore, CopiesReadBackAndIncompleteOnesAreSkipped) {
  TempFolder dir;
  const RecoveryIdentity image{"/a/game.smc", ""}, session{"/a/game.smc", "/a/hack.bps"};
  const Bytes bytes = {1, 2, 3, '\n', '\n', 4};
  std::string error;
  const std::string first = RecoveryCopyPath(dir.path().string(), image);
  const std::string second = RecoveryCopyPath(dir.path().string(), session);
  ASSERT_TRUE(WriteRecoveryCopy(first, RecoveryHeader(image, "GameConfig/QBR v10U.INI", 7, bytes.size()), bytes, error))
      << error;
  ASSERT_TRUE(WriteRecoveryCopy(second, RecoveryHeader(session, "", 2, bytes.size()), bytes, error)) << error;
  Age(first, -10);
  const std::string cut = (dir / "cut.recovery").string();
  fs::copy_file(second, cut);
  fs::resize_file(cut, fs::file_size(cut) - 1);
  WriteWholeFile(dir / "other.recovery", {'x', '\n', '\n'});

  RecoveryCopy copy;
  ASSERT_TRUE(ReadRecoveryCopy(first, copy, true));
  EXPECT_EQ(copy.id, image);
  EXPECT_EQ(copy.config, "GameConfig/QBR v10U.INI");
  EXPECT_EQ(copy.position, 7u);
  EXPECT_EQ(copy.size, bytes.size());
  EXPECT_EQ(copy.bytes, bytes);
  EXPECT_FALSE(ReadRecoveryCopy(cut, copy, false));

  const std::vector<RecoveryCopy> all = ListRecoveryCopies(dir.path().string());
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].path, second);
  EXPECT_EQ(all[0].id, session);
  EXPECT_EQ(all[1].path, first);
  EXPECT_TRUE(all[1].bytes.empty());  // listed without their bytes
  ASSERT_EQ(RecoveryCopiesOf(dir.path().string(), image).size(), 1u);
}

class Recovery : public ::testing::Test {
 protected:
  Recovery() { SetImageOpenedHook(OfferRecoveryOnOpen); }
  ~Recovery() override { SetImageOpenedHook(nullptr); }

  fs::path Folder() const { return state / "qbrre" / "recovery"; }
  std::vector<std::string> CopyNames() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(Folder(), ec)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // Writes `bytes` as image file `name` (its time 100 s ago) and opens it with the Open command.
  fs::path Open(const std::string& name, const std::vector<char>& bytes) {
    const fs::path path = sandbox.dir() / name;
    WriteWholeFile(path, bytes);
    Age(path, -100);
    log.answers.insert(log.answers.begin(), path.string());
    AppMenuOpenImage();
    return path;
  }

  EventLog log;
  OpenSandbox sandbox{log};
  fs::path state = sandbox.dir() / "state";
  ScopedEnv xdg{"XDG_STATE_HOME", state.c_str()};
};

// A close signal's copy holds the bytes Save would write and what identifies the image; nothing is
// written without edits; the crash handler's copy, written without allocating, is the same file.
TEST_F(Recovery, KeepingTheWorkWritesTheDocumentAndItsIdentity) {
  const std::vector<char> original = ImageWithCrc(kImageSize, kQBR1KnownCRC32);
  const fs::path path = Open("game.smc", original);
  ASSERT_TRUE(KeepWorkNow());
  EXPECT_TRUE(CopyNames().empty());  // nothing to keep
  QBR1_WriteByte(0x10, 0x55);
  QBR1_WriteWord(0x2000, 0xBEEF);
  ASSERT_TRUE(KeepWorkNow());
  const std::string copy_path = RecoveryCopyPath(Folder().string(), OpenDocumentIdentity());
  RecoveryCopy copy;
  ASSERT_TRUE(ReadRecoveryCopy(copy_path, copy, true));
  EXPECT_EQ(copy.id.image, fs::canonical(path).string());
  EXPECT_EQ(copy.id.patch, "");
  EXPECT_EQ(copy.config, ImageGameConfig());
  EXPECT_EQ(copy.position, 2u);
  EXPECT_EQ(copy.bytes, QBR1_SavedFileBytes());
  EXPECT_TRUE(ReadWholeFile(path) == original);

  const std::vector<char> kept = ReadWholeFile(copy_path);
  fs::remove(copy_path);
  KeepWorkFromSignal();
  EXPECT_TRUE(ReadWholeFile(copy_path) == kept);
  EXPECT_EQ(CopyNames(), std::vector<std::string>{fs::path(copy_path).filename().string()});
}

// A state folder that refuses the copy: the edits are said to be lost, and the answer is false (the
// program then exits with status 1). Run without the rights that override permission bits.
TEST_F(Recovery, AFolderThatRefusesTheCopySaysTheEditsAreLost) {
  Open("game.smc", ImageWithCrc(kImageSize, kQBR1KnownCRC32));
  QBR1_WriteByte(0x10, 0x55);
  fs::create_directories(state);
  fs::permissions(state, fs::perms::owner_read | fs::perms::owner_exec);
  const fs::path err_file = sandbox.dir() / "err.txt";
  const pid_t pid = fork();
  if (pid == 0) {
    DropFileOverrideRights();
    std::FILE* err = std::freopen(err_file.c_str(), "w", stderr);
    const bool kept = KeepWorkNow();
    if (err != nullptr) std::fclose(err);
    _exit(kept ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  fs::permissions(state, fs::perms::owner_all);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
  const std::string err = ReadText(err_file);
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_EQ(err.rfind("qbrre: the unsaved edits are lost", 0), 0u) << err;
}

// Opening an image with a copy newer than the file asks; Yes gives the copy's edits as one undoable
// edit, No keeps the copy, and the next copy then goes beside it. A copy older than the file, or of
// another size, is not offered. A Save removes every copy of the image.
TEST_F(Recovery, OpeningOffersANewerCopyAndSaveRemovesIt) {
  const std::vector<char> original = ImageWithCrc(kImageSize, kQBR1KnownCRC32);
  std::vector<char> edited = original;
  edited[0x20] = static_cast<char>(~edited[0x20]);
  edited[0x3000] = static_cast<char>(~edited[0x3000]);
  struct Case {
    const char* name;
    int copy_age;         // seconds from now; the file's is -100
    std::size_t size;     // of the copy
    const char* answer;   // "" when nothing is asked
    bool restored;
  };
  const Case cases[] = {
      {"newer, yes", 0, kImageSize, "yes", true},
      {"newer, no", 0, kImageSize, "no", false},
      {"older", -200, kImageSize, "", false},
      {"another size", 0, kImageSize - 0x8000, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(state);
    const fs::path path = sandbox.dir() / "game.smc";
    WriteWholeFile(path, original);
    const RecoveryIdentity id = MakeRecoveryIdentity(path.string(), "");
    const std::string copy = RecoveryCopyPath(Folder().string(), id);
    std::string error;
    const Bytes copy_bytes(edited.begin(), edited.begin() + static_cast<std::ptrdiff_t>(c.size));
    ASSERT_TRUE(WriteRecoveryCopy(copy, RecoveryHeader(id, "", 1, copy_bytes.size()), copy_bytes, error)) << error;
    Age(copy, c.copy_age);
    log.boxes.clear();
    log.answers.clear();
    if (*c.answer) log.answers.push_back(c.answer);
    Open("game.smc", original);

    const bool asked = *c.answer != '\0';
    ASSERT_EQ(log.boxes.size(), asked ? 3u : 2u);  // the file dialog, the question, the notice
    if (asked) {
      EXPECT_EQ(log.boxes[1].title, "Unsaved Edits Found");
      EXPECT_EQ(log.boxes[1].text.rfind("Restore the unsaved edits of \"game.smc\" from ", 0), 0u) << log.boxes[1].text;
    }
    EXPECT_EQ(QBR1_HasUnsavedEdits(), c.restored);
    EXPECT_EQ(QBR1[0x3000] == edited[0x3000], c.restored);
    EXPECT_TRUE(ReadWholeFile(path) == original);
    EXPECT_TRUE(fs::exists(copy));
    if (c.restored) {
      EXPECT_EQ(QBR1_SavedFileBytes(), Unsigned(edited));
      EXPECT_EQ(QBR1_UndoCount(), 1u);
    } else {
      QBR1_WriteByte(0x40, 0x11);
    }
    // The close signal's copy: over the restored one, beside the declined one.
    ASSERT_TRUE(KeepWorkNow());
    const std::string stem = fs::path(copy).stem().string();
    const bool declined = std::string(c.answer) == "no";
    EXPECT_EQ(CopyNames().size(), declined ? 2u : 1u);
    if (declined) {
      EXPECT_TRUE(fs::exists(Folder() / (stem + ".1.recovery")));
    }
    log.answers.clear();
    ASSERT_TRUE(SaveImage());
    EXPECT_TRUE(CopyNames().empty());
  }
}

// An image with a 512-byte copier header: the copy is the whole file, and each byte it changes is
// restored at the image's own offset; the header stays as opened.
TEST_F(Recovery, AHeaderImageRestoresEachByteAtItsOwnOffset) {
  std::vector<char> file(512);
  for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<char>(i * 5);
  const std::vector<char> image = ImageWithCrc(kImageSize, kQBR1KnownCRC32);
  file.insert(file.end(), image.begin(), image.end());
  const fs::path path = sandbox.dir() / "headered.smc";
  WriteWholeFile(path, file);
  Age(path, -100);
  std::vector<char> edited = file;
  edited[512 + 0x20] = static_cast<char>(~edited[512 + 0x20]);
  edited[512 + 0x3001] = static_cast<char>(~edited[512 + 0x3001]);
  edited[0x20] = static_cast<char>(~edited[0x20]);  // a header byte: not part of the image
  const RecoveryIdentity id = MakeRecoveryIdentity(path.string(), "");
  std::string error;
  ASSERT_TRUE(WriteRecoveryCopy(RecoveryCopyPath(Folder().string(), id), RecoveryHeader(id, "", 1, edited.size()),
                                Unsigned(edited), error));
  log.answers = {path.string(), "yes"};
  AppMenuOpenImage();
  ASSERT_EQ(QBR1_HeaderSize(), 512u);
  EXPECT_EQ(QBR1[0x20], edited[512 + 0x20]);
  EXPECT_EQ(QBR1[0x3001], edited[512 + 0x3001]);
  EXPECT_EQ(QBR1[0x3000], image[0x3000]);
  std::vector<char> expected = edited;
  expected[0x20] = file[0x20];
  EXPECT_EQ(QBR1_SavedFileBytes(), Unsigned(expected));
}

// Restoring into a document with edits of its own makes it hold the copy exactly, as one undo step.
TEST_F(Recovery, RestoringIntoAnEditedDocumentGivesTheCopyAsOneStep) {
  const std::vector<char> original = ImageWithCrc(kImageSize, kQBR1KnownCRC32);
  Open("game.smc", original);
  QBR1_WriteByte(0x40, 0x11);
  const Bytes before = QBR1_SavedFileBytes();
  Bytes copy = Unsigned(original);
  copy[0x20] ^= 0xFF;
  EXPECT_FALSE(RestoreRecoveryBytes(Bytes(copy.begin(), copy.end() - 1)));  // another size: nothing
  EXPECT_EQ(QBR1_UndoCount(), 1u);
  ASSERT_TRUE(RestoreRecoveryBytes(copy));
  EXPECT_EQ(QBR1_SavedFileBytes(), copy);
  EXPECT_EQ(QBR1_UndoCount(), 2u);
  ASSERT_TRUE(QBR1_Undo(nullptr));
  EXPECT_EQ(QBR1_SavedFileBytes(), before);
}

// A patch session's copy is its own, beside the copy of its clean image, and offered back when the
// same patch is opened on the same image again.
TEST_F(Recovery, APatchSessionKeepsACopyOfItsOwn) {
  const std::vector<char> original = ImageWithCrc(kImageSize, kQBR1KnownCRC32);
  const fs::path rom = Open("game.smc", original);
  QBR1_WriteByte(0x10, 0x55);
  ASSERT_TRUE(KeepWorkNow());
  Bytes patched = Unsigned(original);
  patched[0x100] ^= 0xFF;
  Bytes patch;
  std::string error;
  ASSERT_TRUE(MakeIpsPatch(Unsigned(original), patched, patch, error)) << error;
  const fs::path patch_path = sandbox.dir() / "hack.ips";
  WriteWholeFile(patch_path, std::vector<char>(patch.begin(), patch.end()));
  Age(patch_path, -100);

  ASSERT_TRUE(OpenImageWithPatch(rom.string(), patch_path.string()));
  EXPECT_EQ(OpenDocumentIdentity(), MakeRecoveryIdentity(rom.string(), patch_path.string()));
  QBR1_WriteByte(0x30, 0x66);
  ASSERT_TRUE(KeepWorkNow());
  EXPECT_EQ(CopyNames().size(), 2u);

  log.boxes.clear();
  log.answers = {"yes"};
  ASSERT_TRUE(OpenImageWithPatch(rom.string(), patch_path.string()));
  ASSERT_GE(log.boxes.size(), 1u);
  EXPECT_EQ(log.boxes[0].text.rfind("Restore the unsaved edits of \"hack.ips on game.smc\" from ", 0), 0u)
      << log.boxes[0].text;
  EXPECT_EQ(QBR1[0x30], 0x66);
  EXPECT_EQ(static_cast<unsigned char>(QBR1[0x100]), patched[0x100]);
  EXPECT_EQ(QBR1[0x10], original[0x10]);  // the image's own copy stays apart
}

}  // namespace
