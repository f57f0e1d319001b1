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
#include <string>
#include <vector>

#include "e2e_support.h"
#include "tests/common/file_rights.h"
#include "view_support.h"

namespace fs = std::filesystem;

// Editing a generated image saved to a file, through the program's own keys and mouse: Save keeps
// the original as .bak, Save IPS gives a patch that rebuilds the saved file, undo and Save As give
// the original back, unsaved edits are asked about before closing and kept on a close signal, and a
// Save that cannot write leaves the file as it was and says so.

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

  // The one map word the paint changed, checked against the original: its horizontal mirror bit.
  void ExpectOneMirroredWord(const Bytes& saved) const {
    ASSERT_EQ(saved.size(), original.size());
    const std::vector<std::size_t> diff = Differences(original, saved);
    ASSERT_EQ(diff.size(), 1u);
    const std::size_t word = diff[0] & ~std::size_t{1};
    const unsigned before = original[word] | (original[word + 1] << 8);
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

TEST_F(SaveEndToEnd, CloseSignalKeepsTheEditsInARecoveryCopy) {
  const fs::path image = dir / "game.smc";
  Launch(image, {});
  const std::vector<uint32_t> clean = StatusNote();
  PaintMirroredEntry();
  ASSERT_TRUE(WaitForNote([&](const std::vector<uint32_t>& now) { return now != clean; }));
  ASSERT_EQ(kill(app->pid(), SIGTERM), 0);
  EXPECT_EQ(app->WaitForExit(15.0), 0) << app->Stderr();
  EXPECT_TRUE(e2e::ReadBytes(image) == original);  // the file itself is written only by Save
  ExpectOneMirroredWord(e2e::ReadBytes(dir / "game.smc.recovery"));
  for (const e2e::DialogLogEntry& entry : app->DialogLog()) EXPECT_NE(entry.kind, "yesnocancel");
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
