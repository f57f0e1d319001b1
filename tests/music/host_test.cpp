// The music host against small fake plug-ins: its guards, its extension
// test, each start-up failure and the forwarding to the selected modules.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "music/winamp.h"
#include "platform/dynlib.h"
#include "tests/music/music_support.h"

namespace {

const std::string kFakes = QBRRE_FAKE_PLUGINS;
const std::string kSp7 = kFakes + "/single/in_sp7.so";
const std::string kMod = kFakes + "/single/in_mod.so";
const std::string kInNoExport = kFakes + "/single/in_noexport.so";
const std::string kOut = kFakes + "/single/out_fake.so";
const std::string kOutNoExport = kFakes + "/single/out_noexport.so";
const std::string kNotReady = "Plugins not ready. Call PreparePlugins first!";
const std::string kOutOfBounds = "pluginIndex out of bounds";

// Calls a fake module has logged so far.
std::string CallsOf(HINSTANCE library) {
  auto calls = reinterpret_cast<const char* (*)()>(PlatformLibrarySymbol(library, "FakeCalls"));
  return calls ? calls() : "<no log>";
}

void ExpectHostBox(const DialogRecord& box, const std::string& text) {
  EXPECT_EQ(box.kind, BoxKind::Warning);
  EXPECT_EQ(box.title, "WinAMP Error!");
  EXPECT_EQ(box.text, text);
}

TEST(MusicHost, OperationsOnTheSelectedModuleNeedPrepareFirst) {
  struct Case {
    const char* name;
    std::function<int(Winamp&)> call;
    int expected;
  };
  const Case cases[] = {
      {"Play", [](Winamp& w) { return w.Play(kSp7.c_str()); }, 1},
      {"Stop", [](Winamp& w) { return w.Stop(), 0; }, 0},
      {"Pause", [](Winamp& w) { return w.Pause(), 0; }, 0},
      {"UnPause", [](Winamp& w) { return w.UnPause(), 0; }, 0},
      {"Seek", [](Winamp& w) { return w.Seek(10), 0; }, 0},
      {"SetVolume", [](Winamp& w) { return w.SetVolume(10), 0; }, 0},
      {"SetPan", [](Winamp& w) { return w.SetPan(10), 0; }, 0},
      {"IsPaused", [](Winamp& w) { return w.IsPaused(); }, 0},
      {"GetLength", [](Winamp& w) { return w.GetLength(); }, 0},
      {"GetPosition", [](Winamp& w) { return w.GetPosition(); }, 0},
      {"IsPlaying", [](Winamp& w) { return w.IsPlaying(); }, 0},
      {"IsSeekable", [](Winamp& w) { return w.IsSeekable(); }, 0},
      {"IsOurFile", [](Winamp& w) { return w.IsOurFile("x.spc"); }, 0},
      {"InConfig", [](Winamp& w) { return w.InConfig(nullptr), 0; }, 0},
      {"OutConfig", [](Winamp& w) { return w.OutConfig(nullptr), 0; }, 0},
      {"GetInModuleDesc", [](Winamp& w) { return static_cast<int>(std::string(w.GetInModuleDesc()).size()); }, 0},
      {"GetOutModuleDesc", [](Winamp& w) { return static_cast<int>(std::string(w.GetOutModuleDesc()).size()); }, 0},
  };
  // Both plug-ins loaded, but not prepared: nothing may reach them.
  Winamp host;
  ASSERT_EQ(host.LoadInputPlugin(kSp7.c_str(), nullptr), 1);
  ASSERT_EQ(host.LoadOutputPlugin(kOut.c_str(), nullptr), 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BoxRecorder recorder;
    EXPECT_EQ(c.call(host), c.expected);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    ExpectHostBox(recorder.boxes[0], kNotReady);
    EXPECT_EQ(host.GetErrorStr(), kNotReady);
  }
  EXPECT_EQ(CallsOf(host._in[0]->hDllInstance), "Init;");
  EXPECT_EQ(CallsOf(host._out[0]->hDllInstance), "Init;");
}

TEST(MusicHost, IndexedOperationsCheckTheIndex) {
  Winamp host;
  ASSERT_EQ(host.LoadInputPlugin(kSp7.c_str(), nullptr), 1);
  ASSERT_EQ(host.LoadOutputPlugin(kOut.c_str(), nullptr), 1);
  {
    BoxRecorder recorder;
    host.InConfig(nullptr, -1);
    host.InConfig(nullptr, 1);
    host.OutConfig(nullptr, 1);
    EXPECT_STREQ(host.GetInModuleDesc(1), "");
    EXPECT_STREQ(host.GetOutModuleDesc(-1), "");
    ASSERT_EQ(recorder.boxes.size(), 5u);
    for (const DialogRecord& box : recorder.boxes) ExpectHostBox(box, kOutOfBounds);
  }
  BoxRecorder recorder;
  EXPECT_STREQ(host.GetInModuleDesc(0), "Fake Input SP7");
  EXPECT_STREQ(host.GetOutModuleDesc(0), "Fake Output");
  host.InConfig(nullptr, 0);
  host.OutConfig(nullptr, 0);
  EXPECT_TRUE(recorder.boxes.empty());
  EXPECT_EQ(CallsOf(host._in[0]->hDllInstance), "Init;Config;");
  EXPECT_EQ(CallsOf(host._out[0]->hDllInstance), "Init;Config;");
}

TEST(MusicHost, ExtensionMatchesOneWholeEntryIgnoringCase) {
  In_Module module{};
  module.FileExtensions = "SPC;SP7\0SPC files (*.SPC;*.SP7)\0";
  const struct {
    const char* file;
    bool expected;
  } cases[] = {
      {"x.spc", true},      {"x.SP7", true},      {"x.Spc", true},    {"dir/a.b.spc", true}, {"x.sp", false},
      {"x.spc7", false},    {"x.sp7x", false},    {"x", false},       {"spc", false},        {"x.", false},
      {"dir.spc/x", false}, {"x.SPC;SP7", false}, {"x.files", false},
  };
  for (const auto& c : cases) EXPECT_EQ(Winamp::_checkExtension(c.file, &module), c.expected) << c.file;
  module.FileExtensions = "SPC\0";
  EXPECT_TRUE(Winamp::_checkExtension("x.spc", &module));
  EXPECT_FALSE(Winamp::_checkExtension("x.", &module));
}

TEST(MusicHost, PrepareConnectsTheModuleForTheFileType) {
  Winamp host;
  ASSERT_EQ(host.LoadInputPlugin(kMod.c_str(), nullptr), 1);
  {
    BoxRecorder recorder;
    EXPECT_EQ(host.PreparePlugin("x.spc", nullptr), 0);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    ExpectHostBox(recorder.boxes[0], "Load output plugin first");
  }
  ASSERT_EQ(host.LoadOutputPlugin(kOut.c_str(), nullptr), 1);
  {
    BoxRecorder recorder;
    EXPECT_EQ(host.PreparePlugin("x.spc", nullptr), 0);
    EXPECT_EQ(host.PreparePlugin(nullptr, nullptr), 0);
    ASSERT_EQ(recorder.boxes.size(), 2u);
    ExpectHostBox(recorder.boxes[0], "Can't find plugin for this file");
    ExpectHostBox(recorder.boxes[1], "Need file name");
    EXPECT_EQ(host._ready, 0);
  }
  ASSERT_EQ(host.LoadInputPlugin(kSp7.c_str(), nullptr), 1);
  BoxRecorder recorder;
  ASSERT_EQ(host.PreparePlugin("testfile.spc", nullptr), 1);
  EXPECT_TRUE(recorder.boxes.empty());
  EXPECT_EQ(host._ready, 1);
  EXPECT_EQ(host.in, host._in[0]);
  EXPECT_EQ(host.out, host._out[0]);
  EXPECT_EQ(host.in->outMod, host.out);
  EXPECT_EQ(host.in->hMainWindow, nullptr);
  ASSERT_NE(host.in->dsp_isactive, nullptr);
  EXPECT_EQ(host.in->dsp_isactive(), 0);
  EXPECT_EQ(host.in->SAGetMode(), 0);
  EXPECT_EQ(host.in->VSAGetMode(nullptr, nullptr), 0);
  EXPECT_EQ(host.in->SetInfo, &Winamp::SetInfo);
  // Loading either side again undoes the preparation.
  ASSERT_EQ(host.LoadOutputPlugin(kOut.c_str(), nullptr), 1);
  EXPECT_EQ(host._ready, 0);
}

TEST(MusicHost, PreparedHostForwardsToTheModules) {
  TempDir dir;
  const std::string song = (dir.path() / "song.spc").string();
  WriteBytes(song, {1, 2, 3});
  Winamp host;
  ASSERT_EQ(host.LoadInputPlugin(kSp7.c_str(), nullptr), 1);
  ASSERT_EQ(host.LoadOutputPlugin(kOut.c_str(), nullptr), 1);
  ASSERT_EQ(host.PreparePlugin("testfile.spc", nullptr), 1);
  BoxRecorder recorder;
  EXPECT_EQ(host.Play(song.c_str()), 0);
  host.Pause();
  host.UnPause();
  host.Seek(1500);
  host.SetVolume(200);
  host.SetPan(-20);
  host.InConfig(nullptr);
  host.OutConfig(nullptr);
  host.Stop();
  EXPECT_EQ(host.IsPaused(), 3);
  EXPECT_EQ(host.GetLength(), 4321);
  EXPECT_EQ(host.GetPosition(), 99);
  EXPECT_EQ(host.IsPlaying(), 6);
  EXPECT_EQ(host.IsSeekable(), 1);
  EXPECT_EQ(host.IsOurFile("a.xyz"), 7);
  EXPECT_EQ(host.InfoBox("b.sp7", nullptr), 5);
  EXPECT_STREQ(host.GetInModuleDesc(), "Fake Input SP7");
  EXPECT_STREQ(host.GetOutModuleDesc(), "Fake Output");
  char title[GETFILEINFO_TITLE_LENGTH] = "old";
  int length = -1;
  EXPECT_EQ(host.GetFileInfo("c.SPC", title, &length), 1);
  EXPECT_STREQ(title, "fake title");
  EXPECT_EQ(length, 1234);
  EXPECT_EQ(host.GetFileInfo("", title, &length), 0);
  EXPECT_TRUE(recorder.boxes.empty());
  EXPECT_EQ(CallsOf(host.in->hDllInstance),
            "Init;Play(" + song +
                ");Pause;UnPause;SetOutputTime(1500);SetVolume(200);SetPan(-20);Config;Stop;"
                "IsOurFile(a.xyz);InfoBox(b.sp7);GetFileInfo(c.SPC);GetFileInfo();");
  EXPECT_EQ(CallsOf(host.out->hDllInstance), "Init;Config;");

  Winamp::SetInfo(128, 32, -1, 1);
  Winamp::SetInfo(-1, -1, 2, -1);
  EXPECT_EQ(Winamp::_bitrate, 128);
  EXPECT_EQ(Winamp::_rate, 32);
  EXPECT_EQ(Winamp::_stereo, 2);
  EXPECT_EQ(Winamp::_synched, 1);
}

TEST(MusicHost, PlayOfAMissingFileReportsAndDoesNotReachTheModule) {
  Winamp host;
  ASSERT_EQ(host.LoadInputPlugin(kSp7.c_str(), nullptr), 1);
  ASSERT_EQ(host.LoadOutputPlugin(kOut.c_str(), nullptr), 1);
  ASSERT_EQ(host.PreparePlugin("testfile.spc", nullptr), 1);
  BoxRecorder recorder;
  EXPECT_EQ(host.Play("/nonexistent/song.spc"), -1);
  ASSERT_EQ(recorder.boxes.size(), 1u);
  ExpectHostBox(recorder.boxes[0], "Can't open file.");
  EXPECT_EQ(CallsOf(host.in->hDllInstance), "Init;");
}

TEST(MusicHost, FileQueriesWithoutAModuleClearTheAnswer) {
  Winamp host;
  char title[GETFILEINFO_TITLE_LENGTH] = "old";
  int length = 5;
  {
    BoxRecorder recorder;
    EXPECT_EQ(host.GetFileInfo("a.spc", title, &length), 0);
    EXPECT_EQ(host.GetFileInfo(nullptr, title, &length), 0);
    EXPECT_EQ(host.InfoBox("a.spc", nullptr), 0);
    ASSERT_EQ(recorder.boxes.size(), 2u);
    ExpectHostBox(recorder.boxes[0], "Load input plugin first");
    ExpectHostBox(recorder.boxes[1], "Load input plugin first");
    EXPECT_STREQ(title, "");
    EXPECT_EQ(length, 0);
  }
  ASSERT_EQ(host.LoadInputPlugin(kMod.c_str(), nullptr), 1);
  BoxRecorder recorder;
  title[0] = 'x';
  length = 5;
  EXPECT_EQ(host.GetFileInfo("a.spc", title, &length), 0);
  EXPECT_EQ(host.InfoBox("a.spc", nullptr), 0);
  EXPECT_EQ(host.InfoBox(nullptr, nullptr), 0);
  ASSERT_EQ(recorder.boxes.size(), 3u);
  ExpectHostBox(recorder.boxes[0], "Can't find plugin for this file.");
  ExpectHostBox(recorder.boxes[1], "Can't find plugin for this file.");
  ExpectHostBox(recorder.boxes[2], "Need file name");
  EXPECT_STREQ(title, "");
  EXPECT_EQ(length, 0);
}

TEST(MusicHost, SearchLoadsEveryInputPluginOfTheFolder) {
  Winamp host;
  BoxRecorder recorder;
  // The second of three fails quietly; the others load in name order.
  EXPECT_EQ(host.LoadInputPlugin(nullptr, (kFakes + "/search").c_str()), 2);
  EXPECT_TRUE(recorder.boxes.empty());
  ASSERT_EQ(host._numIn, 2);
  EXPECT_STREQ(host._in[0]->description, "Fake Input MOD");
  EXPECT_STREQ(host._in[1]->description, "Fake Input SP7");
  ASSERT_EQ(host.LoadOutputPlugin(kOut.c_str(), nullptr), 1);
  ASSERT_EQ(host.PreparePlugin("a.sp7", nullptr), 1);
  EXPECT_EQ(host._selIn, 1);

  // A bad first one fails the search with its report.
  const std::string badFirst = kFakes + "/badfirst";
  EXPECT_EQ(host.LoadInputPlugin(nullptr, badFirst.c_str()), 0);
  EXPECT_EQ(host._numIn, 0);
  ASSERT_EQ(recorder.boxes.size(), 1u);
  ExpectHostBox(recorder.boxes[0], "Can't get interface with " + badFirst + "/in_a_noexport.so");

  // A folder without input plug-ins gives nothing and says nothing.
  TempDir empty;
  EXPECT_EQ(host.LoadInputPlugin(nullptr, empty.path().c_str()), 0);
  EXPECT_EQ(recorder.boxes.size(), 1u);
}

TEST(MusicHost, FreeingTheOutputStopsTheInputPlayingIntoIt) {
  Winamp host;
  ASSERT_EQ(host.LoadInputPlugin(kSp7.c_str(), nullptr), 1);
  ASSERT_EQ(host.LoadOutputPlugin(kOut.c_str(), nullptr), 1);
  ASSERT_EQ(host.PreparePlugin("testfile.spc", nullptr), 1);
  In_Module* input = host.in;
  host.FreeOutputPlugin();
  EXPECT_EQ(input->outMod, nullptr);
  EXPECT_EQ(host.out, nullptr);
  EXPECT_EQ(host._ready, 0);
  EXPECT_EQ(CallsOf(input->hDllInstance), "Init;Stop;");
}

TEST(MusicHost, RelativePluginPathsAlsoSearchTheExecutablesFolder) {
  // The fakes are built in fakes/ beside this test program, not in the working folder.
  TempDir dir;
  WorkingDir cwd(dir.path());
  BoxRecorder recorder;
  Winamp host;
  EXPECT_EQ(host.LoadInputPlugin("fakes/single/in_sp7.so", nullptr), 1);
  EXPECT_EQ(host.LoadOutputPlugin("out_fake.so", "fakes/single"), 1);
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST(MusicHost, ErrorTextKeepsAtMost1023Characters) {
  BoxRecorder recorder;
  Winamp host;
  EXPECT_STREQ(host.GetErrorStr(), "");
  // Built by append: GCC 12 warns falsely (-Warray-bounds) on an inlined sum of a literal and a long string.
  std::string path("/");
  path.append(1500, 'p').append(".so");
  EXPECT_EQ(host.LoadOutputPlugin(path.c_str(), nullptr), 0);
  const std::string expected = std::string("Can't load ").append(path).substr(0, 1023);
  EXPECT_EQ(host.GetErrorStr(), expected);
  ASSERT_EQ(recorder.boxes.size(), 1u);
  EXPECT_EQ(recorder.boxes[0].text, expected);
  EXPECT_EQ(host.LoadOutputPlugin(nullptr, nullptr), 0);
  EXPECT_STREQ(host.GetErrorStr(), "Need plugin name");
}

class MusicSetUp : public ::testing::Test {
 protected:
  void TearDown() override {
    delete SNESAMP;
    SNESAMP = nullptr;
  }
};

TEST_F(MusicSetUp, EachFailureShowsTwoBoxesAndLeavesNoHost) {
  const std::string missing = kFakes + "/single/in_missing.so";
  const struct Case {
    std::string input, output, hostText, setUpText;
  } cases[] = {
      {missing, kOut, "Can't load " + missing, "Can't load input plugin! Program should exit abruptly."},
      {kInNoExport, kOut, "Can't get interface with " + kInNoExport,
       "Can't load input plugin! Program should exit abruptly."},
      {kSp7, missing, "Can't load " + missing, "Can't load output plugin! Program should exit abruptly."},
      {kSp7, kOutNoExport, "Can't get interface with " + kOutNoExport,
       "Can't load output plugin! Program should exit abruptly."},
      {kMod, kOut, "Can't find plugin for this file",
       "Can't get adequately plugin for this file type! Program should exit abruptly."},
      // Relative paths are reported as given.
      {"PlugIns/in_none.so", kOut, "Can't load PlugIns/in_none.so",
       "Can't load input plugin! Program should exit abruptly."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hostText);
    BoxRecorder recorder;
    SetUpMusicHost(c.input.c_str(), c.output.c_str());
    EXPECT_EQ(SNESAMP, nullptr);
    ASSERT_EQ(recorder.boxes.size(), 2u);
    ExpectHostBox(recorder.boxes[0], c.hostText);
    EXPECT_EQ(recorder.boxes[1].kind, BoxKind::Error);
    EXPECT_EQ(recorder.boxes[1].title, "WinAMP Error");
    EXPECT_EQ(recorder.boxes[1].text, c.setUpText);
    // The program carries on without music: the music functions do nothing.
    play_music(0, 0x1A);
    stop_music();
    pause_music();
    unpause_music();
    set_music_vol(3);
    EXPECT_EQ(recorder.boxes.size(), 2u);
  }
}

TEST_F(MusicSetUp, MusicFunctionsReachThePreparedModule) {
  BoxRecorder recorder;
  SetUpMusicHost(kSp7.c_str(), kOut.c_str());
  ASSERT_NE(SNESAMP, nullptr);
  EXPECT_TRUE(recorder.boxes.empty());
  TempDir dir;
  WorkingDir cwd(dir.path());

  play_music(0, 0x1A);
  ASSERT_EQ(recorder.boxes.size(), 2u);
  ExpectHostBox(recorder.boxes[0], "Can't open file.");
  EXPECT_EQ(recorder.boxes[1].kind, BoxKind::Error);
  EXPECT_EQ(recorder.boxes[1].title, "WinAMP Error");
  EXPECT_EQ(recorder.boxes[1].text, "File not found.\n\"Resources/Music/001A.SPC\"\nMusic will not play.");

  std::filesystem::create_directories("Resources/Music");
  WriteBytes("Resources/Music/001A.SPC", {0});
  WriteBytes("Resources/Music/0ABC.SPC", {0});
  play_music(7, 0x1A);
  play_music(0, 0xABC);
  pause_music();
  unpause_music();
  set_music_vol(0x1FF);
  stop_music();
  EXPECT_EQ(recorder.boxes.size(), 2u);
  EXPECT_EQ(CallsOf(SNESAMP->in->hDllInstance),
            "Init;Play(Resources/Music/001A.SPC);Play(Resources/Music/0ABC.SPC);Pause;UnPause;SetVolume(255);"
            "Stop;");
}

}  // namespace
