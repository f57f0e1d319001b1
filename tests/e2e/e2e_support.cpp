#include "e2e_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/common/file_bytes.h"

namespace fs = std::filesystem;

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Value of "Label: value" in xwininfo output, as an int.
bool FieldOf(const std::string& info, const std::string& label, int& value) {
  size_t at = info.find(label);
  if (at == std::string::npos) return false;
  value = std::atoi(info.c_str() + at + label.size());
  return true;
}

// The string value of "key":"..." in one JSON line (with the usual escapes).
std::string JsonField(const std::string& line, const std::string& key) {
  const std::string marker = "\"" + key + "\":";
  size_t at = line.find(marker);
  if (at == std::string::npos) return "";
  at = line.find('"', at + marker.size());
  if (at == std::string::npos) return "";
  std::string value;
  for (size_t i = at + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') break;
    if (c == '\\' && i + 1 < line.size()) {
      char e = line[++i];
      value += e == 'n' ? '\n' : e == 't' ? '\t' : e;
      continue;
    }
    value += c;
  }
  return value;
}

void Xdotool(const std::string& arguments) { RunCommand("xdotool " + arguments + " >/dev/null 2>&1"); }

// The program launched last: the keys and the mouse go to its window.
App* current_app = nullptr;

// Waits until the current program reads input.
void BeforeInput() {
  if (current_app != nullptr && !current_app->WaitForReady() && current_app->Running())
    ADD_FAILURE() << "input sent to a program that never showed it reads input";
}

// The lines of a text file.
std::vector<std::string> Lines(const fs::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool DisplayOpens() {
  int status = -1;
  RunCommand("xdpyinfo >/dev/null 2>&1", &status);
  return status == 0;
}

// With QBRRE_REQUIRE_DISPLAY=1 a missing or unreachable display fails the
// suite before its first test instead of letting every test skip.
class RequireDisplay : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* required = std::getenv("QBRRE_REQUIRE_DISPLAY");
    if (required == nullptr || std::string(required) != "1") return;
    ASSERT_TRUE(HaveDisplay() && DisplayOpens()) << "QBRRE_REQUIRE_DISPLAY=1, but no X display opens (DISPLAY="
                                                 << (std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "") << ")";
  }
};
[[maybe_unused]] const ::testing::Environment* const require_display = ::testing::AddGlobalTestEnvironment(new RequireDisplay);

}  // namespace

bool HaveDisplay() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && *display != '\0';
}

std::string RunCommand(const std::string& command, int* status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    if (status) *status = -1;
    return out;
  }
  char buffer[4096];
  size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  int raw = pclose(pipe);
  if (status) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return out;
}

void Chord(const std::string& modifiers, const std::string& key) {
  KeyDown(modifiers);
  Key(key);
  KeyUp(modifiers);
}

Bytes ReadBytes(const std::filesystem::path& path) {
  return ReadFileBytes<Bytes>(path);
}

Bytes WaitForFile(const std::filesystem::path& path, std::size_t size, const Bytes& unlike, double timeout_s) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_s);
  while (std::chrono::steady_clock::now() < deadline) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && std::filesystem::file_size(path, ec) == size) {
      Bytes bytes = ReadBytes(path);
      if (bytes.size() == size && bytes != unlike) return bytes;
    }
    Sleep(50);
  }
  return {};
}

unsigned WordAt(const Bytes& bytes, long long at) {
  return bytes[static_cast<std::size_t>(at)] | (bytes[static_cast<std::size_t>(at) + 1] << 8);
}

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void Hold(int ms) {
  const unsigned long long since = current_app != nullptr ? current_app->Passes() : 0;
  Sleep(ms);
  if (current_app != nullptr) current_app->WaitForPasses(since);
}

OwnXServer::OwnXServer(int w, int h) {
  int fds[2];
  if (pipe(fds) != 0) return;
  const std::string screen = std::to_string(w) + "x" + std::to_string(h) + "x24";
  const std::string fd = std::to_string(fds[1]);
  pid_ = fork();
  if (pid_ == 0) {
    close(fds[0]);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
    }
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  // The server writes its display number once it accepts connections.
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  char c = 0;
  while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (!number.empty()) display_ = ":" + number;
}

OwnXServer::~OwnXServer() { Stop(); }

void OwnXServer::Stop() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
}

void EndToEndTest::SetUp() {
  if (!HaveDisplay()) GTEST_SKIP() << "DISPLAY is not set";
  ASSERT_FALSE(dir.path().empty());
}

void EndToEndTest::TearDown() { app.reset(); }

void EndToEndTest::Launch(const LaunchOptions& options) {
  app = std::make_unique<App>(options);
  ASSERT_TRUE(app->WaitForWindow()) << app->Stderr();
  ASSERT_TRUE(app->Geometry(wx, wy, ww, wh)) << app->Stderr();
}

void EndToEndTest::LaunchEditor(const LaunchOptions& options, double open_timeout_s) {
  constexpr int kEditorW = 776, kEditorH = 604;
  Launch(options);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app->WaitForDialog("info", open_timeout_s)) << app->Stderr();
  ASSERT_TRUE(app->WaitForSize(kEditorW, kEditorH, 15.0)) << app->Stderr();
  ASSERT_TRUE(app->WaitForMode(1)) << app->Stderr();
  ASSERT_TRUE(app->Geometry(wx, wy, ww, wh)) << app->Stderr();
}

App::App(const LaunchOptions& options) {
  char pattern[] = "/tmp/qbrre-e2e-XXXXXX";
  const char* made = mkdtemp(pattern);
  if (made == nullptr) return;
  workdir_ = made;
  const fs::path dir(workdir_);
  if (options.link_game_files) {
    const fs::path source(QBRRE_SOURCE_DIR), binary(QBRRE_BINARY_DIR);
    std::error_code ignored;
    // A copy, not a link: whatever a test or the program writes there must not reach the repository.
    if (fs::is_directory(source / "GameConfig"))
      fs::copy(source / "GameConfig", dir / "GameConfig", fs::copy_options::recursive, ignored);
    if (fs::is_directory(binary / "PlugIns"))
      fs::create_directory_symlink(binary / "PlugIns", dir / "PlugIns", ignored);
    else if (fs::is_directory(source / "PlugIns"))
      fs::create_directory_symlink(source / "PlugIns", dir / "PlugIns", ignored);
  }
  if (options.configuration_ini) std::ofstream(dir / "Configuration.INI") << *options.configuration_ini;
  {
    std::ofstream script(dir / "dialog_script.txt");
    for (const std::string& answer : options.dialog_answers) script << answer << "\n";
  }
  const std::string script_path = (dir / "dialog_script.txt").string();
  const std::string log_path = (dir / "dialog_log.jsonl").string();
  const std::string out_path = (dir / "stdout.txt").string();
  const std::string err_path = (dir / "stderr.txt").string();
  const std::string frame_log_path = (dir / "frame_log.txt").string();

  // Everything the child needs is prepared here: between fork and exec it only
  // changes folder, redirects its output and executes.
  std::vector<std::string> argv_text = {QBRRE_BINARY_PATH};
  argv_text.insert(argv_text.end(), options.args.begin(), options.args.end());
  std::vector<char*> argv;
  for (std::string& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);
  // Recovery copies stay in the test's folders, never in the user's own.
  const std::string state_home = options.state_home.empty() ? (dir / "state").string() : options.state_home;
  std::vector<std::string> env_text = {"QBRRE_DIALOG_SCRIPT=" + script_path, "QBRRE_DIALOG_LOG=" + log_path,
                                       "QBRRE_FRAME_LOG=" + frame_log_path, "XDG_STATE_HOME=" + state_home};
  for (char** e = environ; *e != nullptr; ++e)
    if (std::strncmp(*e, "QBRRE_DIALOG_", 13) != 0 && std::strncmp(*e, "QBRRE_FRAME_LOG=", 16) != 0 &&
        std::strncmp(*e, "XDG_STATE_HOME=", 15) != 0)
      env_text.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : env_text) envp.push_back(e.data());
  envp.push_back(nullptr);
  const int out_fd = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int err_fd = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out_fd < 0 || err_fd < 0) {
    if (out_fd >= 0) close(out_fd);
    if (err_fd >= 0) close(err_fd);
    return;
  }
  pid_ = fork();
  if (pid_ == 0) {
    if (chdir(workdir_.c_str()) != 0 || dup2(out_fd, STDOUT_FILENO) < 0 || dup2(err_fd, STDERR_FILENO) < 0) _exit(127);
    if (options.in_child != nullptr) options.in_child();
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(out_fd);
  close(err_fd);
  current_app = this;
}

App::~App() {
  if (current_app == this) current_app = nullptr;
  if (pid_ > 0 && !reaped_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (!workdir_.empty()) {
    std::error_code ignored;
    fs::remove_all(workdir_, ignored);
  }
}

bool App::Running() {
  if (pid_ <= 0 || reaped_) return false;
  int status = 0;
  pid_t done = waitpid(pid_, &status, WNOHANG);
  if (done == 0) return true;
  reaped_ = true;
  exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
  return false;
}

std::optional<int> App::WaitForExit(double timeout_s) {
  const auto start = Clock::now();
  while (Running()) {
    if (SecondsSince(start) > timeout_s) return std::nullopt;
    Sleep(10);
  }
  if (!reaped_) return std::nullopt;
  return exit_code_;
}

bool App::WaitForWindow(double timeout_s) {
  const auto start = Clock::now();
  while (SecondsSince(start) < timeout_s && Running()) {
    std::istringstream ids(RunCommand("xdotool search --name '^(QBR Resource Editor|QBRRE - .+)$' 2>/dev/null"));
    unsigned long id = 0;
    while (ids >> id) {
      std::string pid_text = RunCommand("xdotool getwindowpid " + std::to_string(id) + " 2>/dev/null");
      // Allegro may not publish the process id; a window without one is taken too,
      // since the tests run one program at a time on their display.
      if (pid_text.empty() || std::atoi(pid_text.c_str()) == pid_) {
        window_ = id;
        if (MapState() == "IsViewable") return true;
      }
    }
    Sleep(50);
  }
  return false;
}

bool App::Geometry(int& x, int& y, int& w, int& h) const {
  if (window_ == 0) return false;
  const std::string info = RunCommand("xwininfo -id " + std::to_string(window_) + " 2>/dev/null");
  return FieldOf(info, "Absolute upper-left X:", x) && FieldOf(info, "Absolute upper-left Y:", y) &&
         FieldOf(info, "Width:", w) && FieldOf(info, "Height:", h);
}

std::string App::MapState() const {
  if (window_ == 0) return "";
  const std::string info = RunCommand("xwininfo -id " + std::to_string(window_) + " 2>/dev/null");
  const std::string label = "Map State: ";
  size_t at = info.find(label);
  if (at == std::string::npos) return "";
  size_t end = info.find('\n', at);
  return info.substr(at + label.size(), end == std::string::npos ? std::string::npos : end - at - label.size());
}

std::string App::ShapeInfo() const {
  if (window_ == 0) return "";
  return RunCommand("xwininfo -shape -id " + std::to_string(window_) + " 2>/dev/null");
}

bool App::WaitForSize(int want_w, int want_h, double timeout_s) const {
  const auto start = Clock::now();
  do {
    int x = 0, y = 0, w = 0, h = 0;
    if (Geometry(x, y, w, h) && w == want_w && h == want_h) return true;
    Sleep(50);
  } while (SecondsSince(start) < timeout_s);
  return false;
}

std::vector<DialogLogEntry> App::DialogLog() const {
  std::vector<DialogLogEntry> entries;
  std::ifstream log(fs::path(workdir_) / "dialog_log.jsonl");
  std::string line;
  while (std::getline(log, line)) {
    if (line.empty()) continue;
    entries.push_back(
        {JsonField(line, "kind"), JsonField(line, "title"), JsonField(line, "text"), JsonField(line, "answer")});
  }
  return entries;
}

bool App::WaitForDialogs(size_t count, double timeout_s) const {
  const auto start = Clock::now();
  do {
    if (DialogLog().size() >= count) return true;
    Sleep(50);
  } while (SecondsSince(start) < timeout_s);
  return false;
}

bool App::WaitForDialog(const std::string& kind, double timeout_s) const {
  const auto start = Clock::now();
  do {
    for (const DialogLogEntry& entry : DialogLog())
      if (entry.kind == kind) return true;
    Sleep(50);
  } while (SecondsSince(start) < timeout_s);
  return false;
}

std::string App::Stderr() const {
  std::ifstream in(fs::path(workdir_) / "stderr.txt");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool App::WaitForReady(double timeout_s) { return WaitForMode(-1, timeout_s); }

bool App::WaitForMode(int mode, double timeout_s) {
  const auto start = Clock::now();
  do {
    // Ready when the last "enter" has its "ready" after it.
    bool ready = false;
    int entered = -1;
    for (const std::string& line : Lines(fs::path(workdir_) / "frame_log.txt")) {
      if (line.rfind("enter ", 0) == 0) {
        ready = false;
        entered = std::atoi(line.c_str() + 6);
      }
      if (line.rfind("ready ", 0) == 0) ready = true;
    }
    if (ready && (mode < 0 || entered == mode)) return true;
    Sleep(20);
  } while (SecondsSince(start) < timeout_s && Running());
  return false;
}

unsigned long long App::Passes() const {
  std::ifstream in(fs::path(workdir_) / "frame_log.txt.passes");
  unsigned long long passes = 0;
  in >> passes;
  return passes;
}

void App::WaitForPasses(unsigned long long since, unsigned long long count) {
  // Generous: a pass that decodes a level under a sanitizer on a loaded machine is slow.
  const auto start = Clock::now();
  while (Passes() < since + count && Running() && SecondsSince(start) < 30.0) Sleep(5);
}

void KeyDown(const std::string& key) {
  BeforeInput();
  Xdotool("keydown " + Quote(key));
}
void KeyUp(const std::string& key) { Xdotool("keyup " + Quote(key)); }
void Key(const std::string& key, int hold_ms) {
  BeforeInput();
  Xdotool("keydown " + Quote(key));
  Hold(hold_ms);
  KeyUp(key);
  Hold(hold_ms);
}
void MouseMove(int x, int y) {
  BeforeInput();
  Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y));
}
void MouseDown(int button) {
  BeforeInput();
  Xdotool("mousedown " + std::to_string(button));
}
void MouseUp(int button) { Xdotool("mouseup " + std::to_string(button)); }
void Click(int x, int y, int button) {
  MouseMove(x, y);
  Hold(60);
  MouseDown(button);
  Hold(80);
  MouseUp(button);
}

uint32_t Screenshot::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= w || y >= h) return 0;
  const size_t at = (static_cast<size_t>(y) * w + x) * 3;
  return (uint32_t{rgb[at]} << 16) | (uint32_t{rgb[at + 1]} << 8) | rgb[at + 2];
}

bool TakeScreenshot(Screenshot& shot) {
  const std::string png = RunCommand("import -window root png:- 2>/dev/null");
  if (png.empty()) return false;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return false;
  image.format = PNG_FORMAT_RGB;
  shot.w = static_cast<int>(image.width);
  shot.h = static_cast<int>(image.height);
  shot.rgb.assign(PNG_IMAGE_SIZE(image), 0);
  if (!png_image_finish_read(&image, nullptr, shot.rgb.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  return true;
}

}  // namespace e2e
