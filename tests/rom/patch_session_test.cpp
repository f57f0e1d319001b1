#include "rom/patch_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "rom/bps_patch.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "rom/image_save.h"
#include "rom/ips_patch.h"
#include "rom/open_image.h"
#include "rom/patch_open.h"
#include "shell/base/variables.h"
#include "tests/rom/rom_support.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

// Large enough to hold every corrected byte, and a whole number of 32 KiB blocks.
constexpr std::size_t kImageSize = 0x3D0000;

Bytes Unsigned(const std::vector<char>& b) { return Bytes(b.begin(), b.end()); }

// A hack of the known image kept as a patch: game.smc is the clean image, hack.bps or hack.ips the
// patch that turns it into `hack`.
class PatchSession : public ::testing::Test {
 protected:
  void SetUp() override {
    const Images& images = Made();
    clean = images.clean;
    hack = images.hack;
    WriteWholeFile(Path("game.smc"), std::vector<char>(clean.begin(), clean.end()));
    WritePatch("hack.bps", images.bps);
  }
  // The clean image, the hack and its BPS patch, the same for every test: made once, as making a patch
  // of megabytes takes seconds under the sanitizers.
  struct Images {
    Bytes clean, hack, bps;
  };
  static const Images& Made() {
    static const Images images = [] {
      Images made;
      made.clean = Unsigned(ImageWithCrc(kImageSize, kQBR1KnownCRC32));
      made.hack = made.clean;
      for (std::size_t i = 0x2000; i < 0x2040; ++i) made.hack[i] = static_cast<unsigned char>(i);
      made.hack[0x300000] ^= 0x5A;
      made.bps = MakeBpsPatch(made.clean, made.hack);
      return made;
    }();
    return images;
  }
  std::string Path(const char* name) const { return (sandbox.dir() / name).string(); }
  void WritePatch(const char* name, const Bytes& patch) {
    WriteWholeFile(Path(name), std::vector<char>(patch.begin(), patch.end()));
  }
  Bytes File(const char* name) const { return Unsigned(ReadWholeFile(Path(name))); }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const DialogRecord& r : log.boxes) titles.push_back(r.title);
    return titles;
  }

  EventLog log;
  OpenSandbox sandbox{log};
  Bytes clean, hack;
};

TEST_F(PatchSession, OpensThePatchedImageWithoutUndoStepsAndNeverSavesOverTheCleanImage) {
  ASSERT_TRUE(OpenImageWithPatch(Path("game.smc"), Path("hack.bps")));
  // Identified by the clean image: no question, only the notice.
  EXPECT_EQ(Titles(), std::vector<std::string>{" IMPORTANT - READ THIS"});
  EXPECT_TRUE(QBR1_OpenedFile() == hack);
  EXPECT_FALSE(QBR1_HasUnsavedEdits());
  EXPECT_FALSE(QBR1_Undo(nullptr));  // the patch's changes are where the history starts
  EXPECT_EQ(ImageWindowTitle(), "QBRRE - hack.bps on game.smc");
  EXPECT_EQ(ImageDisplayName(), "hack.bps on game.smc");
  EXPECT_TRUE(TheImage().InPatchSession());
  EXPECT_TRUE(TheImage().PatchBase() == clean);

  // The first Save asks for a path: the clean image stays as it was.
  QBR1_WriteByte(0x1234, 0x77);
  Bytes edited = hack;
  edited[0x1234] = 0x77;
  log.boxes.clear();
  log.answers = {Path("edited.smc")};
  EXPECT_EQ(ImageWindowTitle(), "QBRRE - hack.bps on game.smc *");
  ASSERT_TRUE(SaveImage());
  ASSERT_EQ(log.boxes.size(), 1u);
  EXPECT_EQ(log.boxes[0].kind, BoxKind::Save);
  EXPECT_TRUE(File("edited.smc") == edited);
  EXPECT_TRUE(File("game.smc") == clean);
  // The title goes on naming the hack and its clean image.
  EXPECT_EQ(ImageWindowTitle(), "QBRRE - hack.bps on game.smc");

  // Save BPS offers the session's patch itself and updates it from the clean image; Save IPS, of the
  // other format, offers a name of its own and is made from the clean image too.
  QBR1_WriteByte(0x1235, 0x66);
  edited[0x1235] = 0x66;
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
  log.boxes.clear();
  log.answers = {Path("hack.bps"), Path("other.ips")};
  ASSERT_TRUE(SaveImageBpsPatch());
  ASSERT_TRUE(SaveImagePatch());
  ASSERT_EQ(log.boxes.size(), 2u);
  EXPECT_NE(log.boxes[0].text.find("File name: " + fs::absolute(Path("hack.bps")).string()), std::string::npos)
      << log.boxes[0].text;
  EXPECT_EQ(log.boxes[1].text.find("hack.bps"), std::string::npos) << log.boxes[1].text;
  Bytes rebuilt;
  std::string error;
  ASSERT_TRUE(ApplyBpsPatch(File("hack.bps"), clean, rebuilt, error)) << error;
  EXPECT_TRUE(rebuilt == edited);
  rebuilt = clean;
  ASSERT_TRUE(ApplyIpsPatch(File("other.ips"), rebuilt, error)) << error;
  EXPECT_TRUE(rebuilt == edited);
  // Updating the hack's own patch saved it; the clean image is still untouched.
  EXPECT_FALSE(QBR1_HasUnsavedEdits());
  EXPECT_TRUE(File("game.smc") == clean);

  // An image opened the ordinary way ends the session: patches come from the file as opened again.
  SetImageFile(Path("edited.smc"), kGameConfigPath);
  EXPECT_FALSE(TheImage().InPatchSession());
  EXPECT_EQ(ImageWindowTitle(), "QBRRE - edited.smc");
  EXPECT_TRUE(&TheImage().PatchBase() == &QBR1_OpenedFile());
}

TEST_F(PatchSession, IpsPatchesOpenTooAndSaveIpsOffersThem) {
  Bytes ips;
  std::string error;
  ASSERT_TRUE(MakeIpsPatch(clean, hack, ips, error)) << error;
  WritePatch("hack.ips", ips);
  ASSERT_TRUE(OpenImageWithPatch(Path("game.smc"), Path("hack.ips")));
  EXPECT_TRUE(QBR1_OpenedFile() == hack);
  EXPECT_EQ(ImageWindowTitle(), "QBRRE - hack.ips on game.smc");
  log.boxes.clear();
  log.answers = {"cancel"};
  EXPECT_FALSE(SaveImagePatch());
  ASSERT_EQ(log.boxes.size(), 1u);
  EXPECT_NE(log.boxes[0].text.find("File name: " + fs::absolute(Path("hack.ips")).string()), std::string::npos);
}

// A patch that does not apply is refused in one box before anything opens: the image in use stays.
TEST_F(PatchSession, PatchesThatDoNotApplyAreRefusedBeforeAnythingOpens) {
  Bytes other = clean;
  other[0x10] ^= 1;
  WritePatch("other.bps", MakeBpsPatch(other, hack));
  Bytes damaged = Made().bps;
  damaged[damaged.size() / 2] ^= 0x08;
  WritePatch("damaged.bps", damaged);
  WriteText(Path("text.bps"), "not a patch at all");
  struct Case {
    const char* patch;
    const char* says;
  };
  const Case cases[] = {
      {"other.bps", "the image is not the one the patch was made from"},
      {"damaged.bps", "the patch is damaged"},
      {"text.bps", "neither PATCH nor BPS1"},
      {"missing.bps", "cannot read"},
  };
  for (const Case& c : cases) {
    log.boxes.clear();
    EXPECT_FALSE(OpenImageWithPatch(Path("game.smc"), Path(c.patch))) << c.patch;
    ASSERT_EQ(log.boxes.size(), 1u) << c.patch;
    EXPECT_EQ(log.boxes[0].kind, BoxKind::Error) << c.patch;
    EXPECT_EQ(log.boxes[0].title, "Unable to Open Patch") << c.patch;
    EXPECT_NE(log.boxes[0].text.find(c.says), std::string::npos) << c.patch << ": " << log.boxes[0].text;
    EXPECT_EQ(ENGINE_STATE, 0u) << c.patch;
    EXPECT_FALSE(TheImage().InPatchSession()) << c.patch;
    EXPECT_TRUE(QBR1_OpenedFile().empty()) << c.patch;
  }
}

}  // namespace
