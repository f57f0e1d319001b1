#include <gtest/gtest.h>
#include <png.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "level/png_export.h"
#include "tests/common/file_rights.h"
#include "tests/common/temp_folder.h"
#include "tests/level/level_support.h"

namespace {

struct ReadBack {
  int w = 0, h = 0, colourType = -1, depth = 0;
  std::vector<std::uint8_t> rgb;
};

ReadBack Read(const std::string& path) {
  ReadBack r;
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str())) return r;
  r.w = static_cast<int>(img.width), r.h = static_cast<int>(img.height);
  r.colourType = img.format == PNG_FORMAT_RGB ? PNG_COLOR_TYPE_RGB : -1;
  img.format = PNG_FORMAT_RGB;
  r.rgb.resize(PNG_IMAGE_SIZE(img));
  png_image_finish_read(&img, nullptr, r.rgb.data(), 0, nullptr);
  return r;
}

TEST(PngExportTest, WritesEightBitRgbPixelsExactly) {
  ASSERT_TRUE(StartHeadlessAllegro());
  BITMAP* b = create_bitmap_ex(32, 3, 2);
  const std::uint32_t px[6] = {0xFFF80000, 0x0000F800, 0x000000F8, 0x00FF00FF, 0xFF123456, 0x00000000};
  for (int i = 0; i < 6; ++i) reinterpret_cast<std::uint32_t*>(b->line[i / 3])[i % 3] = px[i];
  const TempFolder folder;
  const std::string path = (folder / "picture.png").string();
  std::string error;
  ASSERT_TRUE(QBR1_WritePng(path, b, error)) << error;
  const ReadBack r = Read(path);
  EXPECT_EQ(r.w, 3);
  EXPECT_EQ(r.h, 2);
  EXPECT_EQ(r.colourType, PNG_COLOR_TYPE_RGB);
  const std::vector<std::uint8_t> expected = {0xF8, 0, 0,    0,    0xF8, 0,    0, 0, 0xF8,
                                              0xFF, 0, 0xFF, 0x12, 0x34, 0x56, 0, 0, 0};
  EXPECT_EQ(r.rgb, expected);
  destroy_bitmap(b);
}

TEST(PngExportTest, RefusesWhatItCannotWrite) {
  ASSERT_TRUE(StartHeadlessAllegro());
  BITMAP* b = create_bitmap_ex(32, 2, 2);
  std::string error;
  EXPECT_FALSE(QBR1_WritePng("/nonexistent-dir/x.png", b, error));
  const TempFolder folder;
  const std::string never = (folder / "never.png").string();
  EXPECT_FALSE(QBR1_WritePng(never, nullptr, error));
  BITMAP* eight = create_bitmap_ex(8, 2, 2);
  EXPECT_FALSE(QBR1_WritePng(never, eight, error));
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
  destroy_bitmap(eight);
  destroy_bitmap(b);
}

TEST(PngExportTest, AlphaVariantKeepsEachPixelsAlpha) {
  ASSERT_TRUE(StartHeadlessAllegro());
  BITMAP* b = create_bitmap_ex(32, 2, 2);
  const std::uint32_t px[4] = {0x00FF00FF, 0xFFF80000, 0x80123456, 0xFF0000F8};
  for (int i = 0; i < 4; ++i) reinterpret_cast<std::uint32_t*>(b->line[i / 2])[i % 2] = px[i];
  const std::string path =
      (std::filesystem::temp_directory_path() / ("qbrre_png_alpha_" + std::to_string(getpid()) + ".png")).string();
  std::string error;
  ASSERT_TRUE(QBR1_WritePngAlpha(path, b, error)) << error;
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&img, path.c_str()));
  EXPECT_EQ(img.format, static_cast<png_uint_32>(PNG_FORMAT_RGBA));
  img.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(img));
  ASSERT_TRUE(png_image_finish_read(&img, nullptr, rgba.data(), 0, nullptr));
  const std::vector<std::uint8_t> expected = {0xFF, 0, 0xFF, 0, 0xF8, 0, 0, 0xFF, 0x12, 0x34, 0x56, 0x80, 0, 0, 0xF8, 0xFF};
  EXPECT_EQ(rgba, expected);
  std::remove(path.c_str());
  destroy_bitmap(b);
}

TEST(PngExportTest, RowsGiveTheBytesOfTheBitmapAskingEachRowOnceInOrder) {
  ASSERT_TRUE(StartHeadlessAllegro());
  BITMAP* b = create_bitmap_ex(32, 37, 5);
  for (int y = 0; y < b->h; ++y)
    for (int x = 0; x < b->w; ++x)
      reinterpret_cast<std::uint32_t*>(b->line[y])[x] = 0x01000000u * static_cast<std::uint32_t>(x * 7 + y) ^
                                                         (0x00FF00FFu + static_cast<std::uint32_t>(x * 0x10203 + y));
  for (bool alpha : {false, true}) {
    std::vector<unsigned char> whole, by_rows;
    ASSERT_TRUE(QBR1_EncodePng(b, alpha, whole));
    std::vector<int> asked;
    const PngRowSource rows = [&](int y) {
      asked.push_back(y);
      return reinterpret_cast<const std::uint32_t*>(b->line[y]);
    };
    ASSERT_TRUE(QBR1_EncodePngRows(b->w, b->h, rows, alpha, by_rows));
    EXPECT_TRUE(by_rows == whole) << alpha;
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3, 4})) << alpha;
  }
  std::vector<unsigned char> out = {1};
  EXPECT_FALSE(QBR1_EncodePngRows(0, 5, [b](int) { return reinterpret_cast<const std::uint32_t*>(b->line[0]); },
                                  false, out));
  EXPECT_TRUE(out.empty());
  destroy_bitmap(b);
}

// A picture that cannot be written whole leaves the file that was there as it was, and no temporary
// file: the new one is written beside it and renamed over it only when complete. Each failure runs
// in a child process, so its limit and dropped rights stay there.
TEST(PngExportTest, AFailedWriteLeavesTheOldFileWhole) {
  ASSERT_TRUE(StartHeadlessAllegro());
  BITMAP* b = create_bitmap_ex(32, 512, 512);
  for (int y = 0; y < b->h; ++y)  // noise, so that the PNG stays larger than the limit below
    for (int x = 0; x < b->w; ++x)
      reinterpret_cast<std::uint32_t*>(b->line[y])[x] = static_cast<std::uint32_t>((x * 2654435761u) ^ (y * 40503u));
  const TempFolder folder;
  std::filesystem::create_directory(folder / "ro");
  const auto old = [&](const std::filesystem::path& p) { std::ofstream(p, std::ios::binary) << "old picture"; };
  old(folder / "level.png");
  old(folder / "ro" / "level.png");
  std::filesystem::permissions(folder / "ro", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  struct Case {
    const char* name;
    std::filesystem::path path;
    void (*limit)();
  };
  const Case cases[] = {
      {"file size limit", folder / "level.png",
       [] {
         std::signal(SIGXFSZ, SIG_IGN);
         rlimit r{4096, 4096};
         setrlimit(RLIMIT_FSIZE, &r);
       }},
      {"read-only folder", folder / "ro" / "level.png", DropFileOverrideRights},
  };
  for (const Case& c : cases) {
    const pid_t pid = fork();
    if (pid == 0) {
      c.limit();
      std::string error;
      _exit(QBR1_WritePng(c.path.string(), b, error) ? 1 : error.empty() ? 2 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.name << ": status " << status;
    std::ifstream in(c.path, std::ios::binary);
    const std::string left{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_TRUE(left == "old picture") << c.name << ": " << left.size() << " bytes";
  }
  std::filesystem::permissions(folder / "ro", std::filesystem::perms::owner_all);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), std::filesystem::directory_iterator()), 2);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "ro"), std::filesystem::directory_iterator()), 1);
  destroy_bitmap(b);
}

}  // namespace
