#include "rom/open_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bfa/bfa.h"
#include "rom/image_edits.h"
#include "rom/image_save.h"
#include "rom/image_transaction.h"

// The open image as one object: a registered image is the one every accessor reaches (its bytes, its
// history, its file, its patch session), and an image of its own keeps all of them apart from the
// process's.

namespace {

using Bytes = std::vector<unsigned char>;

// Registers `image` for the test's length.
struct Registered {
  explicit Registered(OpenImage& image) { RegisterOpenImage(&image); }
  ~Registered() { RegisterOpenImage(nullptr); }
  Registered(const Registered&) = delete;
  Registered& operator=(const Registered&) = delete;
};

TEST(OpenImage, EveryAccessorReachesTheRegisteredImage) {
  const std::vector<char> channel(QBR1.begin(), QBR1.end());
  std::vector<char> bytes(64, 0);
  OpenImage image(bytes);
  {
    Registered registered(image);
    ASSERT_EQ(&TheImage(), &image);
    EXPECT_EQ(&QBR1_Document(), &image.Document());
    EXPECT_TRUE(image.IsOpen());
    image.Document().Reset(Bytes(64, 0), 0);
    image.SetFile("/images/game.smc", "GameConfig/QBR.INI");
    EXPECT_EQ(ImageFilePath(), "/images/game.smc");
    EXPECT_EQ(ImageDisplayName(), "game.smc");
    EXPECT_EQ(image.ConfigFile(), "GameConfig/QBR.INI");

    {
      ImageTransaction edit(QBR1_Document(), "Paint 1 tile", 3);
      ASSERT_TRUE(QBR1_WriteByte(5, 0x5A));
      edit.Commit();
    }
    EXPECT_EQ(bytes[5], 0x5A);
    EXPECT_EQ(image.SavedFileBytes()[5], 0x5A);
    EXPECT_EQ(QBR1_UndoCount(), 1u);
    EXPECT_EQ(ImageWindowTitle(), "QBRRE - game.smc *");

    // A patch session names both files until the next file is set.
    image.BeginPatchSession("/images/game.smc", "/images/hack.bps", PatchFormat::kBps, Bytes(64, 7));
    EXPECT_TRUE(image.InPatchSession());
    EXPECT_EQ(image.PatchPath(), "/images/hack.bps");
    EXPECT_EQ(image.PatchBase(), Bytes(64, 7));
    EXPECT_EQ(ImageWindowTitle(), "QBRRE - hack.bps on game.smc *");
    SetImageFile("", "", "untitled image");
    EXPECT_FALSE(image.InPatchSession());
    EXPECT_EQ(&image.PatchBase(), &image.Document().OpenedFile());
    EXPECT_EQ(ImageDisplayName(), "untitled image");

    bytes.clear();
    EXPECT_FALSE(image.IsOpen());
    EXPECT_EQ(ImageWindowTitle(), "QBR Resource Editor");
  }
  // Back to the process's own image: the registered one's edits never reached the channel.
  EXPECT_NE(&TheImage(), &image);
  EXPECT_EQ(std::vector<char>(QBR1.begin(), QBR1.end()), channel);
  EXPECT_NE(ImageFilePath(), "/images/game.smc");
}

}  // namespace
