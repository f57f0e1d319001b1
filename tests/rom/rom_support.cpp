#include "tests/rom/rom_support.h"

#include <gtest/gtest.h>

#include <fstream>

#include "bfa/bfa.h"
#include "platform/config_lock.h"
#include "rom/settings_store.h"
#include "platform/messages.h"
#include "platform/system_sound.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "rom/image_save.h"
#include "platform/allegro_include.h"
#include "shell/base/variables.h"
#include "tests/common/file_bytes.h"
#include "tests/common/headless_allegro.h"

namespace {

const auto* const kAllegro = ::testing::AddGlobalTestEnvironment(new HeadlessAllegroEnvironment);

}  // namespace

std::vector<char> ReadWholeFile(const std::filesystem::path& path) {
  return ReadFileBytes<std::vector<char>>(path);
}

void WriteWholeFile(const std::filesystem::path& path, const std::vector<char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadText(const std::filesystem::path& path) {
  const std::vector<char> bytes = ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  WriteWholeFile(path, std::vector<char>(text.begin(), text.end()));
}

OpenSandbox::OpenSandbox(EventLog& log) : previous_(std::filesystem::current_path()) {
  static int serial = 0;
  dir_ = std::filesystem::temp_directory_path() /
         ("qbrre-open-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_ / "GameConfig");
  std::filesystem::current_path(dir_);
  {
    ConfigGuard guard;
    override_config_file(nullptr);
    // The sandbox stands for the program: its settings changes reach its own Configuration.INI.
    UseSettingsFileWrites(true);
    LoadSettings(SettingsLayer::Alone);
  }
  if (BFA_IsActive(0x10)) BFA_Disable(0x10);
  QBR1_ResetEdits({}, 0);
  SetImageFile("", "");
  qbr1gbl = globaldata{};
  ENGINE_STATE = 0;
  STATEOVER = false;
  PlatformClearMessages();
  PlatformUseScriptedDialogs([&log](const DialogRecord& r) {
    std::string answer;
    if (!log.answers.empty()) {
      answer = log.answers.front();
      log.answers.erase(log.answers.begin());
    } else {
      answer = r.kind == BoxKind::Question ? "yes" : r.kind == BoxKind::Open ? "" : "ok";
    }
    DialogRecord shown = r;
    shown.answer = answer;
    log.boxes.push_back(shown);
    log.events.push_back(std::string("box ") + BoxKindName(r.kind) + " " + r.title);
    return answer;
  });
  UseRecordingSystemSound([&log](const std::string& alias, bool wait) {
    log.events.push_back("sound " + alias + (wait ? " wait" : " async"));
  });
}

OpenSandbox::~OpenSandbox() {
  PlatformUseDesktopDialogs();
  UseDriverSystemSound();
  if (BFA_IsActive(0x10)) BFA_Disable(0x10);
  QBR1_ResetEdits({}, 0);
  SetImageFile("", "");
  {
    ConfigGuard guard;
    override_config_file(nullptr);
    set_config_data("", 0);  // nothing on disk: the sandbox is about to go
    UseSettingsFileWrites(false);
  }
  ENGINE_STATE = 0;
  STATEOVER = false;
  PlatformClearMessages();
  std::filesystem::current_path(previous_);
  std::filesystem::remove_all(dir_);
}
