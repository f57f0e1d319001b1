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
#include "tests/common/scoped_env.h"
#include "tests/common/temp_folder.h"
#include "tests/music/music_support.h"

namespace {

using namespace std::chrono_literals;

const std::string kPlugIns = std::string(QBRRE_BINARY_DIR) + "/PlugIns";

class Playback : public ::testing::Test {
 protected:
  void SetUp() override {
    wav_ = dir_.path() / "out.wav";
    wav_out_.Set(wav_.c_str());
    ASSERT_EQ(host_.LoadInputPlugin((kPlugIns + "/in_snes.so").c_str(), nullptr), 1);
    ASSERT_EQ(host_.LoadOutputPlugin((kPlugIns + "/out_wave.so").c_str(), nullptr), 1);
    ASSERT_EQ(host_.PreparePlugin("testfile.spc", nullptr), 1);
  }
  void TearDown() override { host_.Stop(); }
  std::string Song(int toneHz, int tagSeconds) {
    const std::filesystem::path path = dir_.path() / ("song" + std::to_string(toneHz) + ".spc");
    WriteBytes(path, MakeSpc(toneHz, tagSeconds));
    return path.string();
  }
  // Bytes of sound recorded so far (the file without its 44-byte header); 0 before the file exists.
  uintmax_t RecordedBytes() {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(wav_, error);
    return error || size < 44 ? 0 : size - 44;
  }
  // Waits until at least `seconds` of 32 kHz 16-bit stereo sound are recorded.
  bool WaitForRecorded(double seconds) {
    return WaitUntil([&] { return RecordedBytes() >= static_cast<uintmax_t>(seconds * 4 * 32000); });
  }

  TempDir dir_;
  std::filesystem::path wav_;
  ScopedEnv wav_out_{"QBRRE_WAV_OUT", nullptr};  // the recording goes to wav_; put back afterwards
  Winamp host_;
  BoxRecorder boxes_;
};

TEST_F(Playback, ToneFileRecordsTheToneInRealTime) {
  ASSERT_EQ(host_.Play(Song(500, 10).c_str()), 0);
  EXPECT_EQ(host_.GetLength(), 10000);
  EXPECT_EQ(host_.IsSeekable(), 1);
  EXPECT_EQ(Winamp::_rate, 32);
  EXPECT_EQ(Winamp::_stereo, 2);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(WaitForRecorded(1.0));
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  host_.Stop();

  const WavFile wav = ReadWav(wav_);
  ASSERT_TRUE(wav.valid);
  EXPECT_EQ(wav.rate, 32000);
  EXPECT_EQ(wav.channels, 2);
  const double seconds = static_cast<double>(wav.samples.size()) / (2 * 32000);
  // Paced like a device: never far ahead of the time played, however slow the machine.
  EXPECT_GE(seconds, 1.0);
  EXPECT_LT(seconds, elapsed + 0.35);
  EXPECT_GT(Peak(wav), 2000);
  EXPECT_NEAR(ToneFrequency(wav), 500.0, 5.0);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(Playback, SilentFileRecordsSilenceAndUntaggedOneHasNoLength) {
  ASSERT_EQ(host_.Play(Song(0, 0).c_str()), 0);
  EXPECT_EQ(host_.GetLength(), -1000);
  ASSERT_TRUE(WaitForRecorded(0.2));
  host_.Stop();
  const WavFile wav = ReadWav(wav_);
  ASSERT_TRUE(wav.valid);
  EXPECT_GT(wav.samples.size(), 2u * 32000 / 5);
  EXPECT_EQ(Peak(wav), 0);
}

TEST_F(Playback, PauseHoldsTheRecordingAndUnPauseGoesOn) {
  ASSERT_EQ(host_.Play(Song(500, 10).c_str()), 0);
  ASSERT_TRUE(WaitForRecorded(0.3));
  host_.Pause();
  EXPECT_EQ(host_.IsPaused(), 1);
  // A block on its way may still land: wait until the file stops growing.
  uintmax_t last = RecordedBytes();
  ASSERT_TRUE(WaitUntil([&] {
    std::this_thread::sleep_for(50ms);
    const uintmax_t now = RecordedBytes();
    const bool still = now == last;
    last = now;
    return still;
  }));
  const uintmax_t held = RecordedBytes();
  const int position = host_.GetPosition();
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(RecordedBytes(), held);
  EXPECT_EQ(host_.GetPosition(), position);
  host_.UnPause();
  EXPECT_EQ(host_.IsPaused(), 0);
  EXPECT_TRUE(WaitUntil([&] { return RecordedBytes() > held + 32000; }));
}

TEST_F(Playback, SeekMovesTheOutputTime) {
  ASSERT_EQ(host_.Play(Song(500, 10).c_str()), 0);
  ASSERT_TRUE(WaitForRecorded(0.1));
  EXPECT_LT(host_.GetPosition(), 1000);
  host_.Seek(5000);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(WaitUntil([&] { return host_.GetPosition() >= 5100; }));
  const int position = host_.GetPosition();
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  // From the sought time on, never far ahead of the time played since.
  EXPECT_LE(position, 5000 + elapsed.count() + 300);
  // The tone goes on after the seek.
  host_.Stop();
  EXPECT_GT(Peak(ReadWav(wav_)), 2000);
}

TEST_F(Playback, StopEndsTheDecoderAndMayBeRepeated) {
  ASSERT_EQ(host_.Play(Song(500, 10).c_str()), 0);
  ASSERT_TRUE(WaitForRecorded(0.1));
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
  // Each recording starts afresh: a quarter of a second of it is enough for the peaks.
  const auto record = [&](int volume, int pan, int& left, int& right) {
    host_.SetVolume(volume);
    host_.SetPan(pan);
    ASSERT_EQ(host_.Play(song.c_str()), 0);
    ASSERT_TRUE(WaitForRecorded(0.25));
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
  wav_out_.Set("/nonexistent/folder/out.wav");
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
  const ScopedEnv wav_out("QBRRE_WAV_OUT", nullptr);
  const ScopedEnv driver("SDL_AUDIODRIVER", "disk");
  const ScopedEnv device("SDL_DISKAUDIOFILE", raw.c_str());
  BoxRecorder boxes;
  Winamp host;
  ASSERT_EQ(host.LoadInputPlugin((kPlugIns + "/in_snes.so").c_str(), nullptr), 1);
  ASSERT_EQ(host.LoadOutputPlugin((kPlugIns + "/out_wave.so").c_str(), nullptr), 1);
  ASSERT_EQ(host.PreparePlugin("testfile.spc", nullptr), 1);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(host.Play(song.c_str()), 0);
  const auto since = [](std::chrono::steady_clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t).count();
  };
  // The queue is played in real time: the position gets to 250 ms, never far ahead of the clock.
  ASSERT_TRUE(WaitUntil([&] { return host.GetPosition() >= 250; }));
  EXPECT_LE(host.GetPosition(), since(start) + 200);
  EXPECT_EQ(host.IsPlaying(), 1);
  host.Pause();
  // Paused: the position stops (once the block on its way is played) and stays.
  int paused = host.GetPosition();
  ASSERT_TRUE(WaitUntil([&] {
    std::this_thread::sleep_for(100ms);
    const int now = host.GetPosition();
    const bool still = now == paused;
    paused = now;
    return still;
  }));
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(host.GetPosition(), paused);
  host.UnPause();
  host.Seek(3000);
  const auto sought = std::chrono::steady_clock::now();
  ASSERT_TRUE(WaitUntil([&] { return host.GetPosition() > 3000; }));
  EXPECT_LE(host.GetPosition(), 3000 + since(sought) + 200);
  host.Stop();
  EXPECT_GT(std::filesystem::file_size(raw), 32000u);
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
