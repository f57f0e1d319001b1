#pragma once

// Allegro without a display for the unit tests: memory bitmaps, fonts, pixel access, the key array and
// the mouse globals work; nothing opens a window.

#include <gtest/gtest.h>

// Starts Allegro without a display (once; again only after allegro_exit) and selects 32-bit colour like
// the program. Returns false when Allegro could not be started.
bool StartHeadlessAllegro();

// A global test environment that starts headless Allegro before the first test of the executable.
class HeadlessAllegroEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(StartHeadlessAllegro()); }
};
