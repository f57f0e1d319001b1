// The real plug-ins end to end: the SPC decoder playing a test tone into the
// output plug-in's WAV recorder, driven through the host.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <sys/stat.h>

#include "music/winamp.h"
#include "tests/music/music_support.h"

namespace {

using namespace std::chrono_literals;

const std::string kPlugIns = std::string(QBRRE_BINARY_DIR) + "/PlugIns";

class Playback : public ::testing::Test {
 protected:
  void SetUp() override {
    wav_ = dir_.path() / "out.wav";
    setenv("QBRRE_WAV_OUT", wav_.c_str(), 1);
    ASSERT_EQ(host_.LoadInputPlugin((kPlugIns + "/in_snes.so").c_str(), nullptr), 1);
    ASSERT_EQ(host_.LoadOutputPlugin((kPlugIns + "/out_wave.so").c_str(), nullptr), 1);
    ASSERT_EQ(host_.PreparePlugin("testfile.spc", nullptr), 1);
  }
  void TearDown() override {
    host_.Stop();
    unsetenv("QBRRE_WAV_OUT");
  }
  std::string Song(int toneHz, int tagSeconds) {
    const std::filesystem::path path = dir_.path() / ("song" + std::to_string(toneHz) + ".spc");
    WriteBytes(path, MakeSpc(toneHz, tagSeconds));
    return path.string();
  }
  uintmax_t RecordedBytes() { return std::filesystem::file_size(wav_); }

  TempDir dir_;
  std::filesystem::path wav_;
  Winamp host_;
  BoxRecorder boxes_;
};

TEST_F(Playback, ToneFileRecordsTheToneInRealTime) {
  ASSERT_EQ(host_.Play(Song(500, 10).c_str()), 0);
  EXPECT_EQ(host_.GetLength(), 10000);
  EXPECT_EQ(host_.IsSeekable(), 1);
  EXPECT_EQ(Winamp::_rate, 32);
  EXPECT_EQ(Winamp::_stereo, 2);
  std::this_thread::sleep_for(1200ms);
  host_.Stop();

  const WavFile wav = ReadWav(wav_);
  ASSERT_TRUE(wav.valid);
  EXPECT_EQ(wav.rate, 32000);
  EXPECT_EQ(wav.channels, 2);
  const double seconds = static_cast<double>(wav.samples.size()) / (2 * 32000);
  // Paced like a device: about as much as the time played, never far ahead.
  EXPECT_GT(seconds, 0.8);
  EXPECT_LT(seconds, 1.35);
  EXPECT_GT(Peak(wav), 2000);
  EXPECT_NEAR(ToneFrequency(wav), 500.0, 5.0);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(Playback, SilentFileRecordsSilenceAndUntaggedOneHasNoLength) {
  ASSERT_EQ(host_.Play(Song(0, 0).c_str()), 0);
  EXPECT_EQ(host_.GetLength(), -1000);
  std::this_thread::sleep_for(400ms);
  host_.Stop();
  const WavFile wav = ReadWav(wav_);
  ASSERT_TRUE(wav.valid);
  EXPECT_GT(wav.samples.size(), 2u * 32000 / 5);
  EXPECT_EQ(Peak(wav), 0);
}

TEST_F(Playback, PauseHoldsTheRecordingAndUnPauseGoesOn) {
  ASSERT_EQ(host_.Play(Song(500, 10).c_str()), 0);
  std::this_thread::sleep_for(300ms);
  host_.Pause();
  EXPECT_EQ(host_.IsPaused(), 1);
  std::this_thread::sleep_for(50ms);
  const uintmax_t held = RecordedBytes();
  const int position = host_.GetPosition();
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(RecordedBytes(), held);
  EXPECT_EQ(host_.GetPosition(), position);
  host_.UnPause();
  EXPECT_EQ(host_.IsPaused(), 0);
  std::this_thread::sleep_for(500ms);
  EXPECT_GT(RecordedBytes(), held + 32000);
}

TEST_F(Playback, SeekMovesTheOutputTime) {
  ASSERT_EQ(host_.Play(Song(500, 10).c_str()), 0);
  std::this_thread::sleep_for(200ms);
  EXPECT_LT(host_.GetPosition(), 1000);
  host_.Seek(5000);
  std::this_thread::sleep_for(400ms);
  const int position = host_.GetPosition();
  EXPECT_GE(position, 5100);
  EXPECT_LE(position, 5700);
  // The tone goes on after the seek.
  host_.Stop();
  EXPECT_GT(Peak(ReadWav(wav_)), 2000);
}

TEST_F(Playback, StopEndsTheDecoderAndMayBeRepeated) {
  ASSERT_EQ(host_.Play(Song(500, 10).c_str()), 0);
  std::this_thread::sleep_for(200ms);
  const int playing = ThreadCount();
  host_.Stop();
  const int threads = ThreadCount();
  EXPECT_EQ(threads, playing - 1);
  const uintmax_t stopped = RecordedBytes();
  host_.Stop();
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(RecordedBytes(), stopped);
  EXPECT_EQ(host_.IsPlaying(), 0);
  EXPECT_EQ(host_.GetPosition(), 0);
  // Playing again after a stop starts afresh.
  ASSERT_EQ(host_.Play(Song(500, 10).c_str()), 0);
  EXPECT_EQ(ThreadCount(), threads + 1);
}

TEST_F(Playback, VolumeAndPanScaleTheChannels) {
  const std::string song = Song(500, 10);
  const auto record = [&](int volume, int pan, int& left, int& right) {
    host_.SetVolume(volume);
    host_.SetPan(pan);
    ASSERT_EQ(host_.Play(song.c_str()), 0);
    std::this_thread::sleep_for(250ms);
    host_.Stop();
    const WavFile wav = ReadWav(wav_);
    ASSERT_TRUE(wav.valid);
    left = right = 0;
    for (size_t i = 0; i + 1 < wav.samples.size(); i += 2) {
      left = std::max(left, std::abs(static_cast<int>(wav.samples[i])));
      right = std::max(right, std::abs(static_cast<int>(wav.samples[i + 1])));
    }
  };
  int fullLeft = 0, fullRight = 0;
  record(255, 0, fullLeft, fullRight);
  ASSERT_GT(fullLeft, 2000);
  EXPECT_NEAR(fullRight, fullLeft, fullLeft / 50);
  const struct {
    int volume, pan;
    double left, right;  // expected share of the full peak
  } cases[] = {{0, 0, 0, 0}, {128, 0, 0.5, 0.5}, {255, 128, 0, 1}, {255, -128, 1, 0}, {255, 64, 0.5, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "volume " << c.volume << " pan " << c.pan);
    int left = 0, right = 0;
    record(c.volume, c.pan, left, right);
    EXPECT_NEAR(left, c.left * fullLeft, fullLeft / 50 + 1);
    EXPECT_NEAR(right, c.right * fullRight, fullRight / 50 + 1);
  }
}

TEST_F(Playback, FailuresOfTheDecoderAndTheDeviceAreCodes) {
  const int threads = ThreadCount();
  // The decoder's own answer for a missing file, without the host's check.
  EXPECT_EQ(host_.in->Play((dir_.path() / "none.spc").c_str()), -1);
  const std::filesystem::path junk = dir_.path() / "junk.spc";
  WriteBytes(junk, std::vector<uint8_t>(100, 0x55));
  EXPECT_EQ(host_.Play(junk.c_str()), 1);
  // No device to open: Play fails cleanly and starts nothing.
  setenv("QBRRE_WAV_OUT", "/nonexistent/folder/out.wav", 1);
  EXPECT_EQ(host_.Play(Song(500, 10).c_str()), 1);
  EXPECT_EQ(ThreadCount(), threads);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(Playback, FailedPlayKeepsNoTagOfTheTuneBefore) {
  ASSERT_EQ(host_.Play(Song(500, 10).c_str()), 0);
  ASSERT_EQ(host_.GetLength(), 10000);
  const std::filesystem::path junk = dir_.path() / "junk.spc";
  WriteBytes(junk, std::vector<uint8_t>(100, 0x55));
  EXPECT_EQ(host_.Play(junk.c_str()), 1);
  EXPECT_EQ(host_.GetLength(), -1000);
  char title[GETFILEINFO_TITLE_LENGTH] = "stale";
  int length = 0;
  EXPECT_EQ(host_.GetFileInfo(nullptr, title, &length), 0);
  EXPECT_STREQ(title, "");
  EXPECT_EQ(length, -1000);
}

TEST_F(Playback, FifoNamedLikeASongIsNoSongAndNothingWaits) {
  const std::filesystem::path fifo = dir_.path() / "pipe.spc";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(host_.Play(fifo.c_str()), -1);
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].text, "Can't open file.");
  // The decoder's own checks, without the host's.
  EXPECT_EQ(host_.in->Play(fifo.c_str()), -1);
  char title[GETFILEINFO_TITLE_LENGTH] = "";
  int length = 0;
  host_.in->GetFileInfo(fifo.c_str(), title, &length);
  EXPECT_STREQ(title, "pipe.spc");
  EXPECT_EQ(length, -1000);
}

}  // namespace

namespace {

// Without a recording the output plug-in plays through SDL's audio queue;
// SDL's file-writing driver stands in for a sound server here.
TEST(DevicePlayback, QueuePlaysInRealTimeAndPauses) {
  TempDir dir;
  const std::filesystem::path song = dir.path() / "tone.spc";
  const std::filesystem::path raw = dir.path() / "device.raw";
  WriteBytes(song, MakeSpc(500, 10));
  unsetenv("QBRRE_WAV_OUT");
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
  BoxRecorder boxes;
  Winamp host;
  ASSERT_EQ(host.LoadInputPlugin((kPlugIns + "/in_snes.so").c_str(), nullptr), 1);
  ASSERT_EQ(host.LoadOutputPlugin((kPlugIns + "/out_wave.so").c_str(), nullptr), 1);
  ASSERT_EQ(host.PreparePlugin("testfile.spc", nullptr), 1);
  ASSERT_EQ(host.Play(song.c_str()), 0);
  std::this_thread::sleep_for(600ms);
  const int position = host.GetPosition();
  EXPECT_GE(position, 250);
  EXPECT_LE(position, 800);
  EXPECT_EQ(host.IsPlaying(), 1);
  host.Pause();
  std::this_thread::sleep_for(100ms);
  const int paused = host.GetPosition();
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(host.GetPosition(), paused);
  host.UnPause();
  host.Seek(3000);
  std::this_thread::sleep_for(300ms);
  EXPECT_GE(host.GetPosition(), 3000);
  EXPECT_LE(host.GetPosition(), 3500);
  host.Stop();
  EXPECT_GT(std::filesystem::file_size(raw), 32000u);
  unsetenv("SDL_AUDIODRIVER");
  unsetenv("SDL_DISKAUDIOFILE");
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
