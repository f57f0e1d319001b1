#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/resource_loader.h"
#include "resources/resource_table.h"
#include "shell/base/functions.h"
#include "tests/common/temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::vector<unsigned char> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The committed pictures must be exactly what the generator draws from its
// sources, so the art can always be rebuilt and reviewed as code.
TEST(Art, CommittedImagesAreWhatTheGeneratorDraws) {
  const TempFolder folder;  // removed also when an assertion ends the test
  const fs::path out = folder.path();
  ASSERT_FALSE(out.empty());
  const std::string command = std::string("\"") + QBRRE_ART_GENERATOR + "\" \"" + out.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const ResourceInfo& info : kResourceTable) {
    SCOPED_TRACE(info.id);
    const std::string name = std::to_string(info.id) + ".png";
    const std::vector<unsigned char> drawn = ReadFile(out / name);
    const std::vector<unsigned char> committed = ReadFile(fs::path(QBRRE_SOURCE_DIR) / "resources/art" / name);
    BITMAP* a = DecodePngBitmap(drawn);
    BITMAP* b = DecodePngBitmap(committed);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(a->w, b->w);
    ASSERT_EQ(a->h, b->h);
    int differing = 0;
    for (int y = 0; y < a->h; ++y)
      for (int x = 0; x < a->w; ++x)
        differing += reinterpret_cast<uint32_t*>(a->line[y])[x] != reinterpret_cast<uint32_t*>(b->line[y])[x];
    EXPECT_EQ(differing, 0);
    // And the program carries the committed file.
    auto embedded = EmbeddedArtBytes(info.id);
    EXPECT_EQ(std::vector<unsigned char>(embedded.begin(), embedded.end()), committed);
    Nullify(a);
    Nullify(b);
  }
}

}  // namespace
