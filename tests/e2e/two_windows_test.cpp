#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bfa/bfa.h"
#include "e2e_support.h"
#include "tests/common/scoped_env.h"
#include "view_support.h"

namespace fs = std::filesystem;

// Two windows of the program with one settings file, each saving another image with Save As (the
// first Save of a patch session): the entry of each saved image ("EditedImages") is on disk after
// both have ended, whichever ends first, by a close or by kill -9.

namespace {

using Bytes = std::vector<unsigned char>;

class TwoWindows : public e2e::EndToEndTest {
 protected:
  // The demo image with its last byte changed by `mark`: what a patch session on it opens.
  static Bytes Patched(unsigned char mark) {
    Bytes image = e2e::Demo().rom;
    image.back() ^= mark;
    return image;
  }
  static std::string Crc(const Bytes& bytes) {
    return e2e::Hex(CharArray_Get_CRC32(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size())), 8);
  }
  static void Write(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
  }

  // Starts a window on the demo image with an IPS patch that changes its last byte by `mark` (a
  // hack of a known image: it opens with the demo's configuration and has no file of its own), and
  // saves it as NAME.smc (Ctrl+S, a Save As), which records the saved image's entry.
  std::unique_ptr<e2e::App> StartAndSave(const std::string& name, unsigned char mark) {
    const std::size_t last = e2e::Demo().rom.size() - 1;
    const Bytes patch = {'P', 'A', 'T', 'C', 'H', static_cast<unsigned char>(last >> 16),
                         static_cast<unsigned char>(last >> 8), static_cast<unsigned char>(last), 0, 1,
                         static_cast<unsigned char>(e2e::Demo().rom.back() ^ mark), 'E', 'O', 'F'};
    const fs::path ips = dir.path() / (name + ".ips"), saved = dir.path() / (name + ".smc");
    Write(ips, patch);
    e2e::LaunchOptions options;
    options.args = {(dir.path() / "demo.smc").string(), "--patch", ips.string()};
    options.dialog_answers = {"ok", saved.string()};
    options.link_game_files = false;  // no portable folder: the settings are the shared ones
    auto app = std::make_unique<e2e::App>(options);
    EXPECT_TRUE(app->WaitForWindow()) << app->Stderr();
    EXPECT_TRUE(app->WaitForDialog("info", 30.0)) << app->Stderr();
    EXPECT_TRUE(app->WaitForMode(1)) << app->Stderr();
    int x = 0, y = 0, w = 0, h = 0;
    EXPECT_TRUE(app->Geometry(x, y, w, h));
    e2e::MouseMove(x + w / 2, y + h / 2);  // keys go to the window under the mouse
    e2e::Chord("ctrl", "s");
    EXPECT_EQ(e2e::WaitForFile(saved, e2e::Demo().rom.size(), {}), Patched(mark)) << app->Stderr();
    return app;
  }
};

TEST_F(TwoWindows, BothEntriesOfSavedImagesStayWhicheverEndsFirst) {
  const fs::path settings_home = dir.path() / "config";
  ScopedEnv xdg("XDG_CONFIG_HOME", settings_home.c_str());
  const fs::path settings = settings_home / "qbrre" / "Configuration.INI";
  struct Case {
    const char* name;
    bool first_is_a;
    int first_signal, second_signal;
  };
  const Case cases[] = {
      {"A closes first", true, SIGTERM, SIGTERM},
      {"B closes first", false, SIGTERM, SIGTERM},
      {"A killed", true, SIGKILL, SIGTERM},
      {"B killed", false, SIGKILL, SIGTERM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::create_directories(settings.parent_path());
    // The user's own text, which both windows keep, and the demo image as known: its patch sessions
    // open with its configuration.
    const std::string start = "; mine\r\n[Emulator]\r\nCommand = emu %f\r\n[EditedImages]\r\n" +
                              Crc(e2e::Demo().rom) + " = QBR Demo.INI\r\n";
    std::ofstream(settings, std::ios::binary) << start;
    Write(dir.path() / "demo.smc", e2e::Demo().rom);
    std::unique_ptr<e2e::App> a = StartAndSave("a", 1);
    ASSERT_FALSE(HasFailure());
    std::unique_ptr<e2e::App> b = StartAndSave("b", 2);
    ASSERT_FALSE(HasFailure());
    e2e::App& first = c.first_is_a ? *a : *b;
    e2e::App& second = c.first_is_a ? *b : *a;
    ASSERT_EQ(kill(first.pid(), c.first_signal), 0);
    const std::optional<int> first_end = first.WaitForExit(15.0);
    ASSERT_TRUE(first_end.has_value());
    EXPECT_EQ(*first_end, c.first_signal == SIGKILL ? 128 + SIGKILL : 0) << first.Stderr();
    ASSERT_EQ(kill(second.pid(), c.second_signal), 0);
    EXPECT_EQ(second.WaitForExit(15.0), 0) << second.Stderr();

    const std::map<std::string, std::string> entries = e2e::SectionKeys(settings, "EditedImages");
    EXPECT_EQ(entries.count(Crc(Patched(1))), 1u);
    EXPECT_EQ(entries.count(Crc(Patched(2))), 1u);
    EXPECT_EQ(entries.size(), 3u);
    for (const auto& [crc, config] : entries) EXPECT_EQ(config, "QBR Demo.INI") << crc;
    std::ifstream in(settings, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind(start, 0), 0u) << text;
    fs::remove_all(settings_home);
  }
}

}  // namespace
