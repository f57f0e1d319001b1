#include <gtest/gtest.h>

#include "level/compsprite.h"
#include "tests/level/freed_memory.h"

namespace {

TEST(CompSprite, NullifyFreesTheSpriteWithItsRows) {
  auto* sprite = new CompSprite;
  sprite->w = 5;
  sprite->h = 3;
  sprite->line = new unsigned char*[3];
  for (int y = 0; y < 3; ++y) sprite->line[y] = new unsigned char[3]();
  CompSprite* const record = sprite;
  unsigned char** const rows = sprite->line;
  unsigned char* const row[3] = {rows[0], rows[1], rows[2]};
  {
    const FreedMemory freed;
    Nullify(sprite);
    EXPECT_EQ(sprite, nullptr);
    for (int y = 0; y < 3; ++y) EXPECT_TRUE(freed.Freed(row[y], true)) << "row " << y;
    EXPECT_TRUE(freed.Freed(rows, true));
    EXPECT_TRUE(freed.Freed(record, false));
    EXPECT_EQ(freed.count(), 5u);
  }
  auto* rowless = new CompSprite;
  CompSprite* const bare = rowless;
  rowless->h = 4;
  {
    const FreedMemory freed;
    Nullify(rowless);
    EXPECT_EQ(rowless, nullptr);
    EXPECT_TRUE(freed.Freed(bare, false));
    EXPECT_EQ(freed.count(), 1u);
  }
}

}  // namespace
