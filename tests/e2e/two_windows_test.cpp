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

// Two windows of the program with one settings file, each saving another image with Save As: the
// entry of each saved image ("EditedImages") is on disk after both have ended, whichever ends first,
// by a close or by kill -9.

namespace {

using Bytes = std::vector<unsigned char>;

class TwoWindows : public e2e::EndToEndTest {
 protected:
  // The demo image with its last byte changed by `mark`, so that each window's image has a checksum
  // of its own.
  Bytes Image(unsigned char mark) const {
    Bytes image = e2e::Demo().rom;
    image.back() ^= mark;
    return image;
  }
  static std::string Crc(const Bytes& bytes) {
    return e2e::Hex(CharArray_Get_CRC32(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size())), 8);
  }

  // Starts a window on `image` (written to `name`), answers the identification question and the
  // notice, and saves it as `name` + ".saved.smc" with Save As (Ctrl+Shift+S).
  std::unique_ptr<e2e::App> StartAndSaveAs(const std::string& name, const Bytes& image) {
    const fs::path path = dir.path() / name, saved = dir.path() / (name + ".saved.smc");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()),
                                                static_cast<std::streamsize>(image.size()));
    e2e::LaunchOptions options;
    options.args = {path.string()};
    options.dialog_answers = {"yes", "ok", saved.string()};
    options.link_game_files = false;  // no portable folder: the settings are the shared ones
    auto app = std::make_unique<e2e::App>(options);
    EXPECT_TRUE(app->WaitForWindow()) << app->Stderr();
    EXPECT_TRUE(app->WaitForDialog("info", 30.0)) << app->Stderr();
    EXPECT_TRUE(app->WaitForMode(1)) << app->Stderr();
    int x = 0, y = 0, w = 0, h = 0;
    EXPECT_TRUE(app->Geometry(x, y, w, h));
    e2e::MouseMove(x + w / 2, y + h / 2);  // keys go to the window under the mouse
    e2e::Chord("ctrl+shift", "s");
    EXPECT_EQ(e2e::WaitForFile(saved, image.size(), {}).size(), image.size()) << app->Stderr();
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
    // The user's own text, which both windows keep.
    std::ofstream(settings, std::ios::binary) << "; mine\r\n[Emulator]\r\nCommand = emu %f\r\n";
    const Bytes a_image = Image(1), b_image = Image(2);
    std::unique_ptr<e2e::App> a = StartAndSaveAs("a.smc", a_image);
    ASSERT_FALSE(HasFailure());
    std::unique_ptr<e2e::App> b = StartAndSaveAs("b.smc", b_image);
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
    EXPECT_EQ(entries.count(Crc(a_image)), 1u);
    EXPECT_EQ(entries.count(Crc(b_image)), 1u);
    for (const auto& [crc, config] : entries) EXPECT_EQ(config, "QBR v10U.INI") << crc;
    std::ifstream in(settings, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind("; mine\r\n[Emulator]\r\nCommand = emu %f\r\n", 0), 0u) << text;
    fs::remove_all(settings_home);
  }
}

}  // namespace
