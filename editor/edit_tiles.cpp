#include "editor/edit_tiles.h"

#include <algorithm>
#include <cstdlib>

#include "editor/counted_words.h"
#include "editor/view_transform.h"
#include "level/rom_access.h"
#include "resources/skin.h"
#include "rom/image_edits.h"
#include "rom/image_transaction.h"

namespace {

constexpr int kPanelColour = 0x202020;
constexpr int kCellColour = 0x101010;
constexpr int kBrushColour = 0xFFFF40;

int FloorDiv32(int v) { return v >= 0 ? v / 32 : -((31 - v) / 32); }

void DrawEntry(BITMAP* dest, BITMAP* tile, int x, int y, bool h, bool v) {
  if (tile == nullptr) return;
  if (h && v) {
    draw_sprite_vh_flip(dest, tile, x, y);
  } else if (h) {
    draw_sprite_h_flip(dest, tile, x, y);
  } else if (v) {
    draw_sprite_v_flip(dest, tile, x, y);
  } else {
    draw_sprite(dest, tile, x, y);
  }
}

}  // namespace

LevelBox TileMapTool::PanelRect(const ViewFrame& frame) {
  // Right of the view, left of the vertical scroll bar, over the view's full height.
  const int x1 = frame.w - 16;
  return {x1 - kPanelW, frame.oy, x1, frame.h - 32};
}

bool TileMapTool::PanelHolds(const ViewFrame& frame, int x, int y) const {
  return panel_shown && PanelRect(frame).Contains(x, y);
}

int TileMapTool::VisibleRows(const ViewFrame& frame) {
  const LevelBox r = PanelRect(frame);
  return std::max(1, (r.y1 - r.y0 - kHeaderH) / kCellH);
}

int TileMapTool::MaxScroll(const ViewFrame& frame, int tiles) const {
  const int rows = (tiles + kColumns - 1) / kColumns;
  return std::max(0, rows - VisibleRows(frame));
}

int TileMapTool::PanelTileAt(const ViewFrame& frame, int x, int y, int tiles) const {
  if (!PanelHolds(frame, x, y)) return -1;
  const LevelBox r = PanelRect(frame);
  const int cx = x - r.x0 - 4, cy = y - r.y0 - kHeaderH;
  if (cx < 0 || cy < 0 || cx >= kColumns * kCellW) return -1;
  const int row = cy / kCellH;
  if (row >= VisibleRows(frame)) return -1;
  const int tile = (panel_scroll + row) * kColumns + cx / kCellW;
  return tile < tiles ? tile : -1;
}

bool TileMapTool::PaintCell(const leveldata& lvl, int col, int row) {
  if (!has_brush) return false;
  const unsigned word = brush.Tiled(col, row, anchor_col_, anchor_row_).Word();
  const long long at = QBR1_EntryOffsetToWrite(lvl, col, row, word);
  if (at < 0) return false;
  if (QBR1_Word(at) == word) return false;
  if (!QBR1_WriteWord(static_cast<std::size_t>(at), static_cast<unsigned short>(word))) return false;
  if (drag_ == Drag::Stroke && stroke_) stroke_->SetLabel("Paint " + Counted(++painted_, "tile", "tiles"));
  return true;
}

bool TileMapTool::CaptureCells(const leveldata& lvl, const CellRect& rect) {
  const CellRect inside{std::max(rect.c0, 0), std::max(rect.r0, 0), std::min(rect.c1, lvl.tile_w - 1),
                        std::min(rect.r1, lvl.tile_h - 1)};
  if (inside.c0 > inside.c1 || inside.r0 > inside.r1) return false;
  brush = TileStamp::Capture(lvl, inside);
  has_brush = true;
  has_captured_ = true;
  captured_ = inside;
  captured_id_ = lvl.ID;
  return true;
}

namespace {

// Runs `fill` as one undoable edit named after the cells it changed.
template <typename Fill>
int FillEdit(const leveldata& lvl, Fill fill) {
  ImageTransaction edit(QBR1_Document(), "Fill", lvl.ID);
  const int changed = fill();
  edit.SetLabel("Fill " + Counted(changed, "tile", "tiles"));
  edit.Commit();
  return changed;
}

}  // namespace

int TileMapTool::FillRect(const leveldata& lvl, const CellRect& rect) {
  if (!has_brush) return 0;
  return FillEdit(lvl, [&] { return FillCells(lvl, rect, brush, rect.c0, rect.r0); });
}

int TileMapTool::FloodFill(const leveldata& lvl, int col, int row) {
  if (!has_brush) return 0;
  return FillEdit(lvl, [&] { return FloodFillCells(lvl, col, row, brush); });
}

void TileMapTool::TakePanelStamp(int first, int last, int tiles) {
  const CellRect r = CellRect::Spanning(first % kColumns, first / kColumns, last % kColumns, last / kColumns);
  TileStamp s{r.Width(), r.Height(), {}};
  for (int row = r.r0; row <= r.r1; ++row) {
    for (int col = r.c0; col <= r.c1; ++col) {
      const int tile = row * kColumns + col;
      s.cells.push_back(QBR1TileEntry{tile < tiles ? tile : 0, false, false});
    }
  }
  brush = s;
  has_brush = true;
}

std::size_t TileMapTool::SelectedCount() const {
  if (!has_captured_ || camera_ == nullptr || camera_->lvl.ID != captured_id_) return 0;
  return static_cast<std::size_t>(captured_.Width()) * static_cast<std::size_t>(captured_.Height());
}

bool TileMapTool::Copy() {
  if (SelectedCount() == 0) return false;
  brush = TileStamp::Capture(camera_->lvl, captured_);
  has_brush = true;
  return true;
}

bool TileMapTool::Delete() {
  if (SelectedCount() == 0) return false;
  const leveldata& lvl = camera_->lvl;
  FillEdit(lvl, [&] { return FillCells(lvl, captured_, TileStamp::Single({}), captured_.c0, captured_.r0); });
  return true;
}

bool TileMapTool::Paste(int x, int y) {
  if (!has_brush || camera_ == nullptr) return false;
  const int col = FloorDiv32(x), row = FloorDiv32(y);
  FillRect(camera_->lvl, {col, row, col + brush.w - 1, row + brush.h - 1});
  return true;
}

bool TileMapTool::SelectAll() {
  return camera_ != nullptr && CaptureCells(camera_->lvl, {0, 0, camera_->lvl.tile_w - 1, camera_->lvl.tile_h - 1});
}

void TileMapTool::Paint(const CCamera& camera, int lx, int ly) {
  const int col = FloorDiv32(lx), row = FloorDiv32(ly);
  // Every cell on the line from the last one painted, so a quick stroke leaves no gaps.
  int c = last_col_, r = last_row_;
  const int dc = std::abs(col - c), dr = -std::abs(row - r);
  const int sc = c < col ? 1 : -1, sr = r < row ? 1 : -1;
  int err = dc + dr;
  for (;;) {
    // A stamp is laid whole where the stroke enters one of its repeats.
    const int sc0 = c - ((c - anchor_col_) % brush.w + brush.w) % brush.w;
    const int sr0 = r - ((r - anchor_row_) % brush.h + brush.h) % brush.h;
    for (int rr = sr0; rr < sr0 + brush.h; ++rr) {
      for (int cc = sc0; cc < sc0 + brush.w; ++cc) PaintCell(camera.lvl, cc, rr);
    }
    if (c == col && r == row) break;
    const int e2 = 2 * err;
    if (e2 >= dr) err += dr, c += sc;
    if (e2 <= dc) err += dc, r += sr;
  }
  last_col_ = col;
  last_row_ = row;
}

void TileMapTool::EndStroke() {
  if (stroke_) stroke_->Commit();
  stroke_.reset();
  drag_ = Drag::None;
}

void TileMapTool::Activate(CCamera& camera) {
  EndStroke();
  camera_ = &camera;
}

void TileMapTool::Deactivate() {
  EndStroke();
  camera_ = nullptr;
  // The ghost is an Allegro bitmap: released while Allegro surely runs, since
  // the tool itself lives as long as the tool box that holds it.
  if (ghost_ != nullptr) destroy_bitmap(ghost_);
  ghost_ = nullptr;
}

namespace {

int TileCount(const CCamera& camera) {
  return camera.Layer_MG0 ? static_cast<int>(camera.Layer_MG0->tileset.size()) : 0;
}

}  // namespace

void TileMapTool::Keys(CCamera& camera, const InputSnapshot& in) {
  camera_ = &camera;
  const int tiles = TileCount(camera);
  const bool on_panel = PanelHolds(camera.frame, in.wx, in.wy);
  mouse_wx_ = in.wx;
  mouse_wy_ = in.wy;
  mouse_col_ = FloorDiv32(in.lx);
  mouse_row_ = FloorDiv32(in.ly);
  mouse_in_view_ = in.in_view && !on_panel;
  if (in.PlainPressed(KEY_TAB)) panel_shown = !panel_shown;
  if (has_brush && in.PlainPressed(KEY_H)) brush.MirrorH();
  if (has_brush && in.PlainPressed(KEY_V)) brush.MirrorV();
  if (on_panel && in.wheel != 0) {
    panel_scroll = std::clamp(panel_scroll - 2 * in.wheel, 0, MaxScroll(camera.frame, tiles));
  }
  panel_scroll = std::clamp(panel_scroll, 0, MaxScroll(camera.frame, tiles));
  // The right button: a click takes one entry, a drag the rectangle it spans.
  if (drag_ == Drag::None && mouse_in_view_ && in.right == 1) {
    drag_ = Drag::Capture;
    anchor_col_ = mouse_col_;
    anchor_row_ = mouse_row_;
  } else if (drag_ == Drag::Capture && in.right == 3) {
    drag_ = Drag::None;
    CaptureCells(camera.lvl, CellRect::Spanning(anchor_col_, anchor_row_, mouse_col_, mouse_row_));
  }
}

void TileMapTool::MousePress(CCamera& camera, const InputSnapshot& in) {
  if (drag_ != Drag::None) return;
  if (PanelHolds(camera.frame, in.wx, in.wy)) {
    const int tile = PanelTileAt(camera.frame, in.wx, in.wy, TileCount(camera));
    if (tile >= 0) {
      brush = TileStamp::Single(QBR1TileEntry{tile, false, false});
      has_brush = true;
      drag_ = Drag::Panel;
      panel_first_ = tile;
    }
    return;
  }
  if (!in.in_view || !has_brush) return;
  const int col = FloorDiv32(in.lx), row = FloorDiv32(in.ly);
  if (in.shift) {
    FloodFill(camera.lvl, col, row);
    return;
  }
  anchor_col_ = last_col_ = col;
  anchor_row_ = last_row_ = row;
  if (in.ctrl) {
    drag_ = Drag::Fill;
    return;
  }
  drag_ = Drag::Stroke;
  painted_ = 0;
  stroke_ = std::make_unique<ImageTransaction>(QBR1_Document(), "Paint", camera.lvl.ID);
  Paint(camera, in.lx, in.ly);
}

void TileMapTool::MouseMove(CCamera& camera, const InputSnapshot& in) {
  if (drag_ == Drag::Stroke) Paint(camera, in.lx, in.ly);
}

void TileMapTool::MouseRelease(CCamera& camera, const InputSnapshot& in) {
  if (drag_ == Drag::Fill) {
    drag_ = Drag::None;
    FillRect(camera.lvl, CellRect::Spanning(anchor_col_, anchor_row_, FloorDiv32(in.lx), FloorDiv32(in.ly)));
    return;
  }
  if (drag_ == Drag::Panel) {
    drag_ = Drag::None;
    const int last = PanelTileAt(camera.frame, in.wx, in.wy, TileCount(camera));
    if (last >= 0 && last != panel_first_) TakePanelStamp(panel_first_, last, TileCount(camera));
    return;
  }
  EndStroke();
}

namespace {

constexpr int kGhostAlpha = 144;
constexpr int kRectColour = 0xFFFFFF;

// Outlines the cells of `r` in the window, through the view's zoom.
void OutlineCells(BITMAP* dest, const CellRect& r, int colour) {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  LevelToWindow(r.c0 * 32, r.r0 * 32, x0, y0);
  LevelToWindow((r.c1 + 1) * 32, (r.r1 + 1) * 32, x1, y1);
  rect(dest, x0, y0, x1 - 1, y1 - 1, colour);
}

}  // namespace

void TileMapTool::DrawGhost(BITMAP* dest, const CCamera& camera) const {
  const std::vector<BITMAP*>& tileset = camera.Layer_MG0->tileset;
  const int tiles = static_cast<int>(tileset.size());
  const int sw = brush.w * 32, sh = brush.h * 32;
  if (ghost_ == nullptr || ghost_->w != sw || ghost_->h != sh || ghost_stamp_ != brush.cells ||
      ghost_tiles_ != tileset.data()) {
    if (ghost_ != nullptr) destroy_bitmap(ghost_);
    ghost_ = create_bitmap(sw, sh);
    if (ghost_ == nullptr) return;
    clear_to_color(ghost_, bitmap_mask_color(ghost_));
    for (int r = 0; r < brush.h; ++r) {
      for (int c = 0; c < brush.w; ++c) {
        const QBR1TileEntry& e = brush.At(c, r);
        if (e.tile > 0 && e.tile < tiles) DrawEntry(ghost_, tileset[e.tile], c * 32, r * 32, e.hflip, e.vflip);
      }
    }
    ghost_stamp_ = brush.cells;
    ghost_tiles_ = tileset.data();
  }
  int x = 0, y = 0;
  LevelToWindow(mouse_col_ * 32, mouse_row_ * 32, x, y);
  const ViewFrame& f = camera.frame;
  set_clip_rect(dest, f.ox, f.oy, f.w - 17, f.h - 33);
  if (ViewZoom() == 100) {
    set_trans_blender(0, 0, 0, kGhostAlpha);
    draw_trans_sprite(dest, ghost_, x, y);
  }
  OutlineCells(dest, {mouse_col_, mouse_row_, mouse_col_ + brush.w - 1, mouse_row_ + brush.h - 1}, kBrushColour);
  set_clip_rect(dest, 0, 0, dest->w - 1, dest->h - 1);
}

void TileMapTool::Draw(BITMAP* dest, const CCamera& camera) const {
  if (camera.Layer_MG0 == nullptr) return;
  const ViewFrame& f = camera.frame;
  if (has_captured_ && captured_id_ == camera.lvl.ID) {
    set_clip_rect(dest, f.ox, f.oy, f.w - 17, f.h - 33);
    OutlineCells(dest, captured_, kRectColour);
    set_clip_rect(dest, 0, 0, dest->w - 1, dest->h - 1);
  }
  if (drag_ == Drag::Fill || drag_ == Drag::Capture) {
    set_clip_rect(dest, f.ox, f.oy, f.w - 17, f.h - 33);
    OutlineCells(dest, CellRect::Spanning(anchor_col_, anchor_row_, mouse_col_, mouse_row_), kBrushColour);
    set_clip_rect(dest, 0, 0, dest->w - 1, dest->h - 1);
  } else if (has_brush && mouse_in_view_) {
    DrawGhost(dest, camera);
  }
  if (panel_shown) DrawPanel(dest, camera);
}


void TileMapTool::DrawPanel(BITMAP* dest, const CCamera& camera) const {
  const std::vector<BITMAP*>& tileset = camera.Layer_MG0->tileset;
  const int tiles = static_cast<int>(tileset.size());
  const LevelBox r = PanelRect(camera.frame);
  rectfill(dest, r.x0, r.y0, r.x1 - 1, r.y1 - 1, kPanelColour);
  // The brush, as it will be painted (a stamp by its top-left entry and its size).
  textprintf_ex(dest, NMenuFont[2], r.x0 + 6, r.y0 + 4, -1, -1, "Brush");
  if (has_brush) {
    const QBR1TileEntry& e = brush.At(0, 0);
    rectfill(dest, r.x0 + 6, r.y0 + 14, r.x0 + 37, r.y0 + 45, kCellColour);
    if (e.tile > 0 && e.tile < tiles) DrawEntry(dest, tileset[e.tile], r.x0 + 6, r.y0 + 14, e.hflip, e.vflip);
    if (brush.w == 1 && brush.h == 1) {
      textprintf_ex(dest, NMenuFont[2], r.x0 + 44, r.y0 + 16, -1, -1, "%03X", e.tile);
    } else {
      textprintf_ex(dest, NMenuFont[2], r.x0 + 44, r.y0 + 16, -1, -1, "%dx%d", brush.w, brush.h);
    }
    textprintf_ex(dest, NMenuFont[2], r.x0 + 44, r.y0 + 30, -1, -1, "%s %s", e.hflip ? "H" : "-", e.vflip ? "V" : "-");
  } else {
    textprintf_ex(dest, NMenuFont[2], r.x0 + 44, r.y0 + 22, -1, -1, "none");
  }
  const bool single = has_brush && brush.w == 1 && brush.h == 1;
  const int rows = VisibleRows(camera.frame);
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < kColumns; ++col) {
      const int tile = (panel_scroll + row) * kColumns + col;
      if (tile >= tiles) return;
      const int x = r.x0 + 4 + col * kCellW + 2;
      const int y = r.y0 + kHeaderH + row * kCellH;
      rectfill(dest, x, y, x + 31, y + 31, kCellColour);
      if (tile > 0 && tileset[tile] != nullptr) draw_sprite(dest, tileset[tile], x, y);
      if (single && brush.At(0, 0).tile == tile) rect(dest, x - 1, y - 1, x + 32, y + 32, kBrushColour);
      textprintf_ex(dest, NMenuFont[2], x, y + 33, -1, -1, "%03X", tile);
    }
  }
}
