#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "demo/demo_image.h"
#include "tests/editor/reference_picture.h"

namespace {

namespace fs = std::filesystem;

// An 8-bit RGB PNG read back as 0x00RRGGBB pixels; w = 0 when unreadable.
DemoPicture ReadPng(const std::string& path) {
  DemoPicture pic;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return pic;
  image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return pic;
  pic.w = static_cast<int>(image.width);
  pic.h = static_cast<int>(image.height);
  for (std::uint32_t& p : pixels) p &= 0xFFFFFF;
  pic.pixels = std::move(pixels);
  return pic;
}

// Runs the program in `dir` with `args`; returns its exit status and stdout, stderr.
struct RunResult {
  int status;
  std::string out;
  std::string err;
};
RunResult Qbrre(const fs::path& dir, const std::string& args) {
  const fs::path out = dir / "stdout.txt", err = dir / "stderr.txt";
  const std::string command = "cd '" + dir.string() + "' && '" QBRRE_BINARY_DIR "/qbrre' " + args + " >'" +
                              out.string() + "' 2>'" + err.string() + "'";
  const int status = std::system(command.c_str());
  auto slurp = [](const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  };
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
}

class ExportTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    demo_ = new DemoImage(BuildDemoImage(1));
    dir_ = fs::temp_directory_path() / ("qbrre-export-" + std::to_string(getpid()));
    fs::create_directories(dir_ / "GameConfig");
    std::ofstream(dir_ / "GameConfig" / "QBR v10U.INI", std::ios::binary) << demo_->config;
    std::ofstream(dir_ / "demo.smc", std::ios::binary)
        .write(reinterpret_cast<const char*>(demo_->rom.data()), static_cast<std::streamsize>(demo_->rom.size()));
  }
  static void TearDownTestSuite() {
    fs::remove_all(dir_);
    delete demo_;
  }
  static DemoImage* demo_;
  static fs::path dir_;
};
DemoImage* ExportTest::demo_ = nullptr;
fs::path ExportTest::dir_;

TEST_F(ExportTest, PicturesEqualTheBuildersDescription) {
  for (const DemoLevel& level : demo_->levels) {
    SCOPED_TRACE(level.id);
    char name[32];
    std::snprintf(name, sizeof name, "level-%d.png", level.id);
    const RunResult run = Qbrre(dir_, "--export " + std::to_string(level.id) + " --output " + name + " demo.smc");
    ASSERT_EQ(run.status, 0) << run.err;
    const DemoPicture got = ReadPng((dir_ / name).string());
    const DemoPicture want = ReferencePicture(*demo_, level);
    ASSERT_EQ(got.w, want.w);
    ASSERT_EQ(got.h, want.h);
    int differing = 0, first_x = -1, first_y = -1;
    for (int y = 0; y < want.h; ++y)
      for (int x = 0; x < want.w; ++x)
        if (got.At(x, y) != want.At(x, y) && differing++ == 0) first_x = x, first_y = y;
    EXPECT_EQ(differing, 0) << "first at (" << first_x << ", " << first_y << "): got " << std::hex
                            << (first_x >= 0 ? got.At(first_x, first_y) : 0) << " want "
                            << (first_x >= 0 ? want.At(first_x, first_y) : 0);
  }
  EXPECT_FALSE(fs::exists(dir_ / "Configuration.INI"));  // a headless command writes nothing else
}

TEST_F(ExportTest, ListNamesEveryViewableLevel) {
  const RunResult run = Qbrre(dir_, "--list demo.smc");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("warning"), std::string::npos);  // the demo image is not the supported one
  std::istringstream lines(run.out);
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    ++count;
    unsigned id = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "0x%2X\t", &id), 1) << line;
    EXPECT_NE(id, 0x5Cu);
    EXPECT_NE(id, 0x5Eu);
    if (const DemoLevel* level = demo_->Level(static_cast<int>(id))) {
      char want[160];
      std::snprintf(want, sizeof want, "0x%02X\t%s\t%d\t%d\t%d", level->id, level->name.c_str(), level->archetype,
                    level->tile_w, level->tile_h);
      EXPECT_EQ(line, want);
    }
  }
  EXPECT_EQ(count, 230 - 2);
}

TEST_F(ExportTest, Failures) {
  struct Case {
    const char* args;
    const char* says;
  };
  const Case cases[] = {
      {"--export 230 --output x.png demo.smc", "not a level id"},
      {"--export -1 --output x.png demo.smc", "not a level id"},
      {"--export 0x16 --output x.png missing.smc", "cannot read ROM image"},
      {"--export 0x16 --output no/such/folder/x.png demo.smc", "cannot write"},
      {"--list missing.smc", "cannot read ROM image"},
      {"--export 0x16 --output ./demo.smc demo.smc", "is the input"},
      {"--export 0x16 --output link.smc demo.smc", "is the input"},
      {"--export all --output linked demo.smc", "is the input"},
  };
  // A link to the image under the output's name, and a folder whose first picture's name is one.
  fs::create_symlink("demo.smc", dir_ / "link.smc");
  fs::create_directories(dir_ / "linked");
  fs::create_symlink("../demo.smc", dir_ / "linked" / "level-0x00.png");
  for (const Case& c : cases) {
    const RunResult run = Qbrre(dir_, c.args);
    EXPECT_NE(run.status, 0) << c.args;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << c.args << ": " << run.err;
    // One line of error; an image that is not the supported one adds its warning line.
    std::istringstream lines(run.err);
    std::string line;
    int errors = 0;
    while (std::getline(lines, line)) errors += line.rfind("qbrre: warning:", 0) != 0;
    EXPECT_EQ(errors, 1) << c.args << ": " << run.err;
  }
  std::ifstream image(dir_ / "demo.smc", std::ios::binary);
  const std::vector<unsigned char> left((std::istreambuf_iterator<char>(image)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(left == demo_->rom);  // the image refused as output is whole
}

TEST_F(ExportTest, AllWritesOneFilePerListedLevel) {
  const RunResult run = Qbrre(dir_, "--export all --output all demo.smc");
  ASSERT_EQ(run.status, 0) << run.err;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir_ / "all")) files += entry.path().extension() == ".png";
  EXPECT_EQ(files, 230 - 2);
  EXPECT_TRUE(fs::exists(dir_ / "all" / "level-0x16.png"));
  EXPECT_FALSE(fs::exists(dir_ / "all" / "level-0x5C.png"));
}

TEST_F(ExportTest, CopierHeaderIsLeftOutOfThePicture) {
  std::string headered(512, '\x5A');
  headered.append(reinterpret_cast<const char*>(demo_->rom.data()), demo_->rom.size());
  std::ofstream(dir_ / "headered.smc", std::ios::binary) << headered;
  const DemoLevel& level = demo_->levels.front();
  const std::string id = std::to_string(level.id);
  const RunResult plain = Qbrre(dir_, "--export " + id + " --output plain.png demo.smc");
  const RunResult with_header = Qbrre(dir_, "--export " + id + " --output headered.png headered.smc");
  ASSERT_EQ(plain.status, 0) << plain.err;
  ASSERT_EQ(with_header.status, 0) << with_header.err;
  const DemoPicture a = ReadPng((dir_ / "plain.png").string());
  const DemoPicture b = ReadPng((dir_ / "headered.png").string());
  ASSERT_GT(a.w, 0);
  EXPECT_EQ(a.w, b.w);
  EXPECT_EQ(a.h, b.h);
  EXPECT_TRUE(a.pixels == b.pixels);
}

}  // namespace
