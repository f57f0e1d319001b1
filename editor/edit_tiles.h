#pragma once

#include "editor/classes.h"
#include "editor/edit_input.h"
#include "level/level_records.h"

// The Tile Map edit mode: a brush (a map entry: tile and mirror bits) painted
// into the level's map, and the tile picker panel at the right of the view.
class TileEditor {
 public:
  // Panel geometry: columns of cells, each a 32x32 tile with its number below.
  static constexpr int kColumns = 4;
  static constexpr int kCellW = 36;
  static constexpr int kCellH = 46;
  static constexpr int kHeaderH = 48;  // the brush preview above the cells
  static constexpr int kPanelW = kColumns * kCellW + 8;

  bool has_brush = false;
  QBR1TileEntry brush;
  bool panel_shown = false;
  int panel_scroll = 0;  // first row of cells shown

  // One logic update: keys (Tab, H, V), the panel and the strokes.
  void Proc(CCamera& camera, const EditInput& in);
  // Draws the panel (when shown) over the view.
  void Draw(BITMAP* dest, const CCamera& camera) const;
  // Ends a stroke in progress (level or mode change).
  void Cancel();

  // The panel's rectangle in window pixels for a view frame; x1/y1 exclusive.
  static LevelBox PanelRect(const ViewFrame& frame);
  // Whether window pixel (x, y) lies on the shown panel.
  bool PanelHolds(const ViewFrame& frame, int x, int y) const;
  // Tile number of the cell at window pixel (x, y) of the panel, or -1.
  int PanelTileAt(const ViewFrame& frame, int x, int y, int tiles) const;
  // Rows of cells that fit in the panel, and the most the panel scrolls.
  static int VisibleRows(const ViewFrame& frame);
  int MaxScroll(const ViewFrame& frame, int tiles) const;

  // Writes the brush into the map entry of column `col`, row `row` of the level
  // (level 0x27: its first map); false when nothing changed.
  bool PaintCell(const leveldata& lvl, int col, int row) const;
  // Takes the entry of (col, row) as the brush; false outside the level.
  bool PickCell(const leveldata& lvl, int col, int row);

 private:
  void Paint(const CCamera& camera, int lx, int ly);

  bool painting_ = false;
  int level_id_ = -1;
  int last_col_ = 0, last_row_ = 0;
};
