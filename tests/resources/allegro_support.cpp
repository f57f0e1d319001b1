#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

#include "shell/include.h"

namespace {

// Allegro without a display: memory bitmaps, fonts and pixel access work.
class AllegroEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
    set_color_depth(32);
  }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new AllegroEnvironment);

}  // namespace
