#include "editor/view_layers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "demo/demo_image.h"
#include "editor/classes.h"
#include "editor/edit_tools.h"
#include "editor/level_export.h"
#include "gui/commands.h"
#include "platform/config_lock.h"
#include "tests/editor/editor_support.h"

namespace {

using namespace editor_test;

const DemoImage& Demo() {
  static const DemoImage demo = BuildDemoImage(1);
  return demo;
}

std::string Stored(const char* key) {
  ConfigGuard guard;
  return get_config_string("View", key, "(none)");
}

// The View commands registered on an empty table, the demo image loaded; the
// layers' remembered state is read again afterwards.
class ViewLayers : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAllegro();
    RegisterViewLayers();
    UseImage(Demo().rom);
  }
  void TearDown() override {
    ReloadViewLayers();
  }
  // The level picture an editor view of `level` draws after one update.
  BITMAP* Picture(int level) {
    CCamera camera(level);
    camera.Proc();
    BITMAP* picture = SolidBitmap(776, 604, 0xFF102030);
    camera.DrawPicture(picture);
    return picture;
  }
  Installed<CommandTable> commands_;
  Installed<EditToolBox> tools_;  // the view asks the tool box whether the wheel is the current tool's
};

bool SameBitmaps(BITMAP* a, BITMAP* b) {
  for (int y = 0; y < a->h; ++y) {
    for (int x = 0; x < a->w; ++x) {
      if (getpixel(a, x, y) != getpixel(b, x, y)) return false;
    }
  }
  return true;
}

TEST_F(ViewLayers, CommandsToggleTheLayersTheirMarksAndTheConfiguration) {
  UseConfig(Demo().config + "\n[View]\nObjects = No\n");
  ReloadViewLayers();
  struct Case {
    unsigned short id;
    ViewLayer layer;
    const char* key;
    bool at_start;
  };
  const Case cases[] = {{0x0301, ViewLayer::Tiles, "Tiles", true},
                        {0x0304, ViewLayer::Objects, "Objects", false},
                        {0x0307, ViewLayer::Bananas, "Bananas", true}};
  for (const Case& c : cases) {
    ASSERT_NE(FindCommand(c.id), nullptr) << c.key;
    EXPECT_EQ(ViewLayerShown(c.layer), c.at_start) << c.key;
    EXPECT_EQ(FindCommand(c.id)->checked(), c.at_start) << c.key;
    AppMenuExecuteItem(c.id, false);
    EXPECT_EQ(ViewLayerShown(c.layer), !c.at_start) << c.key;
    EXPECT_EQ(FindCommand(c.id)->checked(), !c.at_start) << c.key;
    EXPECT_EQ(Stored(c.key), c.at_start ? "No" : "Yes") << c.key;
    // What was stored is what a later start reads.
    ReloadViewLayers();
    EXPECT_EQ(ViewLayerShown(c.layer), !c.at_start) << c.key;
  }
  // The other View entries stay unregistered, so the menu shows them unavailable.
  for (unsigned short id : {0x0300, 0x0302, 0x0303, 0x0305, 0x0306, 0x0308, 0x0309, 0x030A}) {
    EXPECT_FALSE(CommandAvailable(id)) << std::hex << id;
  }
}

TEST_F(ViewLayers, EachHiddenLayerLeavesTheViewAndNeverTheExport) {
  UseConfig(Demo().config);
  ReloadViewLayers();
  const int level = 0x16;
  BITMAP* all = Picture(level);
  BITMAP* exported = ComposeLevelPicture(level);
  ASSERT_NE(exported, nullptr);

  for (ViewLayer layer : {ViewLayer::Tiles, ViewLayer::Objects, ViewLayer::Bananas}) {
    SetViewLayerShown(layer, false);
    BITMAP* without = Picture(level);
    EXPECT_FALSE(SameBitmaps(all, without)) << static_cast<int>(layer);
    // The export shows every layer whatever the view hides.
    BITMAP* again = ComposeLevelPicture(level);
    EXPECT_TRUE(SameBitmaps(exported, again)) << static_cast<int>(layer);
    destroy_bitmap(again);
    destroy_bitmap(without);
    SetViewLayerShown(layer, true);
  }
  // All three hidden: nothing of the level is drawn.
  for (ViewLayer layer : {ViewLayer::Tiles, ViewLayer::Objects, ViewLayer::Bananas}) SetViewLayerShown(layer, false);
  BITMAP* none = Picture(level);
  BITMAP* untouched = SolidBitmap(776, 604, 0xFF102030);
  EXPECT_TRUE(SameBitmaps(none, untouched));
  destroy_bitmap(untouched);
  destroy_bitmap(none);
  destroy_bitmap(exported);
  destroy_bitmap(all);
}

// A pixel where `with` differs from `without`, as (x, y); (-1, -1) when none.
std::pair<int, int> FirstDifference(BITMAP* with, BITMAP* without) {
  for (int y = 0; y < with->h; ++y)
    for (int x = 0; x < with->w; ++x)
      if (getpixel(with, x, y) != getpixel(without, x, y)) return {x, y};
  return {-1, -1};
}

TEST_F(ViewLayers, EachEntryHidesExactlyItsOwnLayer) {
  UseConfig(Demo().config);
  ReloadViewLayers();
  const int level = 0x16;
  // A pixel that only the object layer draws, one that only the bananas draw
  // and one that only the tiles draw: found by switching the layers themselves
  // off, apart from the View entries under test.
  auto drawn = [&](bool tiles, bool objects, bool bananas) {
    CCamera camera(level);
    camera.Proc();
    camera.Layer_MG0->shown = tiles;
    camera.Object_MAP->shown = objects;
    camera.Banana_MAP->shown = bananas;
    BITMAP* picture = SolidBitmap(776, 604, 0xFF102030);
    camera.DrawPicture(picture);
    return picture;
  };
  BITMAP* all = drawn(true, true, true);
  BITMAP* no_objects = drawn(true, false, true);
  BITMAP* no_bananas = drawn(true, true, false);
  BITMAP* no_tiles = drawn(false, true, true);
  struct Known {
    ViewLayer layer;
    std::pair<int, int> pixel;
  };
  const Known known[] = {{ViewLayer::Tiles, FirstDifference(all, no_tiles)},
                         {ViewLayer::Objects, FirstDifference(all, no_objects)},
                         {ViewLayer::Bananas, FirstDifference(all, no_bananas)}};
  for (const Known& k : known) ASSERT_GE(k.pixel.first, 0) << static_cast<int>(k.layer);
  // Hiding a layer through the View entries takes its pixel away and leaves the
  // pixels of the other two layers as they were.
  for (const Known& hidden : known) {
    SetViewLayerShown(hidden.layer, false);
    BITMAP* view = Picture(level);
    for (const Known& k : known) {
      const auto [x, y] = k.pixel;
      if (k.layer == hidden.layer)
        EXPECT_NE(getpixel(view, x, y), getpixel(all, x, y)) << "hiding " << static_cast<int>(hidden.layer);
      else
        EXPECT_EQ(getpixel(view, x, y), getpixel(all, x, y))
            << "hiding " << static_cast<int>(hidden.layer) << " changed layer " << static_cast<int>(k.layer);
    }
    destroy_bitmap(view);
    SetViewLayerShown(hidden.layer, true);
  }
  for (BITMAP* b : {all, no_objects, no_bananas, no_tiles}) destroy_bitmap(b);
}

// The grid's colour is "GridColour" of the View section, exactly six hex digits; anything else
// leaves today's colour. The grid is drawn in it.
TEST_F(ViewLayers, TheGridIsDrawnInTheConfiguredColour) {
  struct Case {
    const char* stored;  // nullptr: no key
    int colour;
  };
  const Case cases[] = {{nullptr, 0x505868},  {"12EF34", 0x12EF34}, {"a0b1c2", 0xA0B1C2},
                        {"000000", 0},        {"12EF3", 0x505868},  {"12EF345", 0x505868},
                        {"#12EF3", 0x505868}, {"12EG34", 0x505868}, {"", 0x505868}};
  for (const Case& c : cases) {
    const std::string colour = c.stored != nullptr ? std::string("GridColour = ") + c.stored + "\n" : "";
    UseConfig(Demo().config + "\n[View]\nGrid = Yes\n" + colour);
    ReloadViewLayers();
    EXPECT_EQ(ViewGridColour(), c.colour) << (c.stored ? c.stored : "(none)");
    int rgb = -1;
    EXPECT_EQ(ParseGridColour(c.stored ? c.stored : "", rgb), c.stored != nullptr && c.colour != 0x505868)
        << (c.stored ? c.stored : "(none)");
  }

  UseConfig(Demo().config + "\n[View]\nGrid = Yes\nGridColour = 12EF34\n");
  ReloadViewLayers();
  CCamera camera(0x16);
  camera.Proc();
  BITMAP* picture = SolidBitmap(776, 604, 0xFF102030);
  DrawViewGrid(picture, camera);
  int in_colour = 0, other = 0;
  for (int y = 0; y < picture->h; ++y)
    for (int x = 0; x < picture->w; ++x) {
      const int pixel = getpixel(picture, x, y) & 0xFFFFFF;
      if (pixel == 0x12EF34) ++in_colour;
      else if (pixel != 0x102030) ++other;
    }
  destroy_bitmap(picture);
  EXPECT_GT(in_colour, 20 * 500);  // some twenty lines across the view
  EXPECT_EQ(other, 0);
}

}  // namespace
