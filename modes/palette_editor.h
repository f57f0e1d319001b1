#pragma once

#include <string>
#include <vector>

#include "level/leveldata.h"
#include "modes/cached_view.h"
#include "modes/mode_common.h"
#include "modes/palette_rows.h"

// The palette editor: the palettes of one level as rows of 16 swatches, each
// with its 15-bit value, every row with its file offset. A click on a swatch
// asks for a colour and writes it into the image as one undoable edit.
class PaletteEditor {
 public:
  // Geometry of the rows inside the view area.
  static constexpr int kLabelWidth = 112;
  static constexpr int kRowHeight = 30;
  static constexpr int kSwatchHeight = 16;

  explicit PaletteEditor(int level_id);
  ~PaletteEditor();
  PaletteEditor(const PaletteEditor&) = delete;
  PaletteEditor& operator=(const PaletteEditor&) = delete;

  // One logic update: hover, clicks, scrolling.
  void Proc();
  void Draw(BITMAP* dest);
  std::string Status() const;

  // The row and swatch under window pixel (x, y), false when none (swatch 0 included).
  bool SwatchAt(int x, int y, int& row, int& swatch) const;
  // Window rectangle of a swatch (its colour box).
  void SwatchRect(int row, int swatch, int& x, int& y, int& w, int& h) const;
  // Asks for the colour of swatch `swatch` of row `row` and writes it; true when the image changed.
  bool EditSwatch(int row, int swatch);
  // Writes colour `rrggbb` ("#RRGGBB") into swatch (row, swatch) as one edit; true when the image changed.
  bool SetSwatch(int row, int swatch, const std::string& rrggbb);

  const std::vector<PaletteRow>& rows() const { return rows_; }
  const leveldata& level() const { return lvl_; }

 private:
  int VisibleRows() const;
  // Paints the view area into `view`: the rows in view, the hovered swatch outlined.
  void Compose(BITMAP* view) const;

  leveldata lvl_;
  std::vector<PaletteRow> rows_;
  int first_row_ = 0;  // row shown at the top
  int hover_row_ = -1, hover_swatch_ = -1;

  // What the view shows: image generation, first row, hovered swatch.
  struct ViewKey {
    unsigned long long generation = 0;
    int first_row = 0, hover_row = 0, hover_swatch = 0;
    bool operator==(const ViewKey&) const = default;
  };
  CachedView<ViewKey> view_;

  KeyPresses keys_;
  InputGate gate_;
  ViewClicks clicks_;
  WheelSteps wheel_;
};

// Mode function of the palette editor: the palettes of level `currentlvlid`;
// Page Up and Page Down switch levels as in the level editor.
void PALETTE_EDITOR_SUBFUNCTION();
