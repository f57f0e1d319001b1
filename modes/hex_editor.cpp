#include "modes/hex_editor.h"

#include <algorithm>
#include <cstdio>

#include "bfa/bfa.h"
#include "editor/mode_qbr1leveleditor.h"
#include "gui/HelioWin.h"
#include "level/leveldata.h"
#include "level/rom_access.h"
#include "platform/dialogs.h"
#include "resources/skin.h"
#include "rom/image_edits.h"
#include "rom/image_transaction.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"
#include "shell/runtime/frame.h"

namespace {

constexpr int kBackground = 0x0F3F7F;
constexpr int kTextColour = 0xC0C0C0;
constexpr int kOffsetColour = 0x808080;
constexpr int kChangedColour = 0x8F4F00;
constexpr int kCursorColour = 0x606060;
constexpr int kPendingColour = 0xFFFF40;
constexpr int kBookmarkColour = 0x0B2F5F;

// The cursor's offset is kept between visits of the mode.
std::size_t remembered_offset = 0;

}  // namespace

std::vector<HexBookmark> QBR1_LevelBookmarks(int id) {
  leveldata lvl;
  Get_QBR1_LevelDataStruct(id, lvl);
  return {
      {"Level record", Get_QBR1_LevelRecord(id)},
      {"Tile map", lvl.tilemap},
      {"Object map", lvl.objects},
      {"Banana map", lvl.bananas},
      {"Palette", lvl.palette},
  };
}

HexEditor::HexEditor(int level_id) : bookmarks_(QBR1_LevelBookmarks(level_id)), level_id_(level_id) {
  cursor_.size = QBR1.size();
  cursor_.rows = std::max(1, ResourceViewFrame().AreaH() / kRowHeight);
  cursor_.GoTo(remembered_offset);
}

HexEditor::~HexEditor() {
  remembered_offset = cursor_.offset;
}

bool HexEditor::TypeDigit(int digit) {
  if (digit < 0 || digit > 15 || cursor_.size == 0) return false;
  if (pending_ < 0) {
    pending_ = digit;
    return false;
  }
  const unsigned char value = static_cast<unsigned char>(pending_ << 4 | digit);
  pending_ = -1;
  // The changed bytes are up to date before the write; the write can change
  // only its own byte's state, so only that byte is looked at again.
  RefreshChanges();
  const std::size_t at = cursor_.offset;
  const bool differs = at < QBR1.size() && static_cast<unsigned char>(QBR1[at]) != value;
  ImageTransaction edit(QBR1_Document(), "Byte " + HexText(at, 6));
  const bool written = QBR1_WriteByte(at, value);
  edit.Commit();
  if (written) NoteOwnWrite(at, differs);
  cursor_.Right();
  return written;
}

void HexEditor::AskAndGo() {
  const std::string answer = PlatformAskText("Go to Offset", "Image offset (hexadecimal):", HexText(cursor_.offset, 6));
  if (answer.empty()) return;
  unsigned long at = 0;
  if (!ParseHexNumber(answer, at) || at >= cursor_.size) {
    WarnBox("\"" + answer + "\" is not an offset inside the image (0x000000 to " +
                HexText(cursor_.size > 0 ? cursor_.size - 1 : 0, 6) + ").",
            "Go to Offset");
    return;
  }
  pending_ = -1;
  cursor_.GoTo(at);
}

void HexEditor::RefreshChanges() {
  const unsigned long long generation = QBR1_EditGeneration();
  const bool unsaved = QBR1_HasUnsavedEdits();
  const std::vector<unsigned char>& opened = QBR1_OpenedFile();
  if (generation == changed_generation_ && unsaved == changed_unsaved_ && opened.data() == changed_file_) return;
  changed_generation_ = generation;
  changed_unsaved_ = unsaved;
  changed_file_ = opened.data();
  changed_.assign(QBR1.size(), false);
  // What Save would write against the file as opened: the user's edits, never the in-memory corrections.
  const std::vector<unsigned char> saved = QBR1_SavedFileBytes();
  const std::size_t header = QBR1_HeaderSize();
  const std::size_t end = std::min(saved.size(), opened.size());
  for (std::size_t i = header; i < end; ++i)
    if (saved[i] != opened[i] && i - header < changed_.size()) changed_[i - header] = true;
}

void HexEditor::NoteOwnWrite(std::size_t at, bool differs) {
  // A write that changed the byte is a step of its own, so what Save writes
  // there is the new byte; one that wrote the same byte left no step.
  if (differs && at < changed_.size()) {
    const std::vector<unsigned char>& opened = QBR1_OpenedFile();
    const std::size_t in_file = QBR1_HeaderSize() + at;
    changed_[at] = in_file < opened.size() && opened[in_file] != static_cast<unsigned char>(QBR1[at]);
  }
  changed_generation_ = QBR1_EditGeneration();
  changed_unsaved_ = QBR1_HasUnsavedEdits();
}

bool HexEditor::Changed(std::size_t at) {
  RefreshChanges();
  return at < changed_.size() && changed_[at];
}

bool HexEditor::ByteAt(int px, int py, std::size_t& at) const {
  const ViewFrame area = ResourceViewFrame();
  if (!area.InArea(px, py)) return false;
  const int x = px - area.ox, y = py - area.oy - 2;
  if (y < 0) return false;
  int column = -1;
  if (x >= kHexX && x < kHexX + 16 * kByteW) column = (x - kHexX) / kByteW;
  else if (x >= kTextX && x < kTextX + 16 * 8) column = (x - kTextX) / 8;
  if (column < 0) return false;
  const std::size_t row = cursor_.top + static_cast<std::size_t>(y / kRowHeight);
  if (y / kRowHeight >= cursor_.rows) return false;
  const std::size_t offset = row * HexCursor::kRowBytes + static_cast<std::size_t>(column);
  if (offset >= cursor_.size) return false;
  at = offset;
  return true;
}

int HexEditor::BookmarkAt(int px, int py) const {
  const ViewFrame area = ResourceViewFrame();
  if (!area.InArea(px, py)) return -1;
  const int x = px - area.ox, y = py - area.oy - 16;
  if (x < kSideX || y < 0) return -1;
  const int index = y / kBookmarkH;
  return index < static_cast<int>(bookmarks_.size()) ? index : -1;
}

void HexEditor::MoveWith(void (HexCursor::*move)()) {
  pending_ = -1;
  (cursor_.*move)();
}

void HexEditor::Proc() {
  const int wheel = wheel_.Take();
  const bool ctrl = CtrlHeld(), alt = key[KEY_ALT] || key[KEY_ALTGR];
  const bool left = keys_.Repeat(KEY_LEFT), right = keys_.Repeat(KEY_RIGHT);
  const bool up = keys_.Repeat(KEY_UP), down = keys_.Repeat(KEY_DOWN);
  const bool page_up = keys_.Repeat(KEY_PGUP), page_down = keys_.Repeat(KEY_PGDN);
  const bool home = keys_.Pressed(KEY_HOME), end = keys_.Pressed(KEY_END);
  const bool go = keys_.Pressed(KEY_G);
  int digit = -1;
  // Both keys of a digit are polled every update, so neither keeps a stale press.
  for (int k = 0; k < 10; ++k) {
    const bool main_key = keys_.Pressed(KEY_0 + k);
    const bool pad_key = keys_.Pressed(KEY_0_PAD + k);
    if (main_key || pad_key) digit = k;
  }
  for (int k = 0; k < 6; ++k)
    if (keys_.Pressed(KEY_A + k)) digit = 10 + k;
  cursor_.size = QBR1.size();
  cursor_.SetRows(std::max(1, ResourceViewFrame().AreaH() / kRowHeight));
  const int click = clicks_.Left();
  if (!gate_.Open()) return;
  if (wheel != 0) cursor_.Scroll(-3LL * wheel);
  if (left) MoveWith(&HexCursor::Left);
  if (right) MoveWith(&HexCursor::Right);
  if (up) MoveWith(&HexCursor::Up);
  if (down) MoveWith(&HexCursor::Down);
  if (page_up) MoveWith(&HexCursor::PageUp);
  if (page_down) MoveWith(&HexCursor::PageDown);
  if (home) {
    pending_ = -1;
    cursor_.Home(ctrl);
  }
  if (end) {
    pending_ = -1;
    cursor_.End(ctrl);
  }
  if (ctrl && go) AskAndGo();
  if (digit >= 0 && !ctrl && !alt) TypeDigit(digit);
  if (click == 1) {
    std::size_t at = 0;
    const int bookmark = BookmarkAt(MouseX(), MouseY());
    if (bookmark >= 0) {
      pending_ = -1;
      cursor_.GoTo(static_cast<std::size_t>(std::max(0LL, bookmarks_[bookmark].offset)));
    } else if (ByteAt(MouseX(), MouseY(), at)) {
      pending_ = -1;
      cursor_.offset = at;
    }
  }
}

void HexEditor::Compose(BITMAP* view) const {
  clear_to_color(view, kBackground);
  const RomView rom = CurrentRom();
  char line[80];
  for (int r = 0; r < cursor_.rows; ++r) {
    const std::size_t row_start = (cursor_.top + static_cast<std::size_t>(r)) * HexCursor::kRowBytes;
    if (row_start >= cursor_.size) break;
    const int y = 2 + r * kRowHeight;
    std::snprintf(line, sizeof line, "%06zX", row_start);
    textout_ex(view, font, line, 4, y + 2, kOffsetColour, -1);
    char hex[16 * 3 + 1] = {};
    char text[17] = {};
    for (std::size_t i = 0; i < HexCursor::kRowBytes; ++i) {
      const std::size_t at = row_start + i;
      if (at >= cursor_.size) {
        hex[3 * i] = hex[3 * i + 1] = hex[3 * i + 2] = ' ';
        text[i] = ' ';
        continue;
      }
      const unsigned value = rom.Byte(static_cast<long long>(at));
      std::snprintf(hex + 3 * i, 4, "%02X ", value);
      text[i] = value >= 0x20 && value < 0x7F ? static_cast<char>(value) : '.';
      const int hx = kHexX + static_cast<int>(i) * kByteW, tx = kTextX + static_cast<int>(i) * 8;
      int shade = -1;
      if (at < changed_.size() && changed_[at]) shade = kChangedColour;
      if (at == cursor_.offset) shade = kCursorColour;
      if (shade >= 0) {
        rectfill(view, hx - 2, y, hx + 17, y + kRowHeight - 1, shade);
        rectfill(view, tx, y, tx + 7, y + kRowHeight - 1, shade);
      }
    }
    textout_ex(view, font, hex, kHexX, y + 2, kTextColour, -1);
    textout_ex(view, font, text, kTextX, y + 2, kTextColour, -1);
    if (pending_ >= 0 && cursor_.offset >= row_start && cursor_.offset < row_start + HexCursor::kRowBytes) {
      // The first digit of the byte being typed, over the byte's high digit.
      const int hx = kHexX + static_cast<int>(cursor_.offset - row_start) * kByteW;
      rectfill(view, hx, y, hx + 15, y + kRowHeight - 1, kCursorColour);
      std::snprintf(line, sizeof line, "%X_", pending_);
      textout_ex(view, font, line, hx, y + 2, kPendingColour, -1);
    }
  }
  // The side column: the current level's tables; a click moves there.
  if (NMenuFont[2])
    textout_ex(view, NMenuFont[2], ("Level " + HexText(static_cast<unsigned>(level_id_), 2)).c_str(), kSideX, 2, -1,
               -1);
  for (std::size_t b = 0; b < bookmarks_.size(); ++b) {
    const int y = 16 + static_cast<int>(b) * kBookmarkH;
    rectfill(view, kSideX, y, view->w - 4, y + kBookmarkH - 3, kBookmarkColour);
    if (NMenuFont[1]) textout_ex(view, NMenuFont[1], bookmarks_[b].name.c_str(), kSideX + 4, y + 1, -1, -1);
    textout_ex(view, font, HexText(static_cast<unsigned long long>(bookmarks_[b].offset), 6).c_str(), kSideX + 4,
               y + 14, kTextColour, -1);
  }
}

void HexEditor::Draw(BITMAP* dest) {
  const ViewFrame area = ResourceViewFrame();
  if (dest == nullptr || area.AreaW() <= 0 || area.AreaH() <= 0) return;
  RefreshChanges();
  const ViewKey key{QBR1_EditGeneration(), changed_unsaved_, cursor_.top, cursor_.offset, pending_, cursor_.rows};
  view_.Draw(dest, area, key, [this](BITMAP* view) { Compose(view); });
}

std::string HexEditor::Status() const {
  if (cursor_.size == 0) return "No image";
  const unsigned value = QBR1_Byte(static_cast<long long>(cursor_.offset));
  std::string text = "Offset " + HexText(cursor_.offset, 6) + " = " + HexText(value, 2);
  if (pending_ >= 0) text += " - typing";
  return text + " - " + HexText(cursor_.size, 6) + " bytes";
}

void HEX_EDITOR_SUBFUNCTION() { RunResourceMode<HexEditor>(currentlvlid); }
