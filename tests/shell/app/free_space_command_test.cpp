#include <gtest/gtest.h>

#include <fstream>

#include "demo/demo_image.h"
#include "shell/app/headless_commands.h"
#include "tests/level/level_support.h"

// `--free-space ROM` on generated images, its figures checked against the
// builder's description.

namespace {

class FreeSpaceCommandTest : public ScratchDirTest {
 protected:
  static void Write(const DemoImage& demo, const std::string& config) {
    std::ofstream("demo.smc", std::ios::binary)
        .write(reinterpret_cast<const char*>(demo.rom.data()), static_cast<std::streamsize>(demo.rom.size()));
    std::ofstream("GameConfig/QBR v10U.INI") << config;
  }
  int Run(const std::string& path) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int rc = RunFreeSpaceCommand(path);
    out = testing::internal::GetCapturedStdout();
    err = testing::internal::GetCapturedStderr();
    return rc;
  }
  void ExpectFigures(const DemoImage& demo) {
    for (bool objects : {true, false}) {
      const char* section = objects ? "Objects" : "Bananas";
      const DemoFreeSpaceFigures want = DemoFreeSpace(demo, objects);
      EXPECT_EQ(FreeSpaceFigure(out, section, "pool"), want.pool) << section;
      EXPECT_EQ(FreeSpaceFigure(out, section, "in use"), want.in_use) << section;
      EXPECT_EQ(FreeSpaceFigure(out, section, "largest free run"), want.largest) << section;
    }
  }
  std::string out, err;
};

TEST_F(FreeSpaceCommandTest, TheDemoImagePrintsWhatItsDescriptionDeclares) {
  const DemoImage demo = BuildDemoImage(1);
  Write(demo, demo.config);
  ASSERT_EQ(Run("demo.smc"), 0) << err;
  ExpectFigures(demo);
  EXPECT_EQ(err.find("refused"), std::string::npos) << err;
  // Candidates are marked as such and never counted in the pool.
  EXPECT_NE(out.find("  candidate only, not declared: "), std::string::npos) << out;
}

TEST_F(FreeSpaceCommandTest, ARefusedRangeIsNamedOnStderrAndLeftOutOfThePool) {
  const DemoImage demo = BuildDemoImage(7);
  // The declared ranges, with one over the object map pointer table in front.
  std::string config = demo.config;
  const std::size_t at = config.find("Objects = ");
  ASSERT_NE(at, std::string::npos);
  config.insert(at + 10, "3D8000-3D80FF, ");
  Write(demo, config);
  ASSERT_EQ(Run("demo.smc"), 0) << err;
  EXPECT_NE(err.find("FreeSpace Objects 3D8000-3D80FF refused: it overlaps the object map pointer table"),
            std::string::npos)
      << err;
  ExpectFigures(demo);
}

TEST_F(FreeSpaceCommandTest, AnUnreadableImageIsOneErrorLine) {
  EXPECT_EQ(Run("nothing-here.smc"), 1);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

}  // namespace
