#include "rom/launch_game.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <mutex>
#include <set>
#include <unistd.h>

#include "platform/config_lock.h"
#include "platform/process_spawn.h"
#include "rom/file_replace.h"
#include "rom/image_edits.h"
#include "rom/open_image.h"
#include "shell/base/functions.h"

const char* const kKnownEmulators[2] = {"mednafen", "ares"};

namespace fs = std::filesystem;

namespace {

constexpr char kTitle[] = "Launch Game";
constexpr char kHint[] =
    "Install one of the Debian packages mednafen or ares, or set the key Command in section "
    "[Emulator] of Configuration.INI to the emulator's command line, for example\n"
    "Command = mednafen %f\n(%f stands for the game file).";

constexpr char kFolderPrefix[] = "qbrre-game-";
// The file in a game folder that names the process the folder is kept for: this
// program while it starts the emulator, then the emulator.
constexpr char kOwnerName[] = "/emulator";

// A game file and the folder made for it.
struct GameFile {
  std::string folder, path;
};

// Game folders whose emulator this program watches: removed by the watcher when
// it ends. Never destroyed, so a watcher thread that ends during the program's
// exit still finds it.
std::mutex& FilesLock() {
  static std::mutex* lock = new std::mutex;
  return *lock;
}
std::set<std::string>& LiveFolders() {
  static std::set<std::string>* folders = new std::set<std::string>;
  return *folders;
}

void RemoveGameFile(const GameFile& file) {
  unlink(file.path.c_str());
  unlink((file.folder + kOwnerName).c_str());
  rmdir(file.folder.c_str());
}

std::string TemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp && *tmp ? tmp : "/tmp";
}

// Names the process `pid` as the one the folder is kept for (written whole, then renamed into place).
bool NameOwner(const std::string& folder, int pid, std::string& error) {
  const std::string identity = PlatformProcessIdentity(pid);
  return ReplaceFile(folder + kOwnerName, std::vector<unsigned char>(identity.begin(), identity.end()), error);
}

// Writes `bytes` to a new file in a private folder of the temporary folder, kept for this program.
bool WriteGameFile(const std::vector<unsigned char>& bytes, GameFile& file, std::string& error) {
  std::string pattern = TemporaryFolder() + "/" + kFolderPrefix + "XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    error = pattern.substr(0, pattern.size() - 6) + "...: " + std::strerror(errno);
    return false;
  }
  file.folder = pattern;
  file.path = pattern + "/game.smc";
  const int fd = open(file.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  bool ok = fd >= 0;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += static_cast<std::size_t>(n);
  }
  if (!ok) error = file.path + ": " + std::strerror(errno ? errno : EIO);
  if (fd >= 0 && close(fd) != 0 && ok) {
    ok = false;
    error = file.path + ": " + std::strerror(errno);
  }
  if (ok && !NameOwner(file.folder, getpid(), error)) {
    error = file.folder + kOwnerName + ": " + error;
    ok = false;
  }
  if (!ok) RemoveGameFile(file);
  return ok;
}

}  // namespace

std::vector<std::string> EmulatorCommand(const std::string& path, std::string& problem) {
  std::string line;
  {
    ConfigGuard guard;
    line = get_config_string("Emulator", "Command", "");
  }
  std::vector<std::string> words;
  if (line.find_first_not_of(" \t") == std::string::npos) {
    for (const char* emulator : kKnownEmulators) {
      if (!PlatformFindProgram(emulator).empty()) return {emulator, path};
    }
    problem = std::string("No emulator for this game was found.\n") + kHint;
    return {};
  }
  if (!PlatformSplitCommand(line, words)) {
    problem = "The key Command in section [Emulator] of Configuration.INI has a quote that is not closed:\n" + line;
    return {};
  }
  bool placed = false;
  for (std::string& word : words) {
    for (std::size_t at = word.find("%f"); at != std::string::npos; at = word.find("%f", at + path.size())) {
      word.replace(at, 2, path);
      placed = true;
    }
  }
  if (!placed) words.push_back(path);
  return words;
}

bool LaunchGameAvailable() { return TheImage().IsOpen(); }

void LaunchGame() {
  if (!LaunchGameAvailable()) return;
  GameFile file;
  std::string error;
  if (!WriteGameFile(QBR1_SavedFileBytes(), file, error)) {
    ErrorBox("The game could not be written to a temporary file:\n" + error, kTitle);
    return;
  }
  const std::vector<std::string> command = EmulatorCommand(file.path, error);
  if (command.empty()) {
    RemoveGameFile(file);
    ErrorBox(error, kTitle);
    return;
  }
  {
    std::lock_guard<std::mutex> hold(FilesLock());
    LiveFolders().insert(file.folder);
  }
  int pid = 0;
  const bool started = PlatformSpawnDetached(
      command,
      [file](int) {
        std::lock_guard<std::mutex> hold(FilesLock());
        if (LiveFolders().erase(file.folder) != 0) RemoveGameFile(file);
      },
      error, &pid);
  if (started) {
    // From now on the folder is kept for the emulator, also past the end of this program. One that
    // has ended already has had its folder removed by the watcher.
    std::lock_guard<std::mutex> hold(FilesLock());
    std::string ignored;
    if (LiveFolders().count(file.folder) != 0) NameOwner(file.folder, pid, ignored);
  } else {
    {
      std::lock_guard<std::mutex> hold(FilesLock());
      LiveFolders().erase(file.folder);
    }
    RemoveGameFile(file);
    ErrorBox("The emulator could not be started:\n" + error + "\n\n" + kHint, kTitle);
  }
}

void RemoveEndedGameFiles() {
  std::error_code error;
  for (fs::directory_iterator it(TemporaryFolder(), error), end; !error && it != end; it.increment(error)) {
    const std::string folder = it->path().string();
    struct stat info {};
    if (it->path().filename().string().rfind(kFolderPrefix, 0) != 0 || lstat(folder.c_str(), &info) != 0 ||
        !S_ISDIR(info.st_mode) || info.st_uid != getuid())
      continue;
    std::vector<unsigned char> owner;
    std::string ignored;
    // A folder that names no process is not one of ours to judge.
    if (!ReadRegularFile(folder + kOwnerName, owner, ignored) || owner.empty()) continue;
    const std::string identity(owner.begin(), owner.end());
    if (PlatformProcessIdentity(std::atoi(identity.c_str())) == identity) continue;  // still running
    std::lock_guard<std::mutex> hold(FilesLock());
    if (LiveFolders().count(folder) == 0) RemoveGameFile({folder, folder + "/game.smc"});
  }
}
