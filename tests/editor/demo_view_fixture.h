#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "demo/demo_image.h"
#include "editor/edit_tools.h"
#include "tests/editor/editor_support.h"

namespace editor_test {

// A level view test on the demo image: Allegro without a display, the built-in
// fonts and skin, and the demo's configuration and image in force. Fixtures
// that add to it call these SetUp first and TearDown last.
class DemoViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAllegro();
    resources_.emplace();
    UseConfig(demo_.config);
    UseImage(demo_.rom);
  }
  void TearDown() override { resources_.reset(); }

  const DemoImage demo_ = BuildDemoImage(1);
  std::optional<BuiltinResources> resources_;
  Installed<EditToolBox> tools_;  // the status line asks the current tool
};

}  // namespace editor_test
