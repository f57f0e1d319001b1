#include "modes/palette_editor.h"

#include <algorithm>
#include <cstdio>

#include "editor/level_switch.h"
#include "editor/mode_qbr1leveleditor.h"
#include "gui/HelioWin.h"
#include "gui/mode_table.h"
#include "level/ex_gfx_QBR1.h"
#include "level/rom_access.h"
#include "modes/colour15.h"
#include "platform/dialogs.h"
#include "resources/skin.h"
#include "rom/image_edits.h"
#include "rom/image_transaction.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"
#include "shell/runtime/frame.h"

namespace {

constexpr int kBackground = 0x0F3F7F;
constexpr int kRowShade = 0x0B2F5F;
constexpr int kGridDark = 0x020202;
constexpr int kGridLight = 0x0A0A0A;
constexpr int kHoverOutline = 0xFFFFFF;

std::string Digits(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
  return text;
}

}  // namespace

PaletteEditor::PaletteEditor(int level_id) {
  Get_QBR1_LevelDataStruct(level_id, lvl_);
  rows_ = QBR1_PaletteRows(lvl_);
}

PaletteEditor::~PaletteEditor() {
}

int PaletteEditor::VisibleRows() const { return std::max(1, ResourceViewFrame().AreaH() / kRowHeight); }

void PaletteEditor::SwatchRect(int row, int swatch, int& x, int& y, int& w, int& h) const {
  const ViewFrame area = ResourceViewFrame();
  const int cell = std::max(8, (area.AreaW() - kLabelWidth - 4) / 16);
  x = area.ox + kLabelWidth + swatch * cell;
  y = area.oy + 2 + (row - first_row_) * kRowHeight;
  w = cell - 4;
  h = kSwatchHeight;
}

bool PaletteEditor::SwatchAt(int px, int py, int& row, int& swatch) const {
  const ViewFrame area = ResourceViewFrame();
  if (!area.InArea(px, py)) return false;
  const int last = std::min(static_cast<int>(rows_.size()), first_row_ + VisibleRows());
  for (int r = first_row_; r < last; ++r)
    for (int s = 1; s < 16; ++s) {
      int x = 0, y = 0, w = 0, h = 0;
      SwatchRect(r, s, x, y, w, h);
      if (px >= x && px < x + w && py >= y && py < y + h) {
        row = r;
        swatch = s;
        return true;
      }
    }
  return false;
}

bool PaletteEditor::SetSwatch(int row, int swatch, const std::string& rrggbb) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return false;
  const long long at = rows_[row].Swatch(swatch);
  int r = 0, g = 0, b = 0;
  if (at < 0 || !ParseRrggbb(rrggbb, r, g, b)) return false;
  const unsigned old = QBR1_Word(at);
  // Bit 15 means nothing to the console; it is kept so the edit changes only the colour.
  const unsigned short value = static_cast<unsigned short>((old & 0x8000) | Colour15FromRgb(r, g, b));
  if (value == old) return false;
  // A palette serves every level of its theme, and an undo made here should
  // stay here: the edit names no level, so undoing it does not switch modes.
  ImageTransaction edit(QBR1_Document(), "Palette " + HexText(static_cast<unsigned long long>(at), 6));
  const bool written = QBR1_WriteWord(static_cast<std::size_t>(at), value);
  edit.Commit();
  if (!written)
    ErrorBox("The colour at " + HexText(static_cast<unsigned long long>(at), 6) + " lies outside the image.",
             "Palette Editor");
  return written;
}

bool PaletteEditor::EditSwatch(int row, int swatch) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return false;
  const long long at = rows_[row].Swatch(swatch);
  if (at < 0) return false;
  const std::string answer = PlatformChooseColour(
      "Colour " + std::to_string(swatch) + " at " + HexText(static_cast<unsigned long long>(at), 6),
      RrggbbOfColour15(static_cast<unsigned short>(QBR1_Word(at))));
  if (answer.empty()) return false;
  return SetSwatch(row, swatch, answer);
}

void PaletteEditor::Proc() {
  const int wheel = wheel_.Take();
  const bool up = keys_.Repeat(KEY_UP), down = keys_.Repeat(KEY_DOWN);
  const int click = clicks_.Left();
  hover_row_ = hover_swatch_ = -1;
  if (!gate_.Open()) return;
  const int last_first = std::max(0, static_cast<int>(rows_.size()) - VisibleRows());
  first_row_ = std::clamp(first_row_ - wheel + (down ? 1 : 0) - (up ? 1 : 0), 0, last_first);
  int row = 0, swatch = 0;
  if (SwatchAt(MouseX(), MouseY(), row, swatch)) {
    hover_row_ = row;
    hover_swatch_ = swatch;
    if (click == 1) EditSwatch(row, swatch);
  }
  if (SwitchLevelStep(key[KEY_PGUP], key[KEY_PGDN], currentlvlid, pressdelay)) RequestMode(Mode::PaletteEditor);
}

void PaletteEditor::Compose(BITMAP* view) const {
  const ViewFrame area = ResourceViewFrame();
  clear_to_color(view, kBackground);
  FONT* label = NMenuFont[2];
  FONT* small = NMenuFont[1];
  const int last = std::min(static_cast<int>(rows_.size()), first_row_ + VisibleRows());
  for (int r = first_row_; r < last; ++r) {
    const PaletteRow& row = rows_[r];
    const int top = 2 + (r - first_row_) * kRowHeight;
    if ((r & 1) != 0) rectfill(view, 0, top - 2, view->w - 1, top + kRowHeight - 3, kRowShade);
    if (label) textout_ex(view, label, row.name.c_str(), 4, top, -1, -1);
    if (small)
      textout_ex(view, small, HexText(static_cast<unsigned long long>(row.Start()), 6).c_str(), 4, top + 13, -1, -1);
    for (int s = 0; s < 16; ++s) {
      int x = 0, y = 0, w = 0, h = 0;
      SwatchRect(r, s, x, y, w, h);
      x -= area.ox;
      y -= area.oy;
      const long long at = row.Swatch(s);
      if (at < 0) {
        // The transparent colour: the grid of the level view shows through.
        for (int k = 0; k < w; k += 4)
          rectfill(view, x + k, y, std::min(x + k + 3, x + w - 1), y + h - 1, ((k / 4) & 1) ? kGridLight : kGridDark);
        continue;
      }
      const unsigned value = QBR1_Word(at);
      rectfill(view, x, y, x + w - 1, y + h - 1, static_cast<int>(QBR1_Colour(value) & 0xFFFFFF));
      if (r == hover_row_ && s == hover_swatch_) rect(view, x - 1, y - 1, x + w, y + h, kHoverOutline);
      if (small) textout_ex(view, small, Digits(value).c_str(), x, y + h + 1, -1, -1);
    }
  }
}

void PaletteEditor::Draw(BITMAP* dest) {
  view_.Draw(dest, ResourceViewFrame(), ViewKey{QBR1_EditGeneration(), first_row_, hover_row_, hover_swatch_},
             [this](BITMAP* view) { Compose(view); });
}

std::string PaletteEditor::Status() const {
  std::string text = "Level " + HexText(static_cast<unsigned>(lvl_.ID), 2) + " - " + lvl_.name;
  if (hover_row_ >= 0) {
    const long long at = rows_[hover_row_].Swatch(hover_swatch_);
    const unsigned value = QBR1_Word(at);
    text += " - " + HexText(static_cast<unsigned long long>(at), 6) + ": " + HexText(value, 4) + " " +
            RrggbbOfColour15(static_cast<unsigned short>(value));
  }
  return text;
}

void PALETTE_EDITOR_SUBFUNCTION() { RunResourceMode<PaletteEditor>(currentlvlid); }
