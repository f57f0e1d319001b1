#include <gtest/gtest.h>

#include "level/compsprite.h"

namespace {

TEST(CompSprite, NullifyFreesTheSpriteWithItsRows) {
  auto* sprite = new CompSprite;
  sprite->w = 5;
  sprite->h = 3;
  sprite->line = new unsigned char*[3];
  for (int y = 0; y < 3; ++y) sprite->line[y] = new unsigned char[3]();
  Nullify(sprite);  // the leak checker sees anything left behind
  EXPECT_EQ(sprite, nullptr);
  auto* rowless = new CompSprite;
  rowless->h = 4;
  Nullify(rowless);
  EXPECT_EQ(rowless, nullptr);
}

}  // namespace
