#include "tests/common/headless_allegro.h"

namespace {

// Every test draws on memory bitmaps or fonts: Allegro is up before the first one.
const auto* const kAllegro = ::testing::AddGlobalTestEnvironment(new HeadlessAllegroEnvironment);

}  // namespace
