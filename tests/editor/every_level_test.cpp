#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "editor/classes.h"
#include "editor/edit_tools.h"
#include "editor/level_export.h"
#include "level/leveldata.h"
#include "resources/skin.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

// The rows LevelPictureRows hands out, band after band and then the first
// again, are those of the whole picture.
void ExpectRowsOfThePicture(int id, BITMAP* picture) {
  LevelPictureRows rows(id);
  ASSERT_TRUE(rows.HasPicture()) << id;
  ASSERT_EQ(rows.w(), picture->w) << id;
  ASSERT_EQ(rows.h(), picture->h) << id;
  const auto same = [&](int y) {
    const std::uint32_t* row = rows.Row(y);
    return std::equal(row, row + rows.w(), reinterpret_cast<const std::uint32_t*>(picture->line[y]));
  };
  int differing = 0, first = -1;
  for (int y = 0; y < rows.h(); ++y)
    if (!same(y) && differing++ == 0) first = y;
  EXPECT_EQ(differing, 0) << "level " << id << ", first row " << first;
  EXPECT_TRUE(same(0)) << id;
}

// Shows every level id in turn through the editor's camera on an off-screen
// window-sized bitmap, at its saved position and at the far corner (End),
// and composes its whole picture when that stays reasonably small. Whatever
// the image holds, this must neither crash, hang nor read outside a buffer
// (the sanitizers watch), nor change a byte of the image; End reaches the
// far corner of the level and a picture is 32 pixels per tile.
void ShowEveryLevel(const std::vector<unsigned char>& image, const std::string& config) {
  UseConfig(config);
  UseImage(image);
  BITMAP* window = create_bitmap_ex(32, 776, 604);
  ASSERT_NE(window, nullptr);
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    CCamera camera(id);
    camera.Proc();
    camera.Draw(window);
    InputSnapshot end;
    end.Hold(KEY_END);
    camera.Proc(end);
    camera.Draw(window);
    // The far corner: the level's right and bottom edges inside the view (776 - 20 by 604 - 92 pixels),
    // never left of or above the level's start, never further than End's 0xFFFF.
    const long long tile_w = camera.lvl.tile_w, tile_h = camera.lvl.tile_h;
    EXPECT_EQ(camera.x, std::min(0xFFFFLL, std::max(0LL, 32 * tile_w - 756))) << id;
    EXPECT_EQ(camera.y, std::min(0xFFFFLL, std::max(0LL, 32 * tile_h - 512))) << id;
    if (tile_w * tile_h <= 4096) {
      BITMAP* picture = ComposeLevelPicture(id);
      if (tile_w > 0 && tile_h > 0) {
        EXPECT_NE(picture, nullptr) << id;
        if (picture != nullptr) {
          EXPECT_EQ(picture->w, 32 * tile_w) << id;
          EXPECT_EQ(picture->h, 32 * tile_h) << id;
          ExpectRowsOfThePicture(id, picture);
        }
      } else {
        EXPECT_EQ(picture, nullptr) << id;
        EXPECT_FALSE(LevelPictureRows(id).HasPicture()) << id;
      }
      if (picture != nullptr) destroy_bitmap(picture);
    }
  }
  destroy_bitmap(window);
  EXPECT_TRUE(std::equal(QBR1.begin(), QBR1.end(), image.begin(), image.end(), [](char a, unsigned char b) {
    return static_cast<unsigned char>(a) == b;
  })) << "the walk changed the image";
}

class EveryLevelTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitAllegro();
    LoadBuiltinResources();
  }
  static void TearDownTestSuite() { DestroyBuiltinResources(); }
  Installed<EditToolBox> tools_;  // the view asks the tool box whether the wheel is the current tool's
};

TEST_F(EveryLevelTest, DemoImage) {
  const DemoImage demo = BuildDemoImage(1);
  ShowEveryLevel(demo.rom, demo.config);
  // The built levels decode as they were built.
  for (const DemoLevel& built : demo.levels) {
    leveldata lvl;
    Get_QBR1_LevelDataStruct(built.id, lvl);
    EXPECT_EQ(lvl.tile_w, built.tile_w) << built.id;
    EXPECT_EQ(lvl.tile_h, built.tile_h) << built.id;
  }
}

TEST_F(EveryLevelTest, RandomImage) {
  std::mt19937 random(20261209);
  std::vector<unsigned char> image(0x400000);
  for (unsigned char& b : image) b = static_cast<unsigned char>(random());
  ShowEveryLevel(image, "");
}

TEST_F(EveryLevelTest, TruncatedImages) {
  const DemoImage demo = BuildDemoImage(1);
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{0x100000}}) {
    SCOPED_TRACE(size);
    ShowEveryLevel(std::vector<unsigned char>(demo.rom.begin(), demo.rom.begin() + size), demo.config);
  }
}

}  // namespace
