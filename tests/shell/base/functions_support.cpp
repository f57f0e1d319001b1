#include "tests/common/headless_allegro.h"

namespace {

// The tests use bitmaps, the key array and the mouse globals: Allegro is up before the first one.
const auto* const kAllegro = ::testing::AddGlobalTestEnvironment(new HeadlessAllegroEnvironment);

}  // namespace
