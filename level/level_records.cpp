#include "level/level_records.h"

#include <cstdint>

#include "level/level_objects.h"
#include "level/rom_access.h"

namespace {

void PutWord(unsigned char* at, unsigned value) {
  at[0] = static_cast<unsigned char>(value & 0xFF);
  at[1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

unsigned QBR1_EncodeObjectX(int x, int level_x) { return static_cast<unsigned>(x + level_x) & 0xFFFF; }

int QBR1_DecodeObjectX(unsigned word, int level_x) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(word - static_cast<unsigned>(level_x)));
}

unsigned QBR1_EncodeObjectHeight(int y) { return static_cast<unsigned>(0x200 - y) & 0xFFFF; }

int QBR1_DecodeObjectHeight(unsigned word) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(0x200u - word));
}

void QBR1RawObject::SetPosition(int x, int y, int level_x) {
  PutWord(&bytes[2], QBR1_EncodeObjectX(x, level_x));
  PutWord(&bytes[4], QBR1_EncodeObjectHeight(y));
}

void QBR1RawObject::SetDefinition(unsigned zo) { PutWord(&bytes[6], zo & 0xFFFF); }

void QBR1RawBanana::SetPosition(int x, int y) {
  const unsigned units = static_cast<unsigned>(Clamp(y, 0, kQBR1BananaYMax) / 8);
  const unsigned px = static_cast<unsigned>(Clamp(x, 0, kQBR1BananaXMax));
  PutWord(&bytes[0], (Word0() & 0x3FF) | (units << 10));
  PutWord(&bytes[2], (Word2() & 0x3) | (px << 2));
}

long long QBR1_MapEntryOffset(const leveldata& lvl, int col, int row) {
  if (col < 0 || row < 0 || col >= lvl.tile_w || row >= lvl.tile_h) return -1;
  const long long base = lvl.tilemap;
  return lvl.sequencing == 0 ? base + 2LL * (16LL * col + row) : base + 2LL * (64LL * row + col);
}

long long QBR1_ShownEntryOffset(const leveldata& lvl, int col, int row) {
  const long long at = QBR1_MapEntryOffset(lvl, col, row);
  if (at < 0 || lvl.ID != kQBR1TwoMapLevel || QBR1_Word(at) != 0) return at;
  const long long under = at + lvl.size + 0x200;
  return QBR1_Word(under) != 0 ? under : at;
}

long long QBR1_EntryOffsetToWrite(const leveldata& lvl, int col, int row, unsigned word) {
  return word == 0 ? QBR1_ShownEntryOffset(lvl, col, row) : QBR1_MapEntryOffset(lvl, col, row);
}

std::vector<QBR1RawObject> QBR1_ReadRawObjects(const RomView& rom, long long offset) {
  std::vector<QBR1RawObject> out;
  for (int n = 0; n < kQBR1MaxObjectRecords && rom.Byte(offset) != 0; ++n, offset += 8) {
    QBR1RawObject r;
    for (int i = 0; i < 8; ++i) r.bytes[i] = static_cast<unsigned char>(rom.Byte(offset + i));
    out.push_back(r);
  }
  return out;
}

std::vector<QBR1RawBanana> QBR1_ReadRawBananas(const RomView& rom, long long offset) {
  std::vector<QBR1RawBanana> out;
  for (int n = 0; n < kQBR1MaxBananaGroups && (rom.Word(offset) & 0x3FE) != 0; ++n, offset += 4) {
    QBR1RawBanana r;
    for (int i = 0; i < 4; ++i) r.bytes[i] = static_cast<unsigned char>(rom.Byte(offset + i));
    out.push_back(r);
  }
  return out;
}
