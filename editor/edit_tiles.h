#pragma once

#include "editor/classes.h"
#include "editor/edit_tool.h"
#include "level/level_records.h"

// The Tile Map tool: a brush (a map entry: tile and mirror bits) painted into
// the level's map, and the tile picker panel at the right of the view. Tab
// shows the picker, H and V mirror the brush, a right click takes the entry
// under the mouse as the brush; one stroke is one undo step ("Paint 12 tiles").
class TileMapTool : public EditTool {
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

  void Activate(CCamera& camera) override;
  // Ends a stroke in progress.
  void Deactivate() override;
  // Tab, H, V, the wheel over the panel, and the right button's pick.
  void Keys(CCamera& camera, const InputSnapshot& in) override;
  // A press on the panel chooses the brush; in the view it starts a stroke.
  void MousePress(CCamera& camera, const InputSnapshot& in) override;
  void MouseMove(CCamera& camera, const InputSnapshot& in) override;
  void MouseRelease(CCamera& camera, const InputSnapshot& in) override;
  // Draws the panel (when shown) over the view.
  void Draw(BITMAP* dest, const CCamera& camera) const override;
  bool OwnsWheelAt(const CCamera& camera, int x, int y) const override { return PanelHolds(camera.frame, x, y); }

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
  bool PaintCell(const leveldata& lvl, int col, int row);
  // Takes the entry of (col, row) as the brush; false outside the level.
  bool PickCell(const leveldata& lvl, int col, int row);

 private:
  void Paint(const CCamera& camera, int lx, int ly);
  void EndStroke();

  bool painting_ = false;
  int painted_ = 0;  // cells the stroke changed
  int last_col_ = 0, last_row_ = 0;
};
