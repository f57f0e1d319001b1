#include "tests/gfx/gfx_support.h"

using namespace gfxtest;

namespace {

class DrawvhTest : public GfxTest {};

TEST_F(DrawvhTest, LeftClipSkipsSourceColumnsUnmirroredAndMirrored)
{
    Bitmap src = MakePattern(12, 3);
    Bitmap dst = Make(8, 4);
    Rw_drawvh(src.get(), dst.get(), -5, 0, 0);
    EXPECT_EQ(Get(dst.get(), 0, 0), Pattern(5, 0));
    Rw_drawvh(src.get(), dst.get(), -5, 0, 1);
    EXPECT_EQ(Get(dst.get(), 0, 0), Pattern(12 - 6, 0));
}

}  // namespace
