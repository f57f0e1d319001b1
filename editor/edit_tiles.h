#pragma once

#include <memory>
#include <vector>

#include "editor/classes.h"
#include "editor/edit_tool.h"
#include "editor/tile_stamp.h"
#include "level/level_records.h"
#include "rom/image_transaction.h"

// The Tile Map tool: a brush (one map entry, or a stamp of many) painted into
// the level's map, and the tile picker panel at the right of the view. Tab
// shows the picker, H and V mirror the brush, a right click takes the entry
// under the mouse as the brush and a right drag the rectangle under it; a drag
// across the picker makes a stamp of those tiles. A stroke repeats the stamp
// from its first cell, Ctrl+drag fills a rectangle, Shift+click flood-fills the
// connected cells of one entry; each is one undo step ("Paint 12 tiles").
// Copy, Cut and Delete act on the rectangle last taken; Paste paints the stamp.
class TileMapTool : public EditTool, public SelectionEditing {
 public:
  // Panel geometry: columns of cells, each a 32x32 tile with its number below.
  static constexpr int kColumns = 4;
  static constexpr int kCellW = 36;
  static constexpr int kCellH = 46;
  static constexpr int kHeaderH = 48;  // the brush preview above the cells
  static constexpr int kPanelW = kColumns * kCellW + 8;

  bool has_brush = false;
  TileStamp brush;
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
  SelectionEditing* Selection() override { return this; }
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

  // Writes the brush's entry for column `col`, row `row` (the stamp repeated
  // from the stroke's first cell) into the level's map (level 0x27: its first
  // map); false when nothing changed.
  bool PaintCell(const leveldata& lvl, int col, int row);
  // Takes the entries of `rect` as the brush and remembers the rectangle for
  // Copy, Cut and Delete; false when it lies wholly outside the level.
  bool CaptureCells(const leveldata& lvl, const CellRect& rect);
  // One undoable fill of `rect` with the stamp repeated from its top-left, and
  // a flood fill from (col, row); the number of cells changed.
  int FillRect(const leveldata& lvl, const CellRect& rect);
  int FloodFill(const leveldata& lvl, int col, int row);
  // The brush made of the picker's tiles `first`..`last` and those between them in the panel's layout.
  void TakePanelStamp(int first, int last, int tiles);

  // The Edit menu on the captured rectangle (Delete and Cut write entry 0).
  std::size_t SelectedCount() const override;
  bool HasClipboard() const override { return has_brush; }
  bool Copy() override;
  bool Delete() override;
  bool Paste(int x, int y) override;
  bool Duplicate() override { return false; }
  bool SelectAll() override;

 private:
  void Paint(const CCamera& camera, int lx, int ly);
  void DrawGhost(BITMAP* dest, const CCamera& camera) const;
  void DrawPanel(BITMAP* dest, const CCamera& camera) const;
  void EndStroke();

  enum class Drag { None, Stroke, Fill, Capture, Panel };
  Drag drag_ = Drag::None;
  // The stroke's edit: open from the press to the release, across updates.
  std::unique_ptr<ImageTransaction> stroke_;
  int painted_ = 0;                // cells the stroke changed
  int last_col_ = 0, last_row_ = 0;
  int anchor_col_ = 0, anchor_row_ = 0;  // where the stroke's stamp repeats from; a drag's first cell
  int panel_first_ = -1;                 // the picker tile a panel drag began on
  bool has_captured_ = false;
  CellRect captured_;
  int captured_id_ = -1;  // the level the rectangle was taken in
  // The mouse of the last update, for the ghost and the drag rectangles.
  int mouse_wx_ = 0, mouse_wy_ = 0, mouse_col_ = 0, mouse_row_ = 0;
  bool mouse_in_view_ = false;
  const CCamera* camera_ = nullptr;
  // The brush composed once for the translucent ghost; made again when the brush or the tiles
  // change, released by Deactivate.
  mutable BITMAP* ghost_ = nullptr;
  mutable std::vector<QBR1TileEntry> ghost_stamp_;
  mutable BITMAP* const* ghost_tiles_ = nullptr;
};
