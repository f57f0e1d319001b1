#include <gtest/gtest.h>

#include <vector>

#include "level/level_objects.h"
#include "level/level_records.h"
#include "tests/level/level_support.h"

// The record codecs the editor writes with: positions survive a round trip,
// stored words match what the readers decode, and untouched bits stay.

namespace {

leveldata Horizontal(int start, int tiles_w) {
  leveldata lvl;
  lvl.x = start;
  lvl.sequencing = 0;
  lvl.tile_w = tiles_w;
  lvl.tile_h = 16;
  lvl.tilemap = 0x1000;
  return lvl;
}

leveldata Vertical(int start, int tiles_h) {
  leveldata lvl;
  lvl.x = start;
  lvl.sequencing = 1;
  lvl.tile_w = 64;
  lvl.tile_h = tiles_h;
  lvl.tilemap = 0x1000;
  return lvl;
}

}  // namespace

TEST(ObjectRecordCodecTest, EveryCornerOfALevelRoundTrips) {
  const leveldata levels[] = {Horizontal(0, 24), Horizontal(0x1234, 100), Horizontal(0xF000, 200),
                              Vertical(0, 100), Vertical(0x8000, 400), Vertical(0xFFF0, 8)};
  for (const leveldata& lvl : levels) {
    const int w = 32 * lvl.tile_w, h = 32 * lvl.tile_h;
    for (int x : {0, 1, w / 2, w - 1}) {
      for (int y : {0, 1, 0x1FF, 0x200, 0x201, h / 2, h - 1}) {
        if (y >= h) continue;
        QBR1RawObject r;
        r.SetPosition(x, y, lvl.x);
        EXPECT_EQ(r.X(lvl.x), x) << "start " << lvl.x << " x " << x;
        EXPECT_EQ(r.Y(), y) << "start " << lvl.x << " y " << y;
      }
    }
  }
}

TEST(ObjectRecordCodecTest, StoredWordsAreTheGamesOwn) {
  struct Case {
    int x, y, start;
    unsigned x_word, height_word;
  };
  const Case cases[] = {
      {100, 0x1E0, 0x0200, 0x0264, 0x0020},  // 32 pixels above the bottom of a 16-tile level
      {0, 0x200, 0, 0x0000, 0x0000},         // on the bottom edge
      {0x0FFF, 0, 0xF800, 0x07FF, 0x0200},   // a level whose start lies near the top of the 64 KiB
      {5, 0x0A00, 0, 0x0005, 0xF800},        // low in a tall vertical level
      {-16, -8, 0x0100, 0x00F0, 0x0208},     // a little left of and above the level
  };
  for (const Case& c : cases) {
    QBR1RawObject r;
    r.bytes = {0x07, 0xAB, 0, 0, 0, 0, 0x34, 0x12};
    r.SetPosition(c.x, c.y, c.start);
    EXPECT_EQ(r.XWord(), c.x_word);
    EXPECT_EQ(r.HeightWord(), c.height_word);
    // Kind, the unread byte and the definition stay.
    EXPECT_EQ(r.bytes[0], 0x07);
    EXPECT_EQ(r.bytes[1], 0xAB);
    EXPECT_EQ(r.Definition(), 0x1234u);
  }
}

TEST(ObjectRecordCodecTest, TheMapReaderDecodesWhatTheEditorStores) {
  UseGameConfigText("");
  std::vector<unsigned char> image(0x10000, 0);
  leveldata lvl = Vertical(0x8100, 100);
  lvl.objects = 0x100;
  const int positions[][2] = {{10, 0x0C00}, {2000, 0x1E0}, {40, 3199}};
  long at = lvl.objects;
  for (const auto& p : positions) {
    QBR1RawObject r;
    r.bytes[0] = 1;
    r.SetPosition(p[0], p[1], lvl.x);
    std::copy(r.bytes.begin(), r.bytes.end(), image.begin() + at);
    at += 8;
  }
  LoadTestImage(image);
  const std::vector<QBR1ObjectRecord> read = QBR1_ReadObjectMap(lvl);
  ASSERT_EQ(read.size(), 3u);
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].x, positions[i][0]);
    EXPECT_EQ(read[i].y, positions[i][1]);
  }
}

TEST(BananaRecordCodecTest, PositionKeepsTheBitsItDoesNotChange) {
  struct Case {
    std::array<unsigned char, 4> before;
    int x, y;
    std::array<unsigned char, 4> after;
  };
  const Case cases[] = {
      // Shape 0x110 with bit 0 set, low bits of word 2 set: both stay.
      {{0x11, 0x01, 0x03, 0x00}, 80, 16, {0x11, 0x09, 0x43, 0x01}},
      // y rounds down to the 8-pixel grid; x takes all 14 bits.
      {{0x10, 0xFD, 0x00, 0x00}, 0x3FFF, 0x1FF, {0x10, 0xFD, 0xFC, 0xFF}},
      {{0xFE, 0xFF, 0xFF, 0xFF}, 0, 0, {0xFE, 0x03, 0x03, 0x00}},
      // Outside what the record holds: kept at its edges.
      {{0x02, 0x00, 0x00, 0x00}, -5, 0x400, {0x02, 0xFC, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    QBR1RawBanana r;
    r.bytes = c.before;
    r.SetPosition(c.x, c.y);
    EXPECT_EQ(r.bytes, c.after) << "x " << c.x << " y " << c.y;
  }
  QBR1RawBanana r;
  r.bytes = {0x10, 0x09, 0x40, 0x01};
  EXPECT_EQ(r.Shape(), 0x110);
  EXPECT_EQ(r.Y(), 16);
  EXPECT_EQ(r.X(), 80);
}

TEST(TileEntryCodecTest, BitsOfAMapEntry) {
  struct Case {
    unsigned word;
    int tile;
    bool h, v;
  };
  const Case cases[] = {{0x0000, 0, false, false}, {0xC005, 5, true, true},   {0x4000, 0, true, false},
                        {0x8123, 0x123, false, true}, {0x3FFF, 0x3FFF, false, false}, {0xFFFF, 0x3FFF, true, true}};
  for (const Case& c : cases) {
    const QBR1TileEntry e = QBR1TileEntry::FromWord(c.word);
    EXPECT_EQ(e.tile, c.tile);
    EXPECT_EQ(e.hflip, c.h);
    EXPECT_EQ(e.vflip, c.v);
    EXPECT_EQ(e.Word(), c.word);
  }
}

TEST(TileEntryCodecTest, MapEntryOffsetsFollowTheMapOrder) {
  const leveldata h = Horizontal(0, 24), v = Vertical(0, 10);
  EXPECT_EQ(QBR1_MapEntryOffset(h, 0, 0), 0x1000);
  EXPECT_EQ(QBR1_MapEntryOffset(h, 2, 3), 0x1000 + 2 * (16 * 2 + 3));
  EXPECT_EQ(QBR1_MapEntryOffset(h, 23, 15), 0x1000 + 2 * (16 * 23 + 15));
  EXPECT_EQ(QBR1_MapEntryOffset(v, 2, 3), 0x1000 + 2 * (64 * 3 + 2));
  EXPECT_EQ(QBR1_MapEntryOffset(v, 63, 9), 0x1000 + 2 * (64 * 9 + 63));
  for (const auto& [col, row] : std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {24, 0}, {0, 16}}) {
    EXPECT_EQ(QBR1_MapEntryOffset(h, col, row), -1) << col << "," << row;
  }
  EXPECT_EQ(QBR1_MapEntryOffset(v, 64, 0), -1);
  EXPECT_EQ(QBR1_MapEntryOffset(v, 0, 10), -1);
}
