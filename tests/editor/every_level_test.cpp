#include <gtest/gtest.h>

#include <random>

#include "demo/demo_image.h"
#include "editor/classes.h"
#include "editor/level_export.h"
#include "level/leveldata.h"
#include "resources/skin.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

// Shows every level id in turn through the editor's camera on an off-screen
// window-sized bitmap, at its saved position and at the far corner (End),
// and composes its whole picture when that stays reasonably small. Whatever
// the image holds, this must neither crash, hang nor read outside a buffer
// (the sanitizers watch).
void ShowEveryLevel(const std::vector<unsigned char>& image, const std::string& config) {
  UseConfig(config);
  UseImage(image);
  BITMAP* window = create_bitmap_ex(32, 776, 604);
  ASSERT_NE(window, nullptr);
  for (int id = kQBR1FirstLevel; id <= kQBR1LastLevel; ++id) {
    CCamera camera(id);
    camera.Proc();
    camera.Draw(window);
    key[KEY_END] = 1;
    camera.Proc();
    key[KEY_END] = 0;
    camera.Draw(window);
    if (static_cast<long long>(camera.lvl.tile_w) * camera.lvl.tile_h <= 4096) {
      BITMAP* picture = ComposeLevelPicture(id);
      if (picture != nullptr) destroy_bitmap(picture);
    }
  }
  destroy_bitmap(window);
}

class EveryLevelTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitAllegro();
    LoadBuiltinResources();
  }
  static void TearDownTestSuite() { DestroyBuiltinResources(); }
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
