// The output plug-in's WAV recorder: paced by the clock, held by pause,
// bounded in length, and a valid file at every moment.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include <sys/stat.h>

#include "plugins/out_wave/wav_sink.h"
#include "tests/common/temp_folder.h"
#include "tests/music/music_support.h"

namespace {

using namespace std::chrono_literals;

TEST(WavSink, PlaysQueuedBytesAtTheClocksPaceOnly) {
  TempDir dir;
  const auto path = dir.path() / "a.wav";
  WavSink sink;
  ASSERT_TRUE(sink.Open(path.string(), 8000, 1, 16));  // 16000 bytes a second
  const std::vector<char> second(16000, 0x11);
  sink.Write(second.data(), static_cast<int>(second.size()));
  EXPECT_GT(sink.Queued(), 15000);
  std::this_thread::sleep_for(250ms);
  const int64_t played = sink.Played();
  EXPECT_GE(played, 3800);
  EXPECT_LE(played, 6400);
  EXPECT_EQ(played % 2, 0);
  const WavFile wav = ReadWav(path);
  ASSERT_TRUE(wav.valid);
  EXPECT_EQ(wav.rate, 8000);
  EXPECT_EQ(wav.channels, 1);
  EXPECT_GE(static_cast<int64_t>(wav.samples.size()) * 2, played);

  sink.Pause(true);
  const int64_t held = sink.Played();
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(sink.Played(), held);
  sink.Pause(false);

  // Flush drops what waits and counts again from zero.
  sink.Flush();
  EXPECT_EQ(sink.Queued(), 0);
  EXPECT_EQ(sink.Played(), 0);
  sink.Close();
  EXPECT_EQ(ReadWav(path).samples.size() * 2, static_cast<size_t>(held));
}

TEST(WavSink, RejectsWhatItCannotWrite) {
  WavSink sink;
  EXPECT_FALSE(sink.Open("/nonexistent/folder/a.wav", 32000, 2, 16));
  TempDir dir;
  EXPECT_FALSE(sink.Open((dir.path() / "b.wav").string(), 0, 2, 16));
  EXPECT_FALSE(sink.Open((dir.path() / "b.wav").string(), 32000, 2, 12));
  // A file that opens but takes no bytes, as on a full disk.
  EXPECT_FALSE(sink.Open("/dev/full", 32000, 2, 16));
  EXPECT_EQ(sink.Queued(), 0);
  // A FIFO without a reader would hold the opening thread for ever.
  const auto fifo = dir.path() / "pipe.wav";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(sink.Open(fifo.string(), 32000, 2, 16));
}

TEST(WavSink, StopsGrowingAtItsLimitWhileTheClockGoesOn) {
  TempDir dir;
  const auto path = dir.path() / "c.wav";
  WavSink sink(100);  // 1600 bytes at 8000 Hz mono
  ASSERT_TRUE(sink.Open(path.string(), 8000, 1, 16));
  const std::vector<char> half(8000, 0x22);
  sink.Write(half.data(), static_cast<int>(half.size()));
  EXPECT_TRUE(WaitUntil([&] { return sink.Played() >= 4000; })) << sink.Played();
  const WavFile wav = ReadWav(path);
  ASSERT_TRUE(wav.valid);
  EXPECT_EQ(wav.samples.size(), 800u);
}

}  // namespace
