#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "rom/bps_patch.h"
#include "rom/recovery_store.h"
#include "tests/common/file_rights.h"
#include "view_support.h"

namespace fs = std::filesystem;

// Editing a generated image saved to a file, through the program's own keys and mouse: Save keeps
// the original as .bak, Save IPS gives a patch that rebuilds the saved file, undo and Save As give
// the original back, unsaved edits are asked about before closing and kept in a recovery copy by
// every other end, and a Save that cannot write leaves the file as it was and says so.

namespace {

using Bytes = std::vector<unsigned char>;
using Clock = std::chrono::steady_clock;

// A level point in the view of the first level, away from the view's edges and panels.
constexpr int kPaintX = 150, kPaintY = 170;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void Write(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
}

// Waits until `path` exists and `ready` holds for its bytes.
template <typename Ready>
bool WaitForFile(const fs::path& path, Ready ready, double timeout_s = 15.0) {
  const auto start = Clock::now();
  do {
    std::error_code ec;
    if (fs::exists(path, ec) && ready(e2e::ReadBytes(path))) return true;
    e2e::Hold(50);
  } while (SecondsSince(start) < timeout_s);
  return false;
}

// Offsets at which two files of the same size differ.
std::vector<std::size_t> Differences(const Bytes& a, const Bytes& b) {
  std::vector<std::size_t> at;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (a[i] != b[i]) at.push_back(i);
  return at;
}

// A reader of IPS patches written from the format's description alone: "PATCH", records of a 3-byte
// offset and a 2-byte size (big-endian), a 2-byte count and a fill byte when the size is 0, "EOF".
bool ApplyIpsIndependently(const Bytes& patch, Bytes& file) {
  if (patch.size() < 8 || std::string(patch.begin(), patch.begin() + 5) != "PATCH") return false;
  std::size_t p = 5;
  while (p + 3 <= patch.size()) {
    if (patch[p] == 'E' && patch[p + 1] == 'O' && patch[p + 2] == 'F') return p + 3 == patch.size();
    if (p + 5 > patch.size()) return false;
    const std::size_t offset = (std::size_t{patch[p]} << 16) | (patch[p + 1] << 8) | patch[p + 2];
    std::size_t size = (patch[p + 3] << 8) | patch[p + 4];
    p += 5;
    if (size == 0) {
      if (p + 3 > patch.size()) return false;
      size = (patch[p] << 8) | patch[p + 1];
      if (file.size() < offset + size) file.resize(offset + size);
      for (std::size_t i = 0; i < size; ++i) file[offset + i] = patch[p + 2];
      p += 3;
    } else {
      if (p + size > patch.size()) return false;
      if (file.size() < offset + size) file.resize(offset + size);
      for (std::size_t i = 0; i < size; ++i) file[offset + i] = patch[p + i];
      p += size;
    }
  }
  return false;
}

// A disk that takes no file larger than 1 MiB: writes past it fail with EFBIG instead of a signal.
void LimitFileSize() {
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{1 << 20, 1 << 20};
  setrlimit(RLIMIT_FSIZE, &limit);
}

// The dialog log as text, for failure messages.
std::string LogText(const std::vector<e2e::DialogLogEntry>& log) {
  std::string text;
  for (const e2e::DialogLogEntry& e : log) text += e.kind + " \"" + e.title + "\" -> " + e.answer + "\n";
  return text;
}

class SaveEndToEnd : public e2e::EndToEndTest {
 protected:
  void SetUp() override {
    e2e::EndToEndTest::SetUp();
    original = e2e::Demo().rom;
  }
  void TearDown() override {
    e2e::EndToEndTest::TearDown();
    // A folder the test made read-only is opened again, so the private folder can go.
    std::error_code ec;
    fs::permissions(dir / "ro", fs::perms::owner_all, ec);
  }

  // Writes the generated image to `image` and starts the program on it; the identification
  // question is answered yes, the notice ok, then `answers` in order.
  void Launch(const fs::path& image, const std::vector<std::string>& answers, void (*in_child)() = nullptr) {
    fs::create_directories(image.parent_path());
    Write(image, original);
    e2e::LaunchOptions options;
    options.args = {image.string()};
    options.dialog_answers = {"yes", "ok"};
    options.dialog_answers.insert(options.dialog_answers.end(), answers.begin(), answers.end());
    options.in_child = in_child;
    options.state_home = (dir / "state").string();
    LaunchEditor(options);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(WaitForLevelName()) << "the status line never showed the level";
  }

  // Waits until the status line shows the level's name, so the editor's frames are on the screen.
  bool WaitForLevelName(double timeout_s = 15.0) const {
    const auto start = Clock::now();
    do {
      e2e::Screenshot shot;
      if (e2e::TakeScreenshot(shot)) {
        const uint32_t first = shot.Pixel(wx + 8, wy + wh - 18);
        for (int y = wh - 18; y < wh - 6; ++y)
          for (int x = 8; x < 120; ++x)
            if (shot.Pixel(wx + x, wy + y) != first) return true;
      }
      e2e::Hold(100);
    } while (SecondsSince(start) < timeout_s);
    return false;
  }

  // Paints the map entry under the view point with its horizontal mirror bit turned: takes it as the
  // brush (right click), turns the bit (H) and paints it back (left click).
  void PaintMirroredEntry() {
    e2e::Click(wx + kPaintX, wy + kPaintY, 3);
    e2e::Hold(150);
    e2e::Key("h");
    e2e::Click(wx + kPaintX, wy + kPaintY, 1);
  }

  // Keys go to the window under the mouse.
  void KeyInWindow(const std::string& key, int hold_ms = 100) {
    e2e::MouseMove(wx + ww / 2, wy + wh / 2);
    e2e::Key(key, hold_ms);
  }

  // The right end of the status line, where the unsaved-edits note appears.
  std::vector<uint32_t> StatusNote() const {
    e2e::Screenshot shot;
    std::vector<uint32_t> pixels;
    if (!e2e::TakeScreenshot(shot)) return pixels;
    for (int y = wh - 18; y < wh - 6; ++y)
      for (int x = ww - 140; x < ww - 20; ++x) pixels.push_back(shot.Pixel(wx + x, wy + y));
    return pixels;
  }
  template <typename Pred>
  bool WaitForNote(Pred pred, double timeout_s = 10.0) const {
    const auto start = Clock::now();
    do {
      if (pred(StatusNote())) return true;
      e2e::Hold(100);
    } while (SecondsSince(start) < timeout_s);
    return false;
  }

  // Starts the program with `args` and `answers` (recovery copies in the test's state/ folder) and
  // waits for the level editor's frames.
  void LaunchWith(const std::vector<std::string>& args, const std::vector<std::string>& answers) {
    e2e::LaunchOptions options;
    options.args = args;
    options.dialog_answers = answers;
    options.state_home = (dir / "state").string();
    LaunchEditor(options);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(WaitForLevelName()) << "the status line never showed the level";
  }
  fs::path CopyFolder() const { return dir / "state" / "qbrre" / "recovery"; }
  // The recovery copies in the test's state folder.
  std::vector<fs::path> RecoveryCopies() const {
    std::vector<fs::path> copies;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(CopyFolder(), ec))
      if (entry.path().extension() == ".recovery") copies.push_back(entry.path());
    return copies;
  }

  // The one map word the paint changed, checked against the original: its horizontal mirror bit.
  void ExpectOneMirroredWord(const Bytes& saved) const { ExpectOneMirroredWord(original, saved); }
  void ExpectOneMirroredWord(const Bytes& base, const Bytes& saved) const {
    ASSERT_EQ(saved.size(), base.size());
    const std::vector<std::size_t> diff = Differences(base, saved);
    ASSERT_EQ(diff.size(), 1u);
    const std::size_t word = diff[0] & ~std::size_t{1};
    const unsigned before = base[word] | (base[word + 1] << 8);
    const unsigned after = saved[word] | (saved[word + 1] << 8);
    EXPECT_EQ(before ^ after, 0x4000u) << std::hex << word;
  }

  Bytes original;
};

TEST_F(SaveEndToEnd, SaveBackupPatchUndoSaveAsAndTheQuestionBeforeClosing) {
  const fs::path image = dir / "game.smc", ips = dir / "changes.ips", copy = dir / "copy.smc";
  Launch(image, {ips.string(), copy.string(), "cancel", "no"});
  const std::vector<uint32_t> clean = StatusNote();

  PaintMirroredEntry();
  EXPECT_TRUE(WaitForNote([&](const std::vector<uint32_t>& now) { return now != clean; }))
      << "the status line shows no unsaved edits";
  KeyInWindow("ctrl+s");
  ASSERT_TRUE(WaitForFile(image, [&](const Bytes& b) { return b != original; })) << app->Stderr();
  const Bytes saved = e2e::ReadBytes(image);
  ExpectOneMirroredWord(saved);
  EXPECT_TRUE(e2e::ReadBytes(dir / "game.smc.bak") == original);
  EXPECT_TRUE(WaitForNote([&](const std::vector<uint32_t>& now) { return now == clean; }));

  // Save IPS from the toolbar: the patch rebuilds the saved file, by the program and by our reader.
  e2e::Click(wx + 63, wy + 47);
  ASSERT_TRUE(WaitForFile(ips, [](const Bytes& b) { return b.size() >= 8; })) << app->Stderr();
  Bytes rebuilt = original;
  ASSERT_TRUE(ApplyIpsIndependently(e2e::ReadBytes(ips), rebuilt));
  EXPECT_TRUE(rebuilt == saved);
  int status = -1;
  e2e::RunCommand(std::string(QBRRE_BINARY_PATH) + " --apply-ips " + ips.string() + " " + image.string() + ".bak" +
                      " --output " + (dir / "applied.smc").string(),
                  &status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(e2e::ReadBytes(dir / "applied.smc") == saved);

  // Undo, then Save As: the original again, and the .bak of the first Save untouched.
  KeyInWindow("ctrl+z");
  EXPECT_TRUE(WaitForNote([&](const std::vector<uint32_t>& now) { return now != clean; }));
  KeyInWindow("ctrl+shift+s");
  ASSERT_TRUE(WaitForFile(copy, [&](const Bytes& b) { return b == original; })) << app->Stderr();
  EXPECT_TRUE(e2e::ReadBytes(image) == saved);

  // Redo makes the image differ from copy.smc (now its file): Escape asks, Cancel stays.
  KeyInWindow("ctrl+y");
  EXPECT_TRUE(WaitForNote([&](const std::vector<uint32_t>& now) { return now != clean; }));
  KeyInWindow("Escape");
  ASSERT_TRUE(app->WaitForDialog("yesnocancel")) << app->Stderr();
  const std::vector<e2e::DialogLogEntry> log = app->DialogLog();
  EXPECT_EQ(log.back().text, "Save changes to \"copy.smc\"?") << LogText(log);
  EXPECT_EQ(log.back().answer, "cancel") << LogText(log);
  // Still running and still working: the next Escape asks again, and No closes without saving. The
  // key is held for many updates: the question comes once all the same.
  KeyInWindow("Escape", 500);
  EXPECT_EQ(app->WaitForExit(15.0), 0);
  const std::vector<e2e::DialogLogEntry> closing = app->DialogLog();
  ASSERT_EQ(closing.size(), log.size() + 1) << LogText(closing);
  EXPECT_EQ(closing.back().answer, "no") << LogText(closing);
  EXPECT_TRUE(e2e::ReadBytes(copy) == original);
}

// Every way the program can end with unsaved edits leaves them in a recovery copy and a non-zero
// status within 5 s: the display lost (a private X server ended), a crash signal, a close signal, and
// kill -9, which keeps what the last autosave held. The next start on the image offers the copy;
// restoring and saving gives the edits, and the Save removes the copy.
TEST_F(SaveEndToEnd, EveryEndKeepsTheEditsInARecoveryCopy) {
  struct Case {
    const char* name;
    bool lose_display;  // else the signal `sig`
    int sig;
    bool wait_for_autosave;
  };
  const Case cases[] = {
      {"X server ended", true, 0, false},
      {"SIGSEGV", false, SIGSEGV, false},
      {"SIGTERM", false, SIGTERM, false},
      {"kill -9 after the autosave", false, SIGKILL, true},
  };
  const fs::path image = dir / "game.smc";
  const std::string shared_display = std::getenv("DISPLAY");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(CopyFolder());
    std::unique_ptr<e2e::OwnXServer> own;
    if (c.lose_display) {
      own = std::make_unique<e2e::OwnXServer>(1280, 1024);
      ASSERT_FALSE(own->display().empty());
      setenv("DISPLAY", own->display().c_str(), 1);
    }
    Launch(image, {});
    if (!HasFatalFailure()) {
      const std::vector<uint32_t> clean = StatusNote();
      PaintMirroredEntry();
      EXPECT_TRUE(WaitForNote([&](const std::vector<uint32_t>& now) { return now != clean; }));
    }
    setenv("DISPLAY", shared_display.c_str(), 1);
    ASSERT_FALSE(HasFatalFailure());
    if (c.wait_for_autosave) {
      ASSERT_TRUE(WaitUntil([&] { return RecoveryCopies().size() == 1; })) << "no autosave" << app->Stderr();
    }
    if (c.lose_display) {
      own->Stop();
    } else {
      ASSERT_EQ(kill(app->pid(), c.sig), 0);
    }
    const std::optional<int> status = app->WaitForExit(5.0);
    ASSERT_TRUE(status.has_value()) << "still running 5 s later";
    EXPECT_NE(*status, 0) << app->Stderr();
    EXPECT_TRUE(e2e::ReadBytes(image) == original);  // the file itself is written only by Save
    ASSERT_EQ(RecoveryCopies().size(), 1u) << app->Stderr();
    for (const e2e::DialogLogEntry& entry : app->DialogLog()) EXPECT_NE(entry.kind, "yesnocancel");

    // The next start offers the copy: the identification, the copy, the notice.
    LaunchWith({image.string()}, {"yes", "yes", "ok"});
    ASSERT_FALSE(HasFatalFailure());
    const std::vector<e2e::DialogLogEntry> log = app->DialogLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1].title, "Unsaved Edits Found");
    EXPECT_EQ(log[1].text.rfind("Restore the unsaved edits of \"game.smc\" from ", 0), 0u) << log[1].text;
    KeyInWindow("ctrl+s");
    ASSERT_TRUE(WaitForFile(image, [&](const Bytes& b) { return b != original; })) << app->Stderr();
    ExpectOneMirroredWord(e2e::ReadBytes(image));
    EXPECT_TRUE(RecoveryCopies().empty());
    KeyInWindow("Escape");
    EXPECT_EQ(app->WaitForExit(15.0), 0);
    Write(image, original);
  }
}

// A patch session and the demo image each keep a copy of their own: neither overwrites the other, and
// each is offered back when that document is opened again.
TEST_F(SaveEndToEnd, APatchSessionAndTheDemoKeepCopiesOfTheirOwn) {
  const fs::path rom = dir / "game.smc", patch = dir / "hack.bps";
  // The hack changes bytes at the end of the image, which no level reads.
  Bytes hack = original;
  for (std::size_t i = hack.size() - 64; i < hack.size(); ++i) hack[i] = static_cast<unsigned char>(i * 3);
  Write(rom, original);
  Write(patch, MakeBpsPatch(original, hack));
  const std::vector<std::string> session = {rom.string(), "--patch", patch.string()};

  // Edited and closed by a signal: the demo (its notice), then the session (identification, notice).
  const auto edit_and_terminate = [&](const std::vector<std::string>& args, const std::vector<std::string>& answers) {
    LaunchWith(args, answers);
    ASSERT_FALSE(HasFatalFailure());
    const std::vector<uint32_t> clean = StatusNote();
    PaintMirroredEntry();
    ASSERT_TRUE(WaitForNote([&](const std::vector<uint32_t>& now) { return now != clean; }));
    ASSERT_EQ(kill(app->pid(), SIGTERM), 0);
    EXPECT_EQ(app->WaitForExit(5.0), 128 + SIGTERM) << app->Stderr();
  };
  edit_and_terminate({"--demo"}, {"ok"});
  ASSERT_FALSE(HasFatalFailure());
  const std::vector<fs::path> demo_only = RecoveryCopies();
  ASSERT_EQ(demo_only.size(), 1u);
  EXPECT_EQ(demo_only[0].filename(), "demo.recovery");
  const Bytes demo_copy = e2e::ReadBytes(demo_only[0]);
  edit_and_terminate(session, {"yes", "ok"});
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_EQ(RecoveryCopies().size(), 2u);
  EXPECT_TRUE(e2e::ReadBytes(demo_only[0]) == demo_copy);

  // Reopened, each offers its own copy; Save As writes the restored edits and removes that copy only.
  struct Reopen {
    const char* name;
    std::vector<std::string> args, answers;
    const char* document;
    fs::path saved;
    const Bytes* base;
  };
  const Reopen reopens[] = {
      {"demo", {"--demo"}, {"yes", "ok"}, "QBRRE demo image", dir / "demo_saved.smc", &original},
      {"session", session, {"yes", "yes", "ok"}, "hack.bps on game.smc", dir / "hack_saved.smc", &hack},
  };
  std::size_t left = 2;
  for (const Reopen& r : reopens) {
    SCOPED_TRACE(r.name);
    std::vector<std::string> answers = r.answers;
    answers.push_back(r.saved.string());  // the first Save asks where to write
    LaunchWith(r.args, answers);
    ASSERT_FALSE(HasFatalFailure());
    bool offered = false;
    for (const e2e::DialogLogEntry& entry : app->DialogLog())
      offered |= entry.text.rfind(std::string("Restore the unsaved edits of \"") + r.document + "\" from ", 0) == 0;
    EXPECT_TRUE(offered);
    KeyInWindow("ctrl+s");
    ASSERT_TRUE(WaitForFile(r.saved, [&](const Bytes& b) { return b.size() == original.size(); })) << app->Stderr();
    ExpectOneMirroredWord(*r.base, e2e::ReadBytes(r.saved));
    EXPECT_TRUE(WaitUntil([&] { return RecoveryCopies().size() == left - 1; }));
    --left;
    KeyInWindow("Escape");
    EXPECT_EQ(app->WaitForExit(15.0), 0);
  }
}

// File > Recover... from the start-up screen lists every copy with its image, time and size; the one
// chosen opens its image with the copy restored, without another question, and Save writes it.
TEST_F(SaveEndToEnd, RecoverListsTheCopiesAndOpensTheChosenOnesImage) {
  const fs::path image = dir / "game.smc";
  Write(image, original);
  Bytes edited = original;
  constexpr std::size_t kWord = 0x3FFF00;
  edited[kWord + 1] ^= 0x40;  // the horizontal mirror bit of one word
  const fs::path folder = CopyFolder();
  const RecoveryIdentity id = MakeRecoveryIdentity(image.string(), "");
  const RecoveryIdentity other = MakeRecoveryIdentity((dir / "other.smc").string(), "");
  std::string error;
  ASSERT_TRUE(WriteRecoveryCopy(RecoveryCopyPath(folder.string(), id), RecoveryHeader(id, "", 1, edited.size()),
                                edited, error)) << error;
  ASSERT_TRUE(WriteRecoveryCopy(RecoveryCopyPath(folder.string(), other),
                                RecoveryHeader(other, "", 3, original.size()), original, error)) << error;
  const std::string chosen = fs::path(RecoveryCopyPath(folder.string(), id)).filename().string();

  e2e::LaunchOptions options;
  // The first Open cancelled and its notice; the copy chosen; its image identified and the notice.
  options.dialog_answers = {"cancel", "ok", chosen, "yes", "ok"};
  options.state_home = (dir / "state").string();
  e2e::EndToEndTest::Launch(options);
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_TRUE(app->WaitForDialogs(2)) << app->Stderr();
  e2e::Chord("alt", "f");
  e2e::Key("Down");  // from "Open..." to "Recover..."
  e2e::Key("Return");
  ASSERT_TRUE(app->WaitForMode(1)) << app->Stderr();
  const std::vector<e2e::DialogLogEntry> log = app->DialogLog();
  ASSERT_GE(log.size(), 5u);
  EXPECT_EQ(log[2].kind, "list");
  EXPECT_EQ(log[2].title, "Recover");
  for (const RecoveryIdentity& listed : {id, other}) EXPECT_NE(log[2].text.find(listed.image), std::string::npos) << log[2].text;
  EXPECT_NE(log[2].text.find(std::to_string(original.size()) + " bytes"), std::string::npos) << log[2].text;
  EXPECT_EQ(log[4].kind, "info");  // no question about the copy: it was chosen
  ASSERT_TRUE(app->WaitForSize(776, 604, 15.0));
  ASSERT_TRUE(app->Geometry(wx, wy, ww, wh));
  ASSERT_TRUE(WaitForLevelName());
  KeyInWindow("ctrl+s");
  ASSERT_TRUE(WaitForFile(image, [&](const Bytes& b) { return b != original; })) << app->Stderr();
  ExpectOneMirroredWord(e2e::ReadBytes(image));
  EXPECT_EQ(RecoveryCopies().size(), 1u);  // the other image's copy stays
  KeyInWindow("Escape");
  EXPECT_EQ(app->WaitForExit(15.0), 0);
}

TEST_F(SaveEndToEnd, SaveThatCannotWriteLeavesTheFileAndSaysSo) {
  struct Case {
    const char* name;
    const char* folder;
    void (*in_child)();
    const char* reason;
  };
  const Case cases[] = {
      {"read-only folder", "ro", DropFileOverrideRights, "temporary file"},
      {"full disk", "full", LimitFileSize, "writing failed"},
  };
  for (const Case& c : cases) {
    const fs::path image = dir / c.folder / "game.smc";
    Launch(image, {"ok", "no"}, c.in_child);
    Write(dir / c.folder / "game.smc.bak", original);  // the backup exists: only the write itself is tried
    if (std::string(c.folder) == "ro") fs::permissions(dir / c.folder, fs::perms::owner_read | fs::perms::owner_exec);
    const std::vector<uint32_t> clean = StatusNote();
    PaintMirroredEntry();
    ASSERT_TRUE(WaitForNote([&](const std::vector<uint32_t>& now) { return now != clean; })) << c.name;
    KeyInWindow("ctrl+s");
    ASSERT_TRUE(app->WaitForDialog("error")) << c.name << app->Stderr();
    e2e::DialogLogEntry error;
    for (const e2e::DialogLogEntry& entry : app->DialogLog())
      if (entry.kind == "error") error = entry;
    EXPECT_EQ(error.title, "Error saving file!") << c.name;
    EXPECT_NE(error.text.find(c.reason), std::string::npos) << c.name << ": " << error.text;
    EXPECT_NE(error.text.find("The file on disk was not changed."), std::string::npos) << c.name;
    EXPECT_TRUE(e2e::ReadBytes(image) == original) << c.name;
    std::size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(dir / c.folder)) entries += entry.is_regular_file();
    EXPECT_EQ(entries, 2u) << c.name << ": a temporary file was left";
    // The edits are still unsaved: closing asks, No ends the program.
    KeyInWindow("Escape");
    EXPECT_EQ(app->WaitForExit(15.0), 0) << c.name;
    EXPECT_EQ(app->DialogLog().back().kind, "yesnocancel") << c.name;
    fs::permissions(dir / c.folder, fs::perms::owner_all);
  }
}

}  // namespace
