#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <set>
#include <vector>

#include "bfa/bfa.h"
#include "level/rom_access.h"
#include "modes/colour15.h"
#include "modes/hex_editor.h"
#include "modes/palette_editor.h"
#include "modes/palette_rows.h"
#include "modes/sprite_catalogue.h"
#include "modes/sprite_viewer.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "tests/modes/modes_support.h"

// The resource modes on the demo image: what they find there is compared
// with the builder's own description of the image.

namespace {

using modes_test::Demo;

class DemoModes : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(modes_test::InstallDemo()); }
  void TearDown() override { modes_test::RemoveImage(); }

  static std::vector<unsigned char> Image() { return {QBR1.begin(), QBR1.end()}; }
};

TEST_F(DemoModes, TheSpriteViewerStartsAtTheFirstObjectThatShowsASprite) {
  for (const DemoLevel& level : Demo().levels) {
    const auto first =
        std::find_if(level.objects.begin(), level.objects.end(), [](const DemoObject& o) { return o.spr != 0; });
    const ObjectSpriteUse use = QBR1_FirstObjectSprite(level.id);
    if (first == level.objects.end()) {
      EXPECT_EQ(use.spr, 0) << level.id;
      continue;
    }
    EXPECT_EQ(use.spr, first->spr) << level.id;
    EXPECT_EQ(use.pal, first->pal) << level.id;
  }
  SpriteViewer viewer(0x16);
  const DemoLevel* level = Demo().Level(0x16);
  ASSERT_NE(level, nullptr);
  const auto first =
      std::find_if(level->objects.begin(), level->objects.end(), [](const DemoObject& o) { return o.spr != 0; });
  ASSERT_NE(first, level->objects.end());
  EXPECT_EQ(viewer.sprite(), first->spr);
  EXPECT_EQ(viewer.palette(), first->pal);
  // The shown picture is the builder's sprite in its palette, cropped to its
  // pixels: picture pixel (x, y) is builder pixel (x - cx + refX, y - cy + refY).
  BITMAP* picture = viewer.Picture();
  ASSERT_NE(picture, nullptr);
  const int cx = viewer.ReferenceX(), cy = viewer.ReferenceY();
  int opaque = 0;
  for (int y = 0; y < first->sprite.h; ++y)
    for (int x = 0; x < first->sprite.w; ++x) {
      const std::uint32_t want = first->sprite.At(x, y) & 0xFFFFFF;
      const int px = x - first->refX + cx, py = y - first->refY + cy;
      const bool inside = px >= 0 && py >= 0 && px < picture->w && py < picture->h;
      if (want == 0xFF00FF) {
        if (inside) {
          EXPECT_EQ(static_cast<std::uint32_t>(getpixel(picture, px, py)) & 0xFFFFFF, 0xFF00FFu);
        }
        continue;
      }
      ++opaque;
      ASSERT_TRUE(inside) << x << "," << y;
      EXPECT_EQ(static_cast<std::uint32_t>(getpixel(picture, px, py)) & 0xFFFFFF, want) << x << "," << y;
    }
  EXPECT_GT(opaque, 0);
}

TEST_F(DemoModes, SteppingVisitsExactlyTheSpritesTheObjectsShow) {
  std::set<int> shown;
  for (const DemoLevel& level : Demo().levels)
    for (const DemoObject& o : level.objects)
      if (o.spr != 0) shown.insert(o.spr);
  ASSERT_FALSE(shown.empty());
  // The builder's sprites come first; further on, other tables of the image
  // happen to read as sprite entries that give pixels, and stepping shows them too.
  std::vector<int> forward;
  for (int n = QBR1_StepSprite(0, 1); n > 0; n = QBR1_StepSprite(n, 1)) forward.push_back(n);
  ASSERT_GE(forward.size(), shown.size());
  EXPECT_EQ(std::vector<int>(forward.begin(), forward.begin() + static_cast<long>(shown.size())),
            std::vector<int>(shown.begin(), shown.end()));
  EXPECT_TRUE(std::is_sorted(forward.begin(), forward.end()));
  for (int n : forward) EXPECT_TRUE(QBR1_SpriteGivesPixels(n)) << n;
  for (int n = kFirstSpriteNumber; n <= *shown.rbegin(); n += 4)
    EXPECT_EQ(QBR1_SpriteGivesPixels(n), shown.count(n) == 1) << n;
  std::vector<int> backward;
  for (int n = QBR1_StepSprite(kLastSpriteNumber + 4, -1); n > 0; n = QBR1_StepSprite(n, -1)) backward.push_back(n);
  EXPECT_EQ(backward, std::vector<int>(forward.rbegin(), forward.rend()));
  // A number between two sprites steps to the neighbour in the asked direction.
  const int second = *std::next(shown.begin());
  EXPECT_EQ(QBR1_StepSprite(second - 2, 1), second);
  EXPECT_EQ(QBR1_StepSprite(second + 2, -1), second);
}

TEST_F(DemoModes, PalettesCycleThroughThoseUsedWithTheSprite) {
  const SpritePaletteIndex index = BuildSpritePaletteIndex();
  std::set<int> all;
  std::map<int, std::set<int>> by_sprite;
  for (const DemoLevel& level : Demo().levels)
    for (const DemoObject& o : level.objects) {
      if (o.pal == 0) continue;
      all.insert(o.pal);
      if (o.spr != 0) by_sprite[o.spr].insert(o.pal);
    }
  EXPECT_EQ(index.all, std::vector<int>(all.begin(), all.end()));
  for (const auto& [spr, pals] : by_sprite) {
    const std::vector<int>& list = index.For(spr);
    EXPECT_EQ(std::set<int>(list.begin(), list.end()), pals) << spr;
    // Cycling forward visits each once and comes back.
    int pal = list.front();
    std::set<int> visited;
    for (std::size_t k = 0; k < list.size(); ++k) visited.insert(pal = CyclePalette(list, pal, 1));
    EXPECT_EQ(visited, pals);
    EXPECT_EQ(pal, list.front());
    EXPECT_EQ(CyclePalette(list, list.front(), -1), list.back());
  }
  // A sprite no object shows cycles through every object palette.
  EXPECT_EQ(&index.For(0x3FFC), &index.all);
  EXPECT_EQ(CyclePalette({}, 0x123, 1), 0x123);
  EXPECT_EQ(CyclePalette({5, 6}, 7, -1), 5);
}

TEST_F(DemoModes, PaletteRowsAreTheLevelsBananaAndObjectPalettes) {
  for (int id : {0x16, 0x27}) {
    const DemoLevel* level = Demo().Level(id);
    ASSERT_NE(level, nullptr);
    PaletteEditor editor(id);
    const std::vector<PaletteRow>& rows = editor.rows();
    std::set<int> object_palettes;
    for (const DemoObject& o : level->objects)
      if (o.pal != 0) object_palettes.insert(o.pal);
    ASSERT_EQ(rows.size(), 9 + object_palettes.size()) << id;
    for (int r = 0; r < 8; ++r) {
      EXPECT_EQ(rows[r].Start(), level->paletteOffset + 32 * r);
      EXPECT_EQ(rows[r].Swatch(0), -1);
      EXPECT_EQ(rows[r].Swatch(1), level->paletteOffset + 32 * r + 2);
      EXPECT_EQ(rows[r].Swatch(15), level->paletteOffset + 32 * r + 30);
      EXPECT_EQ(rows[r].Swatch(16), -1);
    }
    EXPECT_EQ(rows[8].Start(), static_cast<long long>(qbr1gbl.BananaPalette));
    EXPECT_EQ(rows[8].Swatch(1), static_cast<long long>(qbr1gbl.BananaPalette));
    auto it = object_palettes.begin();
    for (std::size_t r = 9; r < rows.size(); ++r, ++it) {
      EXPECT_EQ(rows[r].Swatch(0), -1);
      EXPECT_EQ(rows[r].Swatch(1), *it);  // colour 1 is the first stored word
      EXPECT_EQ(rows[r].Swatch(15), *it + 28);
    }
  }
}

TEST_F(DemoModes, APaletteEditIsOneUndoableWordWrite) {
  PaletteEditor editor(0x16);
  const long long at = editor.rows()[2].Swatch(5);
  const std::vector<unsigned char> before = Image();
  const unsigned old = QBR1_Word(at);
  const std::size_t undo_steps = QBR1_UndoCount();
  ASSERT_TRUE(editor.SetSwatch(2, 5, "#FF0000"));
  const std::vector<unsigned char> after = Image();
  EXPECT_EQ(QBR1_Word(at), (old & 0x8000) | 0x001Fu);
  for (std::size_t i = 0; i < after.size(); ++i)
    if (static_cast<long long>(i) != at && static_cast<long long>(i) != at + 1) {
      ASSERT_EQ(after[i], before[i]) << i;
    }
  EXPECT_EQ(QBR1_UndoCount(), undo_steps + 1);
  EXPECT_TRUE(QBR1_HasUnsavedEdits());
  char label[32];
  std::snprintf(label, sizeof label, "Palette 0x%06llX", at);
  EXPECT_EQ(QBR1_Document().UndoLabel(), label);
  // The same colour again changes nothing and leaves no step; a bad answer writes nothing.
  EXPECT_FALSE(editor.SetSwatch(2, 5, "#FF0000"));
  EXPECT_FALSE(editor.SetSwatch(2, 5, "red"));
  EXPECT_FALSE(editor.SetSwatch(2, 0, "#00FF00"));  // the transparent swatch
  EXPECT_EQ(QBR1_UndoCount(), undo_steps + 1);
  int level = 0;
  ASSERT_TRUE(QBR1_Undo(&level));
  EXPECT_EQ(level, -1);  // no level: undo stays in the palette editor
  EXPECT_EQ(Image(), before);
}

TEST_F(DemoModes, APaletteEditKeepsBit15AsItWas) {
  PaletteEditor editor(0x16);
  const long long at = editor.rows()[3].Swatch(7);
  for (const unsigned bit15 : {0x8000u, 0x0000u}) {
    SCOPED_TRACE(bit15);
    // The stored word first gets bit 15 as the case wants it, with some colour.
    ASSERT_TRUE(QBR1_WriteWord(static_cast<std::size_t>(at), static_cast<unsigned short>(bit15 | 0x1234)));
    ASSERT_TRUE(editor.SetSwatch(3, 7, "#00FF00"));
    EXPECT_EQ(QBR1_Word(at), bit15 | 0x03E0u);
    ASSERT_TRUE(editor.SetSwatch(3, 7, "#0000F8"));
    EXPECT_EQ(QBR1_Word(at), bit15 | 0x7C00u);
  }
}

TEST_F(DemoModes, TwoHexDigitsWriteOneByteAsOneEdit) {
  HexEditor editor(0x16);
  editor.cursor().GoTo(0x1234);
  const unsigned char old = static_cast<unsigned char>(QBR1[0x1234]);
  const unsigned char value = static_cast<unsigned char>(old ^ 0xA5);
  const std::size_t undo_steps = QBR1_UndoCount();
  EXPECT_FALSE(editor.TypeDigit(value >> 4));  // the first digit is only held
  EXPECT_EQ(static_cast<unsigned char>(QBR1[0x1234]), old);
  EXPECT_EQ(editor.pending(), value >> 4);
  EXPECT_FALSE(editor.Changed(0x1234));
  EXPECT_TRUE(editor.TypeDigit(value & 15));
  EXPECT_EQ(static_cast<unsigned char>(QBR1[0x1234]), value);
  EXPECT_EQ(editor.cursor().offset, 0x1235u);
  EXPECT_EQ(editor.pending(), -1);
  EXPECT_EQ(QBR1_UndoCount(), undo_steps + 1);
  EXPECT_EQ(QBR1_Document().UndoLabel(), "Byte 0x001234");
  EXPECT_TRUE(editor.Changed(0x1234));
  EXPECT_FALSE(editor.Changed(0x1235));
  const std::vector<unsigned char> saved = QBR1_SavedFileBytes();
  EXPECT_EQ(saved[0x1234], value);
  ASSERT_TRUE(QBR1_Undo(nullptr));
  EXPECT_EQ(static_cast<unsigned char>(QBR1[0x1234]), old);
  EXPECT_FALSE(editor.Changed(0x1234));
}

TEST_F(DemoModes, TheChangedBytesFollowEveryTypedEditUndoAndRedo) {
  // The first in-memory correction: the channel differs from the file there.
  constexpr std::size_t kCorrected = 0x3C983B;
  QBR1[kCorrected] = static_cast<char>(static_cast<unsigned char>(QBR1[kCorrected]) ^ 0xFF);
  HexEditor editor(0x16);
  const auto original = [](std::size_t at) { return QBR1_OpenedFile()[QBR1_HeaderSize() + at]; };
  const auto type = [&editor](std::size_t at, unsigned value) {
    editor.cursor().GoTo(at);
    editor.TypeDigit(static_cast<int>(value >> 4));
    editor.TypeDigit(static_cast<int>(value & 15));
  };
  const auto channel = [](std::size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(QBR1[at])); };
  struct Step {
    const char* what;
    std::function<void()> act;
  };
  const Step steps[] = {
      {"a new value", [&] { type(0x1234, original(0x1234) ^ 0x5A); }},
      {"the next byte", [&] { type(0x1235, original(0x1235) ^ 0x01); }},
      {"the same value again", [&] { type(0x1235, channel(0x1235)); }},
      {"the original value back", [&] { type(0x1234, original(0x1234)); }},
      {"the corrected byte as corrected", [&] { type(kCorrected, channel(kCorrected)); }},
      {"the corrected byte as filed", [&] { type(kCorrected, original(kCorrected)); }},
      {"undo", [] { QBR1_Undo(nullptr); }},
      {"undo again", [] { QBR1_Undo(nullptr); }},
      {"redo", [] { QBR1_Redo(nullptr); }},
      {"a byte after the redo", [&] { type(0x1236, original(0x1236) ^ 0x80); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    // What Save would write against the file as opened, byte by byte.
    const std::vector<unsigned char> saved = QBR1_SavedFileBytes();
    for (std::size_t at : {std::size_t{0x1234}, std::size_t{0x1235}, std::size_t{0x1236}, kCorrected})
      EXPECT_EQ(editor.Changed(at), saved[QBR1_HeaderSize() + at] != original(at)) << std::hex << at;
  }
}

TEST_F(DemoModes, InMemoryCorrectionsAreNotShownAsChanged) {
  // The first correction's byte differs in the channel but not in what Save writes.
  QBR1[0x3C983B] = static_cast<char>(static_cast<unsigned char>(QBR1[0x3C983B]) ^ 0xFF);
  HexEditor editor(0x16);
  EXPECT_FALSE(editor.Changed(0x3C983B));
  ASSERT_TRUE(QBR1_WriteByte(0x10, 0x99 ^ static_cast<unsigned char>(QBR1[0x10])));
  EXPECT_TRUE(editor.Changed(0x10));
  EXPECT_FALSE(editor.Changed(0x3C983B));
}

TEST_F(DemoModes, TheSideColumnListsTheLevelsTables) {
  HexEditor editor(0x16);
  const DemoLevel* level = Demo().Level(0x16);
  ASSERT_NE(level, nullptr);
  const std::vector<HexBookmark>& marks = editor.bookmarks();
  ASSERT_EQ(marks.size(), 5u);
  // The level record holds the camera start and end words the builder wrote.
  EXPECT_EQ(static_cast<int>(QBR1_Word(marks[0].offset)), level->x);
  EXPECT_EQ(static_cast<int>(QBR1_Word(marks[0].offset + 2)), level->x + level->size - 0x100);
  EXPECT_EQ(marks[4].offset, level->paletteOffset);
  // The object map's first record is the first object the builder placed.
  ASSERT_FALSE(level->objects.empty());
  EXPECT_EQ(static_cast<int>(QBR1_Word(marks[2].offset + 6)), level->objects.front().zo);
}

}  // namespace
