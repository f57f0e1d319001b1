// Ctrl+E of the sprite viewer writes the shown sprite as `--extract sprites`
// does: RGBA, alpha 0 where the sprite is transparent.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "extract/extract.h"
#include "extract/extract_survey.h"
#include "modes/sprite_viewer.h"
#include "platform/dialogs.h"
#include "tests/common/temp_folder.h"
#include "tests/modes/modes_support.h"

namespace {

std::vector<char> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SpriteExport : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(modes_test::InstallDemo()); }
  void TearDown() override {
    PlatformUseDesktopDialogs();
    modes_test::RemoveImage();
  }
};

TEST_F(SpriteExport, TheShownSpriteIsWrittenAsTheExtractionWritesIt) {
  TempFolder folder;
  SpriteViewer viewer(0x16);
  ASSERT_NE(viewer.sprite(), 0);
  // The viewer starts at the first object of the level that shows a sprite,
  // in that object's palette: the first use, whose palette the extraction takes.
  bool first_use = false;
  for (const QBR1SpriteUse& use : QBR1_SpriteUses())
    if (use.spr == viewer.sprite()) first_use = use.pal == viewer.palette();
  ASSERT_TRUE(first_use);
  ASSERT_EQ(QBR1_Extract(ExtractKind::Sprites, folder.path().string(), "").written, 4);

  const std::filesystem::path exported = folder / "viewer.png";
  std::vector<DialogRecord> boxes;
  PlatformUseScriptedDialogs([&](const DialogRecord& box) {
    boxes.push_back(box);
    return exported.string();
  });
  viewer.ExportPng();
  ASSERT_EQ(boxes.size(), 1u);  // the save dialog only: no error
  char name[32];
  std::snprintf(name, sizeof name, "sprite-0x%04X.png", static_cast<unsigned>(viewer.sprite()));
  const std::vector<char> extracted = ReadFile(folder / name);
  ASSERT_FALSE(extracted.empty());
  EXPECT_TRUE(ReadFile(exported) == extracted);
}

}  // namespace
