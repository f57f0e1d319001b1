#include "editor/edit_tiles.h"

#include <algorithm>
#include <cstdlib>

#include "editor/counted_words.h"
#include "level/rom_access.h"
#include "resources/skin.h"
#include "rom/image_edits.h"

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
  const long long at = QBR1_MapEntryOffset(lvl, col, row);
  if (!has_brush || at < 0 || QBR1_Word(at) == brush.Word()) return false;
  if (!QBR1_WriteWord(static_cast<std::size_t>(at), static_cast<unsigned short>(brush.Word()))) return false;
  if (painting_) QBR1_SetEditLabel("Paint " + Counted(++painted_, "tile", "tiles"));
  return true;
}

bool TileMapTool::PickCell(const leveldata& lvl, int col, int row) {
  const long long at = QBR1_MapEntryOffset(lvl, col, row);
  if (at < 0) return false;
  brush = QBR1TileEntry::FromWord(QBR1_Word(at));
  has_brush = true;
  return true;
}

void TileMapTool::Paint(const CCamera& camera, int lx, int ly) {
  const int col = FloorDiv32(lx), row = FloorDiv32(ly);
  // Every cell on the line from the last one painted, so a quick stroke leaves no gaps.
  int c = last_col_, r = last_row_;
  const int dc = std::abs(col - c), dr = -std::abs(row - r);
  const int sc = c < col ? 1 : -1, sr = r < row ? 1 : -1;
  int err = dc + dr;
  for (;;) {
    PaintCell(camera.lvl, c, r);
    if (c == col && r == row) break;
    const int e2 = 2 * err;
    if (e2 >= dr) err += dr, c += sc;
    if (e2 <= dc) err += dc, r += sr;
  }
  last_col_ = col;
  last_row_ = row;
}

void TileMapTool::EndStroke() {
  if (painting_) QBR1_EndEdit();
  painting_ = false;
}

void TileMapTool::Activate(CCamera&) { EndStroke(); }

void TileMapTool::Deactivate() { EndStroke(); }

namespace {

int TileCount(const CCamera& camera) {
  return camera.Layer_MG0 ? static_cast<int>(camera.Layer_MG0->tileset.size()) : 0;
}

}  // namespace

void TileMapTool::Keys(CCamera& camera, const InputSnapshot& in) {
  const int tiles = TileCount(camera);
  if (in.PlainPressed(KEY_TAB)) panel_shown = !panel_shown;
  if (has_brush && in.PlainPressed(KEY_H)) brush.hflip = !brush.hflip;
  if (has_brush && in.PlainPressed(KEY_V)) brush.vflip = !brush.vflip;
  const bool on_panel = PanelHolds(camera.frame, in.wx, in.wy);
  if (on_panel && in.wheel != 0) {
    panel_scroll = std::clamp(panel_scroll - 2 * in.wheel, 0, MaxScroll(camera.frame, tiles));
  }
  panel_scroll = std::clamp(panel_scroll, 0, MaxScroll(camera.frame, tiles));
  if (!painting_ && !on_panel && in.in_view && in.right_pressed) {
    PickCell(camera.lvl, FloorDiv32(in.lx), FloorDiv32(in.ly));
  }
}

void TileMapTool::MousePress(CCamera& camera, const InputSnapshot& in) {
  if (painting_) {
    Paint(camera, in.lx, in.ly);
    return;
  }
  if (PanelHolds(camera.frame, in.wx, in.wy)) {
    const int tile = PanelTileAt(camera.frame, in.wx, in.wy, TileCount(camera));
    if (tile >= 0) {
      brush = QBR1TileEntry{tile, false, false};
      has_brush = true;
    }
    return;
  }
  if (!in.in_view || !has_brush) return;
  painting_ = true;
  painted_ = 0;
  QBR1_BeginEdit(camera.lvl.ID, "Paint");
  last_col_ = FloorDiv32(in.lx);
  last_row_ = FloorDiv32(in.ly);
  Paint(camera, in.lx, in.ly);
}

void TileMapTool::MouseMove(CCamera& camera, const InputSnapshot& in) {
  if (painting_) Paint(camera, in.lx, in.ly);
}

void TileMapTool::MouseRelease(CCamera&, const InputSnapshot&) { EndStroke(); }

void TileMapTool::Draw(BITMAP* dest, const CCamera& camera) const {
  if (!panel_shown || camera.Layer_MG0 == nullptr) return;
  const std::vector<BITMAP*>& tileset = camera.Layer_MG0->tileset;
  const int tiles = static_cast<int>(tileset.size());
  const LevelBox r = PanelRect(camera.frame);
  rectfill(dest, r.x0, r.y0, r.x1 - 1, r.y1 - 1, kPanelColour);
  // The brush, as it will be painted.
  textprintf_ex(dest, NMenuFont[2], r.x0 + 6, r.y0 + 4, -1, -1, "Brush");
  if (has_brush) {
    rectfill(dest, r.x0 + 6, r.y0 + 14, r.x0 + 37, r.y0 + 45, kCellColour);
    if (brush.tile > 0 && brush.tile < tiles) {
      DrawEntry(dest, tileset[brush.tile], r.x0 + 6, r.y0 + 14, brush.hflip, brush.vflip);
    }
    textprintf_ex(dest, NMenuFont[2], r.x0 + 44, r.y0 + 16, -1, -1, "%d", brush.tile);
    textprintf_ex(dest, NMenuFont[2], r.x0 + 44, r.y0 + 30, -1, -1, "%s %s", brush.hflip ? "H" : "-",
                  brush.vflip ? "V" : "-");
  } else {
    textprintf_ex(dest, NMenuFont[2], r.x0 + 44, r.y0 + 22, -1, -1, "none");
  }
  const int rows = VisibleRows(camera.frame);
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < kColumns; ++col) {
      const int tile = (panel_scroll + row) * kColumns + col;
      if (tile >= tiles) return;
      const int x = r.x0 + 4 + col * kCellW + 2;
      const int y = r.y0 + kHeaderH + row * kCellH;
      rectfill(dest, x, y, x + 31, y + 31, kCellColour);
      if (tile > 0 && tileset[tile] != nullptr) draw_sprite(dest, tileset[tile], x, y);
      if (has_brush && brush.tile == tile) rect(dest, x - 1, y - 1, x + 32, y + 32, kBrushColour);
      textprintf_ex(dest, NMenuFont[2], x, y + 33, -1, -1, "%d", tile);
    }
  }
}
