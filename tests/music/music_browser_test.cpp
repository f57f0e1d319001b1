// The music browser of Sounds/Music...: tunes listed with their titles, the
// chosen one played by the real plug-ins into the WAV recorder, Stop ending it.

#include "music/music_browser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "music/winamp.h"
#include "platform/config_lock.h"
#include "platform/dialogs.h"
#include "platform/allegro_include.h"
#include "tests/music/music_support.h"

namespace {

using namespace std::chrono_literals;

const std::string kPlugIns = std::string(QBRRE_BINARY_DIR) + "/PlugIns";

// Sets an environment variable for the test's lifetime and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (had_) {
      setenv(name_, old_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};

// The dialog log's lines.
std::vector<std::string> Lines(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A working folder with Resources/Music/, answers for the scripted dialogs and
// (when `withHost`) the music host with the real plug-ins recording to out.wav.
class MusicBrowser : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.path() / "Resources" / "Music");
    // The browser reads its folder from the configuration: an empty one, as a program without
    // Configuration.INI has.
    {
      ConfigGuard guard;
      set_config_data("", 0);
    }
    saved_host_ = SNESAMP;
    SNESAMP = nullptr;
    PlatformChooseDialogBackend();
  }
  void TearDown() override {
    if (SNESAMP != nullptr) {
      SNESAMP->Stop();
      delete SNESAMP;
    }
    SNESAMP = saved_host_;
    PlatformUseDesktopDialogs();
  }
  void StartHost() {
    SetUpMusicHost((kPlugIns + "/in_snes.so").c_str(), (kPlugIns + "/out_wave.so").c_str());
    ASSERT_NE(SNESAMP, nullptr);
  }
  void Answer(const std::string& lines) { std::ofstream(dir_.path() / "answers.txt", std::ios::trunc) << lines; }
  void Tune(const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteBytes(dir_.path() / "Resources" / "Music" / name, bytes);
  }
  std::vector<std::string> Log() const { return Lines(dir_.path() / "log.jsonl"); }
  // Waits (polling, 10 s at most) until the recording holds `seconds` of sound.
  bool WaitForRecording(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    const std::uintmax_t wanted = 44 + static_cast<std::uintmax_t>(seconds * 32000 * 4);
    while (std::chrono::steady_clock::now() < deadline) {
      std::error_code error;
      if (std::filesystem::file_size(wav_, error) >= wanted && !error) return true;
      std::this_thread::sleep_for(20ms);
    }
    return false;
  }

  TempDir dir_;
  WorkingDir here_{dir_.path()};
  std::filesystem::path wav_ = dir_.path() / "out.wav";
  ScopedEnv wav_out_{"QBRRE_WAV_OUT", wav_.string()};
  ScopedEnv script_{"QBRRE_DIALOG_SCRIPT", (dir_.path() / "answers.txt").string()};
  ScopedEnv log_{"QBRRE_DIALOG_LOG", (dir_.path() / "log.jsonl").string()};
  Winamp* saved_host_ = nullptr;
};

TEST_F(MusicBrowser, ChosenToneIsRecordedAtItsFrequencyUntilStop) {
  StartHost();
  Tune("0001.SPC", MakeSpc(440, 10));
  Tune("b.spc", MakeSpc(0, 0));
  Tune("notes.txt", {1, 2, 3});
  std::filesystem::create_directories("Resources/Music/folder.spc");
  Answer("0001.SPC\nStop\n");

  BrowseMusic();
  ASSERT_TRUE(WaitForRecording(0.6));
  EXPECT_EQ(SNESAMP->IsPlaying(), 1);
  BrowseMusic();  // Stop
  EXPECT_EQ(SNESAMP->IsPlaying(), 0);

  const WavFile wav = ReadWav(wav_);
  ASSERT_TRUE(wav.valid);  // the recording was closed by the stop
  EXPECT_GT(Peak(wav), 2000);
  EXPECT_NEAR(ToneFrequency(wav), 440.0, 5.0);

  // The list: Stop first, then the SPC files by name with the plug-in's titles
  // (the untagged file's title is its name) and lengths.
  const std::string list =
      R"({"kind": "list", "title": "Sounds/Music", "text": "Choose a tune to play while you work, or Stop:\n)"
      R"(Stop\t(stop the music)\t\n0001.SPC\tTest Tone\t0:10\nb.spc\tb.spc\t")";
  const std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], list + R"(, "answer": "0001.SPC"})");
  EXPECT_EQ(log[1], list + R"(, "answer": "Stop"})");
}

TEST_F(MusicBrowser, AnotherTuneReplacesThePlayingOne) {
  StartHost();
  Tune("0001.SPC", MakeSpc(440, 10));
  Tune("0002.SPC", MakeSpc(660, 10));
  Answer("0001.SPC\n0002.SPC\nStop\n");
  BrowseMusic();
  ASSERT_TRUE(WaitForRecording(0.3));
  BrowseMusic();  // the recorder starts its file again for the new tune
  ASSERT_TRUE(WaitForRecording(0.6));
  BrowseMusic();
  const WavFile wav = ReadWav(wav_);
  ASSERT_TRUE(wav.valid);
  EXPECT_NEAR(ToneFrequency(wav), 660.0, 5.0);
}

TEST_F(MusicBrowser, CancelAndUnlistedAnswersPlayNothing) {
  StartHost();
  Tune("0001.SPC", MakeSpc(440, 10));
  std::filesystem::create_directories("Resources/Other");
  WriteBytes("Resources/Other/x.spc", MakeSpc(440, 10));
  Answer("cancel\n../Other/x.spc\n");
  BrowseMusic();
  BrowseMusic();
  EXPECT_EQ(SNESAMP->IsPlaying(), 0);
  EXPECT_FALSE(std::filesystem::exists(wav_));
  const std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(
      log[2],
      R"({"kind": "error", "title": "WinAMP Error", "text": "File not found.\n\"Resources/Music/../Other/x.spc\"\n)"
      R"(Music will not play.", "answer": "ok"})");
}

TEST_F(MusicBrowser, WithoutTunesOrHostOneMessageOfTheHostAndNoList) {
  Answer("");
  StartHost();  // a set-up that worked leaves no reason behind
  delete SNESAMP;
  SNESAMP = nullptr;
  BrowseMusic();  // no host
  SetUpMusicHost((kPlugIns + "/in_missing.so").c_str(), (kPlugIns + "/out_wave.so").c_str());
  ASSERT_EQ(SNESAMP, nullptr);
  const std::size_t setUpBoxes = Log().size();
  BrowseMusic();
  StartHost();
  BrowseMusic();  // a host, no tunes
  const std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), setUpBoxes + 2);
  EXPECT_EQ(log[0],
            R"({"kind": "error", "title": "WinAMP Error", "text": "Plugins not ready. Call PreparePlugins first!", )"
            R"("answer": "ok"})");
  // After a failed set-up the browser repeats the set-up's own reason.
  EXPECT_EQ(log[setUpBoxes],
            R"({"kind": "error", "title": "WinAMP Error", "text": "Can't load input plugin! Program should exit )"
            R"(abruptly.", "answer": "ok"})");
  EXPECT_EQ(log.back(),
            R"({"kind": "error", "title": "WinAMP Error", "text": "File not found.\n\"Resources/Music/*.SPC\"\n)"
            R"(Music will not play.", "answer": "ok"})");
  for (const std::string& line : log) EXPECT_EQ(line.find("\"list\""), std::string::npos) << line;
}

// The browser's folder: "Folder" of [Music] when it is set and there, else Resources/Music/ of the
// working folder, else the user's data folder; an installed program started elsewhere lists the
// tunes of the data folder.
TEST_F(MusicBrowser, FindsTheTunesOfTheConfiguredPortableOrUserFolder) {
  namespace fs = std::filesystem;
  const fs::path data = dir_.path() / "data";
  const std::string installed = (data / "qbrre" / "Music").string() + "/";
  const fs::path mine = dir_.path() / "mine";
  fs::create_directories(installed);
  fs::create_directories(mine);
  ScopedEnv xdg{"XDG_DATA_HOME", data.string()};
  const auto configure = [](const std::string& folder) {
    const std::string text = folder.empty() ? "" : "[Music]\nFolder = " + folder + "\n";
    ConfigGuard guard;
    set_config_data(text.c_str(), static_cast<int>(text.size()));
  };
  struct Case {
    const char* name;
    std::string configured;
    bool portable;
    std::string want;
  };
  const Case cases[] = {
      {"portable folder", "", true, "Resources/Music/"},
      {"installed", "", false, installed},
      {"configured", mine.string(), true, mine.string() + "/"},
      {"configured but missing", (dir_.path() / "none").string(), false, installed},
  };
  for (const Case& c : cases) {
    if (c.portable) {
      fs::create_directories("Resources/Music");
    } else {
      fs::remove_all("Resources");
    }
    configure(c.configured);
    EXPECT_EQ(MusicFolder(), c.want) << c.name;
  }
  configure("");
  StartHost();
  WriteBytes(fs::path(installed) / "0003.SPC", MakeSpc(440, 1));
  const std::vector<MusicFile> files = ListMusicFiles();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].name, "0003.SPC");
  EXPECT_EQ(files[0].title, "Test Tone");  // read by the plug-in from the data folder
}

}  // namespace
