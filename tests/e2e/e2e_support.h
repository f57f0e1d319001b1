#pragma once

// Support for end-to-end tests: runs the real qbrre binary on the test's X display
// and drives it like a user (xdotool), reads back what it shows (xwininfo, screen
// shots) and what it asked (the scripted dialog log).
//
// Typical use:
//   if (!e2e::HaveDisplay()) GTEST_SKIP() << "no DISPLAY";
//   e2e::LaunchOptions options;
//   options.dialog_answers = {"cancel"};          // the automatic Open is cancelled
//   e2e::App app(options);
//   ASSERT_TRUE(app.WaitForWindow());
//   e2e::Key("Escape");                           // waits until the program reads input
//   EXPECT_EQ(app.WaitForExit(2.0), 0);
// The App destructor kills the program if it still runs and removes its folder.

#include <gtest/gtest.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/common/temp_folder.h"

namespace e2e {

// True when DISPLAY is set; tests GTEST_SKIP otherwise. Where a display must be
// there (QBRRE_REQUIRE_DISPLAY=1, as ./test.sh sets it), the suite fails at its
// start when none can be opened, so skipped tests never pass for run ones.
bool HaveDisplay();

// Runs a shell command and returns its standard output; `status` gets the exit code.
std::string RunCommand(const std::string& command, int* status = nullptr);

struct LaunchOptions {
  std::vector<std::string> args;                 // command-line arguments after the program name
  std::vector<std::string> dialog_answers;       // QBRRE_DIALOG_SCRIPT, one answer per line
  std::optional<std::string> configuration_ini;  // Configuration.INI written first, if given
  bool link_game_files = true;                   // a copy of GameConfig/, a link to the built PlugIns/
  void (*in_child)() = nullptr;                  // run in the child before exec (limits, rights); system calls only
  std::string state_home;                        // XDG_STATE_HOME (recovery copies); "" for state/ in the program's folder
};

// One entry of the scripted dialog log.
struct DialogLogEntry {
  std::string kind, title, text, answer;
};

// A running qbrre in a fresh temporary working folder.
class App {
 public:
  explicit App(const LaunchOptions& options = {});
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  pid_t pid() const { return pid_; }
  const std::string& workdir() const { return workdir_; }

  // Waits until the window titled "QBR Resource Editor" (or "QBRRE - NAME" once an image is open;
  // "QBRRE - PATCH on ROM" editing a patch) of this process exists and is mapped (it is created
  // screen-sized; see WaitForSize); false on timeout or exit.
  bool WaitForWindow(double timeout_s = 10.0);
  // The X window id found by WaitForWindow (0 before).
  unsigned long window() const { return window_; }

  // Window position and size on the screen (xwininfo); false when it cannot be read.
  bool Geometry(int& x, int& y, int& w, int& h) const;
  // Map state text of xwininfo ("IsViewable", "IsUnMapped", ...).
  std::string MapState() const;
  // Output of `xwininfo -shape` for the window (includes the bounding shape extents).
  std::string ShapeInfo() const;

  // Waits until the window is w x h; false on timeout.
  bool WaitForSize(int w, int h, double timeout_s = 5.0) const;

  // Entries of QBRRE_DIALOG_LOG so far.
  std::vector<DialogLogEntry> DialogLog() const;
  // Waits until at least `count` dialogs were logged; false on timeout.
  bool WaitForDialogs(size_t count, double timeout_s = 10.0) const;
  // Waits until a dialog of `kind` ("open", "error", ...) was logged; false on timeout.
  bool WaitForDialog(const std::string& kind, double timeout_s = 10.0) const;

  // Waits for the process to end; its exit code, or nullopt on timeout (the process
  // then still runs). A death by signal gives 128 + the signal number.
  std::optional<int> WaitForExit(double timeout_s);
  bool Running();

  // Standard error of the program so far.
  std::string Stderr() const;

  // Waits until the mode the program entered last has shown its first frame
  // (its frame log, QBRRE_FRAME_LOG): from then on it reads the keyboard and
  // mouse. False on timeout or when the program ended. Every input function
  // below waits for this first.
  bool WaitForReady(double timeout_s = 30.0);
  // The number of passes of logic updates the program has run (its frame log); 0 before any.
  unsigned long long Passes() const;
  // Waits until the program has run `count` more passes than `since` (or ended); a
  // pass that began after an input was given has read it.
  void WaitForPasses(unsigned long long since, unsigned long long count = 2);
  // Waits until the mode entered last is `mode` and has shown its first frame.
  // A switch of mode can come after other signs of it (the window's new size),
  // so a test that switched waits for this before it goes on.
  bool WaitForMode(int mode, double timeout_s = 30.0);

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
  int exit_code_ = -1;
  std::string workdir_;
  unsigned long window_ = 0;
};

// Keyboard and mouse through the XTEST extension (the focused window gets the keys).
// Each press first waits until the program launched last reads input (App::WaitForReady).
// Key: keydown, hold, keyup, and as long again released. The program polls the keyboard once
// per update, so a press or a release shorter than a slow update (a sanitized build, a loaded
// machine, an update that decodes a level) would go unseen, and two presses of one key would
// read as one: each is held at least `hold_ms` and until the program has run two more passes.
void Key(const std::string& key, int hold_ms = 150);
void KeyDown(const std::string& key);
void KeyUp(const std::string& key);
void MouseMove(int x, int y);  // screen pixels
void MouseDown(int button = 1);
void MouseUp(int button = 1);
void Click(int x, int y, int button = 1);  // move, press, release (held as a key is)

// The whole screen as RGB.
struct Screenshot {
  int w = 0, h = 0;
  std::vector<uint8_t> rgb;  // w * h * 3 bytes, rows top to bottom
  // 0xRRGGBB of a pixel; 0 outside the image.
  uint32_t Pixel(int x, int y) const;
};
// Captures the root window (ImageMagick's import, decoded with libpng); false on failure.
bool TakeScreenshot(Screenshot& shot);

// Holds the modifier key(s) `modifiers` down while `key` is pressed as Key presses it.
void Chord(const std::string& modifiers, const std::string& key);

using Bytes = std::vector<unsigned char>;
// The bytes of `path`; empty when it cannot be read.
Bytes ReadBytes(const std::filesystem::path& path);
// Polls until `path` holds `size` bytes that differ from `unlike` (a save the program
// writes by temporary file and rename); its bytes then, empty on timeout.
Bytes WaitForFile(const std::filesystem::path& path, std::size_t size, const Bytes& unlike, double timeout_s = 20.0);
// The little-endian word at `at` of `bytes`.
unsigned WordAt(const Bytes& bytes, long long at);

// Sleeps for `ms` milliseconds.
void Sleep(int ms);

// Sleeps between two input events that the program must see apart (a press
// and its release, two steps of a drag): at least `ms` milliseconds and until
// the program launched last has run two more passes of updates.
void Hold(int ms);

// An Xvfb server of w x h pixels on a display number it picks itself, for a test
// that needs a screen of another size than the shared one; stopped with the object.
// A test points DISPLAY at it (and back) itself.
class OwnXServer {
 public:
  OwnXServer(int w, int h);
  ~OwnXServer();
  OwnXServer(const OwnXServer&) = delete;
  OwnXServer& operator=(const OwnXServer&) = delete;

  // ":N", or empty when the server did not start.
  const std::string& display() const { return display_; }
  // Ends the server now (as a crash or a logout would end it) and waits for it.
  void Stop();

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// The common part of the end-to-end fixtures: the test skips without a display,
// `dir` is a private folder for the test's own files, and the program `app`
// is stopped before that folder is removed.
class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the program with `options` and waits until its window shows; wx, wy,
  // ww, wh get its geometry.
  void Launch(const LaunchOptions& options);
  // Starts it on an image that opens into the level editor and waits for the
  // editor: the notice after Open answered, the window at the editor's size
  // and the editor's first frame shown.
  void LaunchEditor(const LaunchOptions& options, double open_timeout_s = 30.0);

  TempFolder dir;
  std::unique_ptr<App> app;
  int wx = 0, wy = 0, ww = 0, wh = 0;
};

}  // namespace e2e
